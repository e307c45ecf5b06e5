#pragma once

#include "ActivityWindow.h"

class FillPanel;
class QFrame;
class QLabel;
class QPushButton;
class QTimer;
class StatusPollTimer;
class ControlPanel;

// "Please verify the reference level...": measures the reference tone at the
// microphone before logging starts or after it stops, and lets the operator
// accept the level, take it again, or (before logging) go back.
class frmReference : public ActivityWindow {
    Q_OBJECT
public:
    explicit frmReference(ControlPanel* panel);

    // 0 when the operator accepted the level, 1 when he went back.
    qint16 result = 1;
    // Tenths of a decibel; -1 when no reading could be taken.
    qint32 level = -1;

    // Takes a fresh reading and shows it: five "Get SPL" a quarter second apart.
    void GetReference();
    // After logging has stopped the reading can only be accepted: no Cancel,
    // and no words about commencing logging. false restores the usual window.
    void setPostMeasurement(bool post);
    // Shows the window modally, a reading being taken as it appears, and gives
    // `result` once the operator has answered.
    int runModal();

private:
    // Controls; tests and outside checks find them by objectName.
    FillPanel* const pnlDone;
    QLabel* const lblMeasuring;
    QLabel* const lblReference;
    QLabel* const lblLevel;
    QLabel* const lblOK;
    QLabel* const lblCancel;
    QLabel* const lblRetake;
    QLabel* const lblRemove;
    QPushButton* const cmdOK;
    QPushButton* const cmdRetake;
    QPushButton* const cmdCancel;
    QFrame* const pnlInfo;
    QFrame* const pnlProgress;

public:
    // The status-poll timer, for tests: it has no parent to be found by name.
    QTimer& tmrReference();

protected:
    void showEvent(QShowEvent* event) override;

private:
    enum Pending : qint16 { None = 0, Retake = 1, Close = 2 };
    void buildControls();
    void showMeasuring();
    void showResult();
    void answer(qint16 choice);
    void poll();
    StatusPollTimer* const m_pollTimer;
    bool m_busy = false;      // the timer's status poll is running
    bool m_measuring = false; // a reading is being taken
    qint16 m_pending = None;
};
