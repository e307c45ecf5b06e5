#pragma once

#include "ActivityWindow.h"
#include <QList>

class QLabel;
class QPushButton;
class QTimer;
class StatusPollTimer;
class ControlPanel;

// "The last available set of results...": the logger's most recent
// statistical record, as "Get last results" gives it.
class frmResults : public ActivityWindow {
    Q_OBJECT
public:
    explicit frmResults(ControlPanel* panel);

    // Fills the window from the 34-byte record and shows it; the headings of
    // the percentile levels name the indices of the run the main window holds.
    void ShowResults(const QByteArray& record);

private:
    // Controls; tests and outside checks find them by objectName.
    QLabel* const lblDateHeading;
    QLabel* const lblDate;
    QLabel* const lblTimeHeading;
    QLabel* const lblTime;
    QLabel* const lblLeqHeading;
    QLabel* const lblLeq;
    QLabel* const lblLmaxHeading;
    QLabel* const lblLmax;
    QList<QLabel*> lblLIndexHeading;
    QList<QLabel*> lblLIndexData;
    QLabel* const lblLminHeading;
    QLabel* const lblLmin;
    QLabel* const lblBatteryHeading;
    QLabel* const lblBattery;
    QLabel* const lblTemperatureHeading;
    QLabel* const lblTemp;
    QLabel* const lblOvLd;
    QLabel* const lblOvlDValue;
    QPushButton* const cmdClose;

public:
    // The status-poll timer, for tests: it has no parent to be found by name.
    QTimer& tmrResults();

private:
    void buildControls();
    void showIndices();
    StatusPollTimer* const m_pollTimer;
};
