#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;
class QTimer;
class StatusPollTimer;
class ControlPanel;

// "Current Logging Settings...": the settings of the running buffer in words,
// with an estimate of how long the logger can go on logging.
class frmDetails : public QDialog {
    Q_OBJECT
public:
    explicit frmDetails(ControlPanel* panel);
    ~frmDetails() override;

    // Request 13: reads the last buffer's settings, describes them and shows
    // the window.
    void Display();

    QFrame* const pnlSummary;
    QLabel* const lblReference;
    QLabel* const lblLife;
    QLabel* const lblLimitedBy;
    QLabel* const Label2;
    QLabel* const Label3;
    QPushButton* const cmdClose;
    QTimer& tmrSummary();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void buildControls();

    ControlPanel* const m_panel;
    StatusPollTimer* const m_pollTimer;
};
