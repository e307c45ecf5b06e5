#pragma once

// The logging timers: when a master and a sub timer let the logger record, and
// their bytes for the logger. The host counts on recording only while a master
// window and a sub window are open together.
//
// Times that are not real dates (a failed clock read, the unset record) never
// reach the calendar: no window is open at them, they have no next opening and
// no closing, so a set-up with any timer records nothing from them.

#include "BufferRecord.h"
#include "DateTime.h"

#include <QByteArray>

#include <optional>

// Positions in the timer lists; a sub timer must be of a lower kind than its master.
enum class TimerKind : qint16 { None = 0, Hourly = 1, Daily = 2, Weekly = 3, OneShot = 4 };

// The repeating kinds carry their times on the fixed date 1 January 1996; a
// one shot carries full dates with the seconds at 0. Weekdays 0 = Sunday.
struct TimerSpec {
    TimerKind kind = TimerKind::None;
    LoggerDateTime start = {}, end = {};
    qint16 startDay = 0, endDay = 0; // weekly only
    bool operator==(const TimerSpec&) const = default;
};

TimerSpec NoTimer();
TimerSpec HourlyTimer(int startMinute, int endMinute);
TimerSpec DailyTimer(int startHour, int startMinute, int endHour, int endMinute);
TimerSpec WeeklyTimer(int startDay, int startHour, int startMinute, int endDay, int endHour,
                      int endMinute);
TimerSpec OneShotTimer(const LoggerDateTime& start, const LoggerDateTime& end);

// The one-shot day after its month or year changed: never past the month's end.
qint16 ClampOneShotDay(int day, int month, int year);

// Opening and closing differ, every field is in range and a one shot ends
// after it starts, on real dates. Repeating windows may wrap (17:00 to 09:00).
bool TimerIsValid(const TimerSpec& timer);
bool TimersAreCompatible(TimerKind master, TimerKind sub);

bool WindowOpenAt(const TimerSpec& timer, const LoggerDateTime& time);
// The next time the window opens from the given time; none for a one shot that
// has begun. No timer is open at once.
std::optional<LoggerDateTime> NextOpening(const TimerSpec& timer, const LoggerDateTime& time);
// The next time the window closes from the given time; none for no timer,
// which never closes.
std::optional<LoggerDateTime> ClosingAfter(const TimerSpec& timer, const LoggerDateTime& time);

// Whether the logger, with its clock at loggerTime, will record anything: the
// two windows are open together now or will be before the master next closes.
// Invalid timers record nothing; two "No Timer"s record whatever the clock says.
bool WillRecord(const TimerSpec& master, const TimerSpec& sub, const LoggerDateTime& loggerTime);

TimerRecord TimerRecordOf(const TimerSpec& timer);
QByteArray EncodeTimer(const TimerSpec& timer); // 15 bytes
