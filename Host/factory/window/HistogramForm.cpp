#include "HistogramForm.h"

#include "ControlPanel.h"
#include "NamedWidget.h"
#include "RequestCodes.h"
#include "RequestQueue.h"
#include "frmMessage.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

HistogramForm::HistogramForm(ControlPanel* panel)
    : ActivityWindow(panel), Command1(NamedButton("Command1", "Get Histogram", this)),
      Command2(NamedButton("Command2", "Process Data", this)),
      Command3(NamedButton("Command3", "Reset Screen", this)),
      Command4(NamedButton("Command4", "Switch Buffers", this)),
      Progress(Named(new QLineEdit(this), "Progress")), m_rows(new QGridLayout) {
    setObjectName("HistogramForm");
    setWindowTitle("Histogram");
    Progress->setReadOnly(true);
    Progress->setAccessibleName("Progress");
    Bin << NamedLabel("Bin0", QString(), this);
    Value << NamedLabel("Value0", QString(), this);
    m_rows->addWidget(Bin[0], 0, 0);
    m_rows->addWidget(Value[0], 0, 1);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {Command1, Command2, Command3, Command4})
        buttons->addWidget(button);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(Progress);
    layout->addLayout(m_rows);
    layout->addStretch();

    connect(Command1, &QPushButton::clicked, this, [] { PostRequest(Request::GetHistogram); });
    connect(Command2, &QPushButton::clicked, this, &HistogramForm::processData);
    connect(Command3, &QPushButton::clicked, this, &HistogramForm::resetScreen);
    connect(Command4, &QPushButton::clicked, this, [] { PostRequest(Request::SwitchBuffers); });
    registerRequest(Request::GetHistogram, [this](qint16) { get_histogram(); });
    hideOnUnlink();
}

void HistogramForm::showEvent(QShowEvent* event) {
    // Switch Buffers is carried out by the command library's own request.
    Command4->setEnabled(RequestIsRegistered(Request::SwitchBuffers));
    ActivityWindow::showEvent(event);
}

void HistogramForm::setProgress(const QString& text) {
    Progress->setText(text);
    Progress->repaint();
}

void HistogramForm::get_histogram() {
    const int failed =
        Logger::GetHistogram(m_counts, [this](int bin) { setProgress(QString::number(bin)); });
    if (failed != 0) {
        // Progress is left on the bin, so that the staff see where it stopped.
        ShowMessage("Histogram bin " + QString::number(failed) + " could not be read.", 0, "Orv");
        return;
    }
    setProgress("Done");
}

void HistogramForm::showRow(int row, const ListedBin& listed) {
    Bin[row]->setText(QString::number(listed.bin));
    Value[row]->setText(QString::number(listed.count));
}

void HistogramForm::processData() {
    // A second Process Data replaces the list rather than loading rows twice.
    resetScreen();
    const QList<ListedBin> listed = ListNonZeroBins(m_counts);
    if (listed.isEmpty()) {
        ShowMessage("beep", 0, "beep");
        return;
    }
    showRow(0, listed[0]);
    for (int row = 1; row < listed.size(); ++row) {
        Bin << NamedLabel(QStringLiteral("Bin%1").arg(row), QString(), this);
        Value << NamedLabel(QStringLiteral("Value%1").arg(row), QString(), this);
        m_rows->addWidget(Bin[row], row, 0);
        m_rows->addWidget(Value[row], row, 1);
        showRow(row, listed[row]);
        m_rowCount = row;
    }
}

void HistogramForm::resetScreen() {
    while (Bin.size() > 1) {
        delete Bin.takeLast();
        delete Value.takeLast();
    }
    m_rowCount = 0;
    Bin[0]->clear();
    Value[0]->clear();
}
