#include "Timers.h"

#include <tuple>

namespace {

constexpr qint16 RepeatingYear = 1996;
constexpr int SecondsPerDay = 24 * 60 * 60;
constexpr int DaysPerWeek = 7;

LoggerDateTime RepeatingTime(int hour, int minute) {
    return {RepeatingYear, 1, 1, static_cast<qint16>(hour), static_cast<qint16>(minute), 0};
}

int SecondOfDay(const LoggerDateTime& value) {
    return value.hour * 3600 + value.minute * 60 + value.second;
}

void SetTimeOfDay(LoggerDateTime& value, const LoggerDateTime& time) {
    value.hour = time.hour;
    value.minute = time.minute;
    value.second = time.second;
}

// Where a moment lies in a repeating timer's cycle, in seconds from the cycle's
// start (the full hour, midnight, or Sunday midnight).
int CyclePosition(TimerKind kind, int weekday, const LoggerDateTime& value) {
    switch (kind) {
    case TimerKind::Hourly:
        return value.minute * 60 + value.second;
    case TimerKind::Daily:
        return SecondOfDay(value);
    default:
        return weekday * SecondsPerDay + SecondOfDay(value);
    }
}

// A window whose closing lies before its opening runs across the end of the cycle.
bool InWindow(int position, int opening, int closing) {
    if (opening < closing)
        return opening <= position && position < closing;
    return position >= opening || position < closing;
}

// The first day from value on (value itself included) that falls on the weekday.
// A week of days always holds it; only a date beyond what the calendar accepts misses it.
std::optional<LoggerDateTime> OnWeekday(LoggerDateTime value, int weekday) {
    for (int step = 0; step < DaysPerWeek; ++step) {
        if (Weekday(value) == weekday)
            return value;
        AddOneDay(value);
    }
    return std::nullopt;
}

bool FieldsInRange(const TimerSpec& timer) {
    const auto isWeekday = [](int day) { return day >= 0 && day < DaysPerWeek; };
    return IsValidDateTime(timer.start) && IsValidDateTime(timer.end) &&
           isWeekday(timer.startDay) && isWeekday(timer.endDay);
}

} // namespace

TimerSpec NoTimer() {
    return {TimerKind::None, RepeatingTime(0, 0), RepeatingTime(0, 0), 0, 0};
}

TimerSpec HourlyTimer(int startMinute, int endMinute) {
    return {TimerKind::Hourly, RepeatingTime(0, startMinute), RepeatingTime(0, endMinute), 0, 0};
}

TimerSpec DailyTimer(int startHour, int startMinute, int endHour, int endMinute) {
    return {TimerKind::Daily, RepeatingTime(startHour, startMinute),
            RepeatingTime(endHour, endMinute), 0, 0};
}

TimerSpec WeeklyTimer(int startDay, int startHour, int startMinute, int endDay, int endHour,
                      int endMinute) {
    return {TimerKind::Weekly, RepeatingTime(startHour, startMinute),
            RepeatingTime(endHour, endMinute), static_cast<qint16>(startDay),
            static_cast<qint16>(endDay)};
}

TimerSpec OneShotTimer(const LoggerDateTime& start, const LoggerDateTime& end) {
    TimerSpec timer{TimerKind::OneShot, start, end, 0, 0};
    timer.start.second = timer.end.second = 0;
    return timer;
}

qint16 ClampOneShotDay(int day, int month, int year) {
    return Clamp(static_cast<qint16>(day), 1, DaysInMonth(year, month));
}

bool TimerIsValid(const TimerSpec& timer) {
    const LoggerDateTime& start = timer.start;
    const LoggerDateTime& end = timer.end;
    if (timer.kind == TimerKind::None)
        return true;
    if (!FieldsInRange(timer))
        return false;
    switch (timer.kind) {
    case TimerKind::Hourly:
        return start.minute != end.minute;
    case TimerKind::Daily:
        return std::tie(start.hour, start.minute) != std::tie(end.hour, end.minute);
    case TimerKind::Weekly:
        return std::tie(timer.startDay, start.hour, start.minute) !=
               std::tie(timer.endDay, end.hour, end.minute);
    case TimerKind::OneShot:
        return IsBefore(start, end);
    default:
        return false;
    }
}

bool TimersAreCompatible(TimerKind master, TimerKind sub) {
    return sub == TimerKind::None || sub < master;
}

bool WindowOpenAt(const TimerSpec& timer, const LoggerDateTime& time) {
    if (timer.kind == TimerKind::None)
        return true;
    if (!IsValidDateTime(time))
        return false;
    if (timer.kind == TimerKind::OneShot)
        return !IsBefore(time, timer.start) && IsBefore(time, timer.end);
    return InWindow(CyclePosition(timer.kind, Weekday(time), time),
                    CyclePosition(timer.kind, timer.startDay, timer.start),
                    CyclePosition(timer.kind, timer.endDay, timer.end));
}

std::optional<LoggerDateTime> NextOpening(const TimerSpec& timer, const LoggerDateTime& time) {
    if (timer.kind == TimerKind::None)
        return time;
    if (!IsValidDateTime(time))
        return std::nullopt;
    const LoggerDateTime& start = timer.start;
    LoggerDateTime opening = time;
    switch (timer.kind) {
    case TimerKind::Hourly:
        if (time.minute >= start.minute)
            opening = AddMinutes(time, 60);
        opening.minute = start.minute;
        opening.second = start.second;
        return opening;
    case TimerKind::Daily:
        if (SecondOfDay(start) < SecondOfDay(time))
            AddOneDay(opening);
        SetTimeOfDay(opening, start);
        return opening;
    case TimerKind::Weekly: {
        const int weekday = Weekday(time);
        if (timer.startDay < weekday ||
            (timer.startDay == weekday && SecondOfDay(start) < SecondOfDay(time)))
            AddOneDay(opening);
        SetTimeOfDay(opening, start);
        return OnWeekday(opening, timer.startDay);
    }
    case TimerKind::OneShot:
        if (IsBefore(time, start))
            return start;
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

std::optional<LoggerDateTime> ClosingAfter(const TimerSpec& timer, const LoggerDateTime& time) {
    if (timer.kind == TimerKind::None || !IsValidDateTime(time))
        return std::nullopt;
    const LoggerDateTime& end = timer.end;
    LoggerDateTime closing = time;
    switch (timer.kind) {
    case TimerKind::Hourly:
        if (time.minute >= end.minute)
            closing = AddMinutes(time, 60);
        closing.minute = end.minute;
        closing.second = end.second;
        return closing;
    case TimerKind::Daily:
        if (SecondOfDay(time) >= SecondOfDay(end))
            AddOneDay(closing);
        SetTimeOfDay(closing, end);
        return closing;
    case TimerKind::Weekly: {
        const int weekday = Weekday(time);
        if (!(weekday < timer.endDay ||
              (weekday == timer.endDay && SecondOfDay(time) < SecondOfDay(end))))
            AddOneDay(closing);
        SetTimeOfDay(closing, end);
        return OnWeekday(closing, timer.endDay);
    }
    case TimerKind::OneShot:
        return end;
    default:
        return std::nullopt;
    }
}

bool WillRecord(const TimerSpec& master, const TimerSpec& sub, const LoggerDateTime& loggerTime) {
    if (!TimerIsValid(master) || !TimerIsValid(sub))
        return false;
    if (master.kind == TimerKind::None && sub.kind == TimerKind::None)
        return true;
    if (!IsValidDateTime(loggerTime))
        return false;
    // From a moment when the master is open: the sub opens before the master closes.
    const auto subOpensInTime = [&](const LoggerDateTime& from) {
        const auto opening = NextOpening(sub, from);
        if (!opening)
            return false;
        if (master.kind == TimerKind::None)
            return true;
        const auto closing = ClosingAfter(master, from);
        return closing && IsBefore(*opening, *closing);
    };
    if (WindowOpenAt(master, loggerTime))
        return WindowOpenAt(sub, loggerTime) || subOpensInTime(loggerTime);
    // The sub may already be open when the master opens; its next opening would
    // then lie an hour or a day too late.
    const auto masterOpening = NextOpening(master, loggerTime);
    return masterOpening && (WindowOpenAt(sub, *masterOpening) || subOpensInTime(*masterOpening));
}

TimerRecord TimerRecordOf(const TimerSpec& timer) {
    return {static_cast<qint16>(timer.kind), timer.start, timer.end, timer.startDay, timer.endDay};
}

QByteArray EncodeTimer(const TimerSpec& timer) {
    return EncodeTimerRecord(TimerRecordOf(timer));
}
