#pragma once

#include "ActivityWindow.h"
#include "DateTime.h"

#include <QList>
#include <QTimer>

class MaskedEdit;
class QPushButton;
class SpinButton;
class ControlPanel;

// "Configure Clock...": sets the logger's real-time clock from the fields, which
// start at the logger's time and keep running once a second.
class frmClock : public ActivityWindow {
    Q_OBJECT
public:
    explicit frmClock(ControlPanel* panel);

    void InitialiseOjects(const LoggerDateTime& value);
    void SetClock();
    void CloseWindow();

private:
    // Controls; tests and outside checks find them by objectName.
    MaskedEdit* const mskDay;
    MaskedEdit* const mskMonth;
    MaskedEdit* const mskYear;
    MaskedEdit* const mskHour;
    MaskedEdit* const mskMinute;
    MaskedEdit* const mskSecond;
    SpinButton* const spnDate;
    SpinButton* const spnTime;
    QPushButton* const cmdPC;
    QPushButton* const cmdOK;
    QPushButton* const cmdCancel;
    QTimer* const tmrClock;

public:
    MaskedEdit* currentField() const { return m_current; }
    // The fields as one date-time; fields that do not parse read as 0.
    LoggerDateTime fieldsValue() const;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    struct Range {
        qint16 lower, upper;
    };
    void buildControls();
    void showDateTime(const LoggerDateTime& value);
    void setField(MaskedEdit* field, qint16 value);
    Range rangeOf(const MaskedEdit* field) const;
    bool inRange(const MaskedEdit* field) const;
    void fieldLeft(MaskedEdit* field);
    void fitDayToMonth();
    void step(MaskedEdit* field, int by);
    void tick();
    // Whether the display runs: from InitialiseOjects or Get PC Time until the
    // seconds are touched, and only while the window is shown.
    void runDisplay(bool running);
    void accept() override;
    QList<MaskedEdit*> m_dateFields, m_timeFields;
    MaskedEdit* m_current = nullptr;
    bool m_displayRuns = false;
};
