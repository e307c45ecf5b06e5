#pragma once

#include "ActivityWindow.h"
#include "CommandLibrary.h"
#include "NumericEntry.h"

class MaskedEdit;
class QLabel;
class QPushButton;
class SpinButton;
class StatusPollTimer;
class ControlPanel;

// The calibration window: tells the logger the true level of a reference tone
// at its microphone, or the true ambient temperature, and reports the logger's
// verdict. The logger corrects itself.
class SysCalForm : public ActivityWindow {
    Q_OBJECT
public:
    enum Mode : qint16 { SystemMode = 0, TemperatureMode = 1, FactoryMode = 2 };

    explicit SysCalForm(ControlPanel* panel);

    void initialise(qint16 mode);
    // What the main window's calibration and temperature controls run:
    // initialise, then show once the current request run has ended.
    void open(qint16 mode);

    void calibrate_logger();         // request 9, "S"
    void calibrate_temperature();    // request 24, "K"
    void calibrate_logger_factory(); // request 33, "t"

    qint16 mode() const { return m_mode; }
    float lowerLimit() const { return m_lower; }
    float upperLimit() const { return m_upper; }

private:
    // Controls; tests and outside checks find them by objectName.
    QLabel* const TitleLabel;
    MaskedEdit* const ReferenceText;
    SpinButton* const ReferenceSpin;
    QLabel* const Sys1Label;
    QLabel* const Sys2Label;
    QLabel* const Sys3Label;
    QLabel* const Temp1Label;
    QLabel* const Temp2Label;
    QPushButton* const CalibrateButton;
    QPushButton* const CancelButton;
    StatusPollTimer* const SyscalTimer;

public:
    // How long the logger's verdict on a system calibration is waited for.
    Logger::CalibrationPoll verdictPoll;

private:
    using SystemCommand = Logger::CalibrationVerdict (*)(qint16, Logger::CalibrationPoll);

    void buildControls();
    void setEntryEnabled(bool enabled);
    // The entry and both buttons, for the time the logger's verdict is awaited.
    void setControlsEnabled(bool enabled);
    // The entry checked against the limits: corrected, with the message.
    EntryCheck checkEntry();
    void entryLeft();
    void spin(bool up);
    void systemCalibration(SystemCommand command, bool wakeFirst);
    bool loggerAwake();
    qint16 m_mode = SystemMode;
    float m_lower = 60.0f;
    float m_upper = 120.0f;
};
