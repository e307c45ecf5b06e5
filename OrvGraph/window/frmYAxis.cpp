#include "frmYAxis.h"

#include "DialogButtons.h"
#include "FieldConversions.h"
#include "LineStyleControls.h"
#include "Messages.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

struct FieldText {
    const char* name;
    const char* caption;
    const char* invalid;
};

constexpr FieldText kFields[] = {
    {"Min", "Minimum Value :", "Invalid value for the minimum value."},
    {"Max", "Maximum Value :", "Invalid value for the maximum value."},
    {"Major", "Major Scale :", "Invalid value for the major value."},
    {"Minor", "Minor Scale :", "Invalid value for the minor value."},
};

} // namespace

frmYAxis::frmYAxis(const QLocale& locale, QWidget* parent) : QDialog(parent), m_locale(locale) {
    m_locale.setNumberOptions(QLocale::OmitGroupSeparator);
    setObjectName(QStringLiteral("frmYAxis"));
    setWindowTitle(QStringLiteral("Y-Axis Properties"));
    auto* layout = new QGridLayout(this);
    auto* heading = new QLabel(QStringLiteral("Auto"), this);
    heading->setObjectName(QStringLiteral("lblAuto"));
    layout->addWidget(heading, 0, 0);
    for (int i = 0; i < FieldCount; ++i) {
        const QString name = QString::fromLatin1(kFields[i].name);
        m_auto[i] = new QCheckBox(QString::fromLatin1(kFields[i].caption), this);
        m_auto[i]->setObjectName(QStringLiteral("chk") + name);
        m_text[i] = new QLineEdit(this);
        m_text[i]->setObjectName(QStringLiteral("txt") + name);
        m_text[i]->setAccessibleName(QString::fromLatin1(kFields[i].caption).chopped(2));
        // A value typed in is meant to be used.
        connect(m_text[i], &QLineEdit::textEdited, m_auto[i],
                [box = m_auto[i]] { SetCheck(box, false); });
        layout->addWidget(m_auto[i], i + 1, 0);
        layout->addWidget(m_text[i], i + 1, 1);
    }
    chkRound = new QCheckBox(QStringLiteral("Round off scale."), this);
    chkRound->setObjectName(QStringLiteral("chkRound"));
    layout->addWidget(chkRound, FieldCount + 1, 0, 1, 2);

    m_major = new GridGroup(QStringLiteral("Major Gridlines"), QStringLiteral("Major"), this);
    m_minor = new GridGroup(QStringLiteral("Minor Gridlines"), QStringLiteral("Minor"), this);
    layout->addWidget(m_major, 0, 2, FieldCount + 2, 1);
    layout->addWidget(m_minor, 0, 3, FieldCount + 2, 1);

    QDialogButtonBox* buttons = OkCancelButtons(this);
    layout->addWidget(buttons, FieldCount + 2, 0, 1, 4);
}

void frmYAxis::SetCheck(QCheckBox* box, bool flag) {
    box->setChecked(flag);
}

bool frmYAxis::edit(LevelAxis& axis) {
    const float values[FieldCount] = {axis.min, axis.max, axis.majorStep, axis.minorStep};
    const bool automatic[FieldCount] = {axis.autoMin, axis.autoMax, axis.autoMajor, axis.autoMinor};
    for (int i = 0; i < FieldCount; ++i) {
        m_text[i]->setText(m_locale.toString(double(values[i]), 'g', 6));
        SetCheck(m_auto[i], automatic[i]);
    }
    SetCheck(chkRound, axis.roundOff);
    m_major->setGridStyle(axis.majorGrid);
    m_minor->setGridStyle(axis.minorGrid);
    if (exec() != QDialog::Accepted)
        return false;

    axis.autoMin = m_auto[Min]->isChecked();
    axis.autoMax = m_auto[Max]->isChecked();
    axis.autoMajor = m_auto[Major]->isChecked();
    axis.autoMinor = m_auto[Minor]->isChecked();
    axis.roundOff = chkRound->isChecked();
    float* targets[FieldCount] = {&axis.min, &axis.max, &axis.majorStep, &axis.minorStep};
    for (int i = 0; i < FieldCount; ++i) {
        if (const std::optional<double> v = value(Field(i)))
            *targets[i] = float(*v);
    }
    axis.majorGrid = m_major->gridStyle();
    axis.minorGrid = m_minor->gridStyle();
    return true;
}

std::optional<double> frmYAxis::value(Field field) const {
    const std::optional<double> v = parseTypedNumber(m_text[field]->text(), m_locale);
    if (v && std::isfinite(*v))
        return v;
    return std::nullopt;
}

void frmYAxis::refuse(Field field, const QString& message) {
    Messages::show(this, Messages::kTitle, message, QMessageBox::Warning);
    m_text[field]->selectAll();
    m_text[field]->setFocus();
}

void frmYAxis::accept() {
    std::optional<double> v[FieldCount];
    for (int i = 0; i < FieldCount; ++i) {
        if (m_auto[i]->isChecked())
            continue;
        v[i] = value(Field(i));
        // A step of nothing or less would never reach the end of the axis.
        const bool isStep = i == Major || i == Minor;
        if (!v[i] || (isStep && *v[i] <= 0.0)) {
            refuse(Field(i), QString::fromLatin1(kFields[i].invalid));
            return;
        }
    }
    if (v[Min] && v[Max] && *v[Max] <= *v[Min]) {
        refuse(Min, QStringLiteral("Minimum value must be less than the maximum value."));
        return;
    }
    if (v[Major] && v[Minor] && *v[Major] <= *v[Minor]) {
        refuse(Minor, QStringLiteral("Minor scale value must be less than the major scale value."));
        return;
    }
    QDialog::accept();
}
