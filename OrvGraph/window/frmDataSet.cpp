#include "frmDataSet.h"

#include "DialogButtons.h"
#include "LineStyleControls.h"
#include "frmEditDataSet.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

frmDataSet::frmDataSet(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmDataSet"));
    setWindowTitle(QStringLiteral("Current Data Sets"));
    m_lineStyle = new frmEditDataSet(this);
    auto* layout = new QVBoxLayout(this);
    auto* info = new QLabel(QStringLiteral("Double-Click the sample box to edit."), this);
    info->setObjectName(QStringLiteral("lblInfo"));
    layout->addWidget(info);
    auto* rows = new QWidget(this);
    m_rows = new QGridLayout(rows);
    m_rows->setVerticalSpacing(0);
    layout->addWidget(rows);
    QDialogButtonBox* buttons = OkCancelButtons(this);
    layout->addWidget(buttons);
    // The window's height follows the rows.
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

bool frmDataSet::edit(QList<DataSet>& sets) {
    for (qsizetype i = 0; i < sets.size(); ++i) {
        const DataSet& set = sets[i];
        auto* check = new QCheckBox(set.name, m_rows->parentWidget());
        check->setObjectName(QStringLiteral("chkData%1").arg(i));
        check->setChecked(set.shown);
        auto* sample = new LineSample(m_rows->parentWidget());
        sample->setObjectName(QStringLiteral("pbxSample%1").arg(i));
        sample->setLine(set.style, set.weight, QColor(set.colour));
        sample->setAccessibleName(set.name + QStringLiteral(" line"));
        connect(sample, &LineSample::activated, this, [this, sample] { editSample(sample); });
        m_rows->addWidget(check, int(i), 0);
        m_rows->addWidget(sample, int(i), 1);
        chkData << check;
        pbxSample << sample;
    }
    const bool accepted = exec() == QDialog::Accepted;
    if (accepted) {
        for (qsizetype i = 0; i < sets.size(); ++i) {
            sets[i].shown = chkData[i]->isChecked();
            sets[i].style = pbxSample[i]->style();
            sets[i].weight = pbxSample[i]->weight();
            sets[i].colour = pbxSample[i]->colour().rgb();
        }
    }
    removeRows();
    return accepted;
}

void frmDataSet::editSample(LineSample* sample) {
    int style = sample->style();
    int weight = sample->weight();
    QColor colour = sample->colour();
    if (m_lineStyle->edit(style, weight, colour)) {
        const QString name = sample->accessibleName();
        sample->setLine(style, weight, colour);
        sample->setAccessibleName(name);
    }
}

void frmDataSet::removeRows() {
    qDeleteAll(chkData);
    qDeleteAll(pbxSample);
    chkData.clear();
    pbxSample.clear();
}
