#pragma once

#include "ActivityWindow.h"
#include "LoggingSetup.h"

class LoggingForm;
class QFrame;
class QLabel;
class QPushButton;
class StatusPollTimer;
class ControlPanel;
class frmReference;

// "Logging Settings Summary": the run about to start in words, with the
// estimated logger life; OK goes on to the reference reading and the start.
class frmSummary : public ActivityWindow {
    Q_OBJECT
public:
    frmSummary(ControlPanel* panel, LoggingForm* logging);
    void setReferenceWindow(frmReference* reference) { m_reference = reference; }

    // Fills the labels from the set-up and sizes the window to them; freeMemory
    // in bytes, battery in tenths of a volt, as the control panel holds them.
    void showSetup(const LoggingSetup& setup, qint32 freeMemory, qint16 battery);
    // The reference reading before logging, then the start.
    void GetPreReference();
    // Sends the set-up with "Q".
    void Go();

private:
    // Controls; tests and outside checks find them by objectName.
    QFrame* const pnlSummary;
    QLabel* const lblReference;
    QLabel* const lblLife;
    QLabel* const lblLimitedBy;
    QLabel* const lblOK;
    QLabel* const lblCancel;
    QPushButton* const cmdOK;
    QPushButton* const cmdCancel;
    StatusPollTimer* const tmrSummary;

private:
    LoggingForm* const m_logging;
    frmReference* m_reference = nullptr;
};
