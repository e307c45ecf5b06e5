#pragma once

#include "ActivityWindow.h"

class QFrame;
class QLabel;
class QPushButton;
class QTimer;
class StatusPollTimer;
class ControlPanel;

// "Current Logging Settings...": the settings of the running buffer in words,
// with an estimate of how long the logger can go on logging.
class frmDetails : public ActivityWindow {
    Q_OBJECT
public:
    explicit frmDetails(ControlPanel* panel);

    // Request 13: reads the last buffer's settings, describes them and shows
    // the window.
    void Display();

private:
    // Controls; tests and outside checks find them by objectName.
    QFrame* const pnlSummary;
    QLabel* const lblReference;
    QLabel* const lblLife;
    QLabel* const lblLimitedBy;
    QLabel* const Label2;
    QLabel* const Label3;
    QPushButton* const cmdClose;

public:
    // The status-poll timer, for tests: it has no parent to be found by name.
    QTimer& tmrSummary();

private:
    void buildControls();
    StatusPollTimer* const m_pollTimer;
};
