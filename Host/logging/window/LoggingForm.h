#pragma once

#include "ActivityWindow.h"
#include "LoggingSetup.h"
#include "Timers.h"

#include <QList>
#include <functional>

class MaskedEdit;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class StatusPollTimer;
class ControlPanel;
class frmReference;
class frmSettings;
class frmSummary;

// "Start Logging...": the parameter set, the title and the two timers of a
// logging run, checked on Proceed before the summary is shown.
class LoggingForm : public ActivityWindow {
    Q_OBJECT
public:
    // settings: the parameter editor, whose presets this window offers.
    LoggingForm(ControlPanel* panel, frmSettings* settings);

    // The run being set up; rebuilt on every Proceed.
    LoggingSetup setup;
    // The download window's buffer list, refreshed once a run starts or stops.
    std::function<void()> updateBuffers;
    // The window that takes the reference readings before and after a run.
    void setReferenceWindow(frmReference* reference);

    // Refills the preset list and selects its first line.
    void logging_init_objects();
    // The checks of Proceed; on success the summary window is shown.
    void ProceedCheck();
    // Cancel: asks, then hides the window.
    void CloseWindow();
    // Stops the run in the logger and takes the post-measurement reference.
    void StopLogging();

    // timer: 0 the master, 1 the sub.
    TimerSpec BuildTimer(TimerKind kind, int timer) const;
    bool TimerIsValid(TimerKind kind, int timer) const;

private:
    // Controls; tests and outside checks find them by objectName.
    QLabel* const ParameterLabel;
    QComboBox* const ParameterCombo;
    QLabel* const ParameterDataLabel;
    QPushButton* const ParameterChangeButton;
    QLabel* const TitleLabel;
    QLineEdit* const TitleMask;
    QGroupBox* const MasterTimerFrame;
    QComboBox* const MasterTimerCombo;
    QStackedWidget* const MasterTimerPanels;
    QGroupBox* const SubTimerFrame;
    QLabel* const SubTimerLabel;
    QComboBox* const SubTimerCombo;
    QStackedWidget* const SubTimerPanels;
    QPushButton* const LoggingButton;
    QPushButton* const CancelButton;
    StatusPollTimer* const LoggingTimer;

    // Control arrays: item 0 in the master frame, item 1 in the sub frame.
    QList<MaskedEdit*> HourlyStartMinuteMask, HourlyEndMinuteMask;
    QList<MaskedEdit*> DailyStartHourMask, DailyStartMinuteMask, DailyEndHourMask,
        DailyEndMinuteMask;
    QList<QComboBox*> WeeklyStartDayCombo, WeeklyEndDayCombo;
    QList<MaskedEdit*> WeeklyStartHourMask, WeeklyStartMinuteMask, WeeklyEndHourMask,
        WeeklyEndMinuteMask;
    // Item 0 the start, item 1 the end; master frame only.
    QList<MaskedEdit*> OneDayMask, OneMonthMask, OneYearMask, OneHourMask, OneMinuteMask;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Entry {
        MaskedEdit* field = nullptr;
        int timer = 0; // 0 master, 1 sub
        qint16 lower = 0, upper = 0;
    };

    // LoggingForm_timers.cpp
    void buildRepeatPanels(int item, QStackedWidget* panels);
    void buildOneShotPanel();
    void addEntry(MaskedEdit* field, int timer, qint16 lower, qint16 upper);
    void loadTimerDefaults();
    qint16 upperOf(const Entry& entry) const;
    qint16 value(const MaskedEdit* field, int item) const;
    void fieldLeft(const Entry& entry);
    void showValidity(int timer);
    QList<QWidget*> timerFields(int timer) const;
    void masterKindChanged(int kind);
    void subKindChanged(int kind);

    void buildLayout();
    void setControlsEnabled(bool enabled);
    void describeParameters();
    void openParameterEditor();
    frmSettings* const m_settings;
    frmReference* m_reference = nullptr;
    frmSummary* const m_summary;
    QList<Entry> m_entries;
    bool m_validating = false;
};
