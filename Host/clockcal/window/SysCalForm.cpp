#include "SysCalForm.h"

#include "ControlPanel.h"
#include "HostSettings.h"
#include "LoggerSession.h"
#include "MaskedEdit.h"
#include "NamedWidget.h"
#include "NumericEntry.h"
#include "RequestCodes.h"
#include "RequestQueue.h"
#include "SpinButton.h"
#include "StatusPollTimer.h"
#include "WindowPlacement.h"
#include "frmMessage.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>
#include <optional>

namespace {

constexpr auto EntryPattern = "#00.0";
constexpr float SpinStep = 0.1f;
// The logger's modem link is too slow for the verdict poll.
constexpr qint16 ModemLink = 2;

struct ModeSetting {
    const char* caption = {};
    const char* entryCaption = {};
    const char* section = {};
    float initial = {};
    float lower = {};
    float upper = {};
    qint16 request = {};
};

std::optional<ModeSetting> SettingOf(qint16 mode) {
    switch (mode) {
    case SysCalForm::SystemMode:
        return ModeSetting{"System Calibration...",
                           "Reference Level :",
                           HostSettings::SysCal,
                           94.0f,
                           60.0f,
                           120.0f,
                           Request::Calibrate};
    case SysCalForm::TemperatureMode:
        return ModeSetting{"Temperature Calibration...",
                           "Temperature :",
                           HostSettings::TempCal,
                           20.0f,
                           5.0f,
                           99.0f,
                           Request::CalibrateTemperature};
    case SysCalForm::FactoryMode:
        return ModeSetting{"Factory System Calibration...",
                           "Reference Level :",
                           HostSettings::SysCal,
                           94.0f,
                           60.0f,
                           120.0f,
                           Request::CalibrateFactory};
    default:
        return std::nullopt;
    }
}

// The value last calibrated against, when it is a number within the limits.
float StoredReference(const ModeSetting& setting) {
    bool ok = false;
    const float value = HostSettings::Read(setting.section, HostSettings::Key::Reference, QString())
                            .trimmed()
                            .toFloat(&ok);
    return ok && value >= setting.lower && value <= setting.upper ? value : setting.initial;
}

// The logger takes the value in tenths.
qint16 Tenths(const QString& text) {
    return qint16(std::lround(text.toDouble() * 10));
}

// What happened and what to check when the logger took the value but never
// said whether the calibration passed.
QString NoVerdictText(const Logger::CalibrationPoll& poll) {
    const qint64 seconds = (qint64(poll.askWait) * poll.asks + 999) / 1000;
    return QString("System calibration failed.\r\rThe logger gave no result within %1 seconds.\r\r"
                   "Please check the cable to the logger, and that a steady\r"
                   "reference tone is applied to the microphone, then calibrate again.")
        .arg(seconds);
}

QLabel* Instruction(const char* name, const char* caption, QWidget* parent) {
    QLabel* label = NamedLabel(name, caption, parent);
    label->setAccessibleName(caption);
    return label;
}

} // namespace

SysCalForm::SysCalForm(ControlPanel* panel)
    : ActivityWindow(panel), TitleLabel(NamedLabel("TitleLabel", "Reference Level :", this)),
      ReferenceText(Named(new MaskedEdit(EntryPattern, this), "ReferenceText")),
      ReferenceSpin(Named(new SpinButton("Reference Level", this), "ReferenceSpin")),
      Sys1Label(Instruction("Sys1Label", "1. Apply reference signal to the microphone.", this)),
      Sys2Label(Instruction("Sys2Label", "2. Enter reference level in box below.", this)),
      Sys3Label(Instruction("Sys3Label", "3. Press the calibrate button.", this)),
      Temp1Label(Instruction("Temp1Label", "1. Enter temperature in the box below.", this)),
      Temp2Label(Instruction("Temp2Label", "2. Press the calibrate button.", this)),
      CalibrateButton(NamedButton("CalibrateButton", "Calibrate", this)),
      CancelButton(NamedButton("CancelButton", "Cancel", this)),
      SyscalTimer(Named(pollStatusWhileShown(), "SyscalTimer")) {
    setObjectName("SysCalForm");
    setWindowModality(Qt::ApplicationModal);
    buildControls();
    initialise(SystemMode);

    connect(ReferenceText, &MaskedEdit::left, this, &SysCalForm::entryLeft);
    connect(ReferenceSpin, &SpinButton::SpinUp, this, [this] { spin(true); });
    connect(ReferenceSpin, &SpinButton::SpinDown, this, [this] { spin(false); });
    connect(CalibrateButton, &QPushButton::clicked, this, [this] {
        const std::optional<ModeSetting> setting = SettingOf(m_mode);
        if (!setting)
            return;
        setEntryEnabled(false);
        QApplication::setOverrideCursor(Qt::WaitCursor);
        PostRequest(setting->request);
        QApplication::restoreOverrideCursor();
        setEntryEnabled(true);
    });
    connect(CancelButton, &QPushButton::clicked, this, [this] {
        if (do_cancel("Are you sure you want to cancel this operation?",
                      "Cancel system calibration..."))
            hide();
    });
    registerRequest(Request::Calibrate, [this](qint16) { calibrate_logger(); });
    registerRequest(Request::CalibrateTemperature, [this](qint16) { calibrate_temperature(); });
    registerRequest(Request::CalibrateFactory, [this](qint16) { calibrate_logger_factory(); });
    hideOnUnlink();
    cancelWith(CancelButton);
    disablePanelWhileShown();
}

void SysCalForm::buildControls() {
    TitleLabel->setBuddy(ReferenceText);
    auto* entry = new QHBoxLayout;
    entry->addWidget(TitleLabel);
    entry->addWidget(ReferenceText);
    entry->addWidget(ReferenceSpin);
    entry->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CalibrateButton);
    buttons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    for (QLabel* label : {Sys1Label, Sys2Label, Sys3Label, Temp1Label, Temp2Label})
        layout->addWidget(label);
    layout->addLayout(entry);
    layout->addLayout(buttons);
    CalibrateButton->setDefault(true);
    setTabOrder(ReferenceText, ReferenceSpin);
    setTabOrder(ReferenceSpin, CalibrateButton);
    setTabOrder(CalibrateButton, CancelButton);
}

void SysCalForm::initialise(qint16 mode) {
    m_mode = mode;
    const bool system = mode == SystemMode || mode == FactoryMode;
    for (QLabel* label : {Sys1Label, Sys2Label, Sys3Label})
        label->setVisible(system);
    for (QLabel* label : {Temp1Label, Temp2Label})
        label->setVisible(mode == TemperatureMode);
    const std::optional<ModeSetting> setting = SettingOf(mode);
    if (!setting)
        return;
    ReferenceText->setText(FormatRealField(StoredReference(*setting), EntryPattern));
    setWindowTitle(setting->caption);
    TitleLabel->setText(setting->entryCaption);
    // Read out as the caption beside it says, without the colon.
    const QString spoken = QString(setting->entryCaption).remove(':').trimmed();
    ReferenceText->setAccessibleName(spoken);
    ReferenceSpin->setAccessibleName(spoken);
    ReferenceSpin->upButton->setAccessibleName(spoken + " up");
    ReferenceSpin->downButton->setAccessibleName(spoken + " down");
    m_lower = setting->lower;
    m_upper = setting->upper;
    adjustSize();
    PlaceCentred(this, controlPanel()->panelWindow());
}

void SysCalForm::open(qint16 mode) {
    initialise(mode);
    ParkWindow([this] { show(); });
}

void SysCalForm::setEntryEnabled(bool enabled) {
    for (QWidget* control :
         std::initializer_list<QWidget*>{TitleLabel, ReferenceText, ReferenceSpin, Sys1Label,
                                         Sys2Label, Sys3Label, Temp1Label, Temp2Label})
        control->setEnabled(enabled);
}

void SysCalForm::setControlsEnabled(bool enabled) {
    setEntryEnabled(enabled);
    CalibrateButton->setEnabled(enabled);
    CancelButton->setEnabled(enabled);
}

EntryCheck SysCalForm::checkEntry() {
    const EntryCheck check =
        ValidateRealField(ReferenceText->Text(), m_lower, m_upper, EntryPattern);
    ReferenceText->setText(check.text);
    if (!check.message.isEmpty())
        ShowMessage(check.message, 0, check.title);
    return check;
}

void SysCalForm::entryLeft() {
    // A value outside the limits never leaves its field.
    if (isVisible() && !checkEntry().acceptable)
        QTimer::singleShot(0, ReferenceText, [this] { ReferenceText->setFocus(); });
}

void SysCalForm::spin(bool up) {
    bool ok = false;
    ReferenceText->Text().trimmed().toFloat(&ok);
    if (ok)
        ReferenceText->setText(
            up ? StepRealUp(ReferenceText->Text(), m_upper, m_upper, SpinStep, EntryPattern)
               : StepRealDown(ReferenceText->Text(), m_lower, m_lower, SpinStep, EntryPattern));
    SelectAllText(*ReferenceText);
}

bool SysCalForm::loggerAwake() {
    if (WakeLogger())
        return true;
    controlPanel()->instant_unlink();
    return false;
}

void SysCalForm::systemCalibration(SystemCommand command, bool wakeFirst) {
    if (Session().method == ModemLink) {
        ShowMessage("System calibration needs a direct cable link to the logger.", 0,
                    "Orvane Instruments");
        return;
    }
    if (wakeFirst && !loggerAwake())
        return;
    const QString text = checkEntry().text.trimmed();
    // The wait lets the window run: nothing may cancel or restart it halfway.
    setControlsEnabled(false);
    const Logger::CalibrationVerdict verdict = command(Tenths(text), verdictPoll);
    setControlsEnabled(true);
    // Without a verdict the value is not known to be the one the logger uses.
    if (verdict != Logger::CalibrationVerdict::Silent)
        HostSettings::Write(HostSettings::SysCal, HostSettings::Key::Reference, text);
    if (verdict != Logger::CalibrationVerdict::Passed) {
        if (verdict == Logger::CalibrationVerdict::Failed)
            ShowMessage("System calibration failed.\r\rPlease ensure that a steady reference\r"
                        "tone is applied to the microphone.\r\rAll changes cancelled.",
                        0, "Orv");
        else
            ShowMessage(NoVerdictText(verdictPoll), 0, "Orv");
        if (!loggerAwake())
            return;
    }
    hide();
}

void SysCalForm::calibrate_logger() {
    systemCalibration(&Logger::CalibrateSystem, false);
}

void SysCalForm::calibrate_logger_factory() {
    systemCalibration(&Logger::CalibrateFactory, true);
}

void SysCalForm::calibrate_temperature() {
    const QString text = checkEntry().text.trimmed();
    if (!loggerAwake())
        return;
    HostSettings::Write(HostSettings::TempCal, HostSettings::Key::Reference, text);
    const qint16 tenths = Tenths(text);
    Logger::CalibrateTemperature(tenths); // the answer is not examined
    controlPanel()->showTemperature(tenths);
    hide();
}
