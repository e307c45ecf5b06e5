#include "DateTime.h"

#include <QDate>
#include <QLocale>

#include <compare>
#include <tuple>

qint16 BaseYear = 1996;

namespace {

constexpr qint64 SecondsPerDay = 24 * 60 * 60;

int Sign(std::strong_ordering order) {
    return (order > 0) - (order < 0);
}

int TimeOfDayCompare(const LoggerDateTime& first, const LoggerDateTime& second) {
    return Sign(std::tie(first.hour, first.minute, first.second) <=>
                std::tie(second.hour, second.minute, second.second));
}

// Moves the date by whole days, one month at a time, so that an out-of-range day
// is carried into (or borrowed from) the neighbouring months as the logger does.
void ShiftDays(LoggerDateTime& value, qint64 days) {
    int year = value.year;
    int month = value.month;
    qint64 day = value.day + days;
    while (day > DaysInMonth(year, month)) {
        day -= DaysInMonth(year, month);
        if (++month > 12) {
            month = 1;
            ++year;
        }
    }
    while (day < 1) {
        if (--month < 1) {
            month = 12;
            --year;
        }
        day += DaysInMonth(year, month);
    }
    value.year = static_cast<qint16>(year);
    value.month = static_cast<qint16>(month);
    value.day = static_cast<qint16>(day);
}

// Normalises the time of day after adding a signed number of seconds and hands
// whole days on to the date.
void ShiftSeconds(LoggerDateTime& value, qint64 seconds) {
    const qint64 total =
        qint64(value.hour) * 3600 + qint64(value.minute) * 60 + value.second + seconds;
    qint64 days = total / SecondsPerDay;
    qint64 rest = total % SecondsPerDay;
    if (rest < 0) {
        rest += SecondsPerDay;
        --days;
    }
    value.hour = static_cast<qint16>(rest / 3600);
    value.minute = static_cast<qint16>(rest / 60 % 60);
    value.second = static_cast<qint16>(rest % 60);
    ShiftDays(value, days);
}

QString TwoDigits(int number) {
    return QStringLiteral("%1").arg(number, 2, 10, QLatin1Char('0'));
}

// The logger's calendar has no century rule; the real one drops 29 February in
// 2100 and 2200, which the platform calendar cannot show.
bool IsCenturyLeapDay(const LoggerDateTime& value) {
    return value.month == 2 && value.day == 29 && value.year % 100 == 0 && value.year % 400 != 0;
}

// Only ever called on records that IsValidDateTime accepted.
QDate CalendarDate(const LoggerDateTime& value) {
    return QDate(value.year, value.month, value.day);
}

} // namespace

qint16 DaysInMonth(int year, int month) {
    switch (month) {
    case 2:
        return year % 4 == 0 ? 29 : 28;
    case 4:
    case 6:
    case 9:
    case 11:
        return 30;
    default:
        return 31;
    }
}

int CompareDates(const LoggerDateTime& first, const LoggerDateTime& second) {
    return Sign(std::tie(first.year, first.month, first.day) <=>
                std::tie(second.year, second.month, second.day));
}

bool IsBefore(const LoggerDateTime& first, const LoggerDateTime& second) {
    const int dates = CompareDates(first, second);
    return dates < 0 || (dates == 0 && TimeOfDayCompare(first, second) < 0);
}

LoggerDateTime UnsetDateTime() {
    return {static_cast<qint16>(BaseYear + 255), 255, 255, 255, 255, 255};
}

bool IsUnset(const LoggerDateTime& value) {
    return value == UnsetDateTime();
}

bool IsLoggerDateTime(const LoggerDateTime& value) {
    return value.year >= BaseYear && value.year <= BaseYear + 254 && value.month >= 1 &&
           value.month <= 12 && value.day >= 1 &&
           value.day <= DaysInMonth(value.year, value.month) && value.hour >= 0 &&
           value.hour < 24 && value.minute >= 0 && value.minute < 60 && value.second >= 0 &&
           value.second < 60;
}

bool IsValidDateTime(const LoggerDateTime& value) {
    return IsLoggerDateTime(value) && !IsCenturyLeapDay(value);
}

qint16 Clamp(qint16 value, qint16 lower, qint16 upper) {
    if (value > upper)
        return upper;
    if (value < lower)
        return lower;
    return value;
}

void AddOneDay(LoggerDateTime& value) {
    ShiftDays(value, 1);
}

void AddSeconds(LoggerDateTime& value, int seconds) {
    ShiftSeconds(value, seconds);
}

void SubtractSeconds(LoggerDateTime& value, int seconds) {
    ShiftSeconds(value, -qint64(seconds));
}

LoggerDateTime AddMinutes(const LoggerDateTime& value, int minutes) {
    LoggerDateTime result = value;
    ShiftSeconds(result, qint64(minutes) * 60);
    return result;
}

LoggerDateTime DateTimeFromFields(const QString& year, const QString& month, const QString& day,
                                  const QString& hour, const QString& minute,
                                  const QString& second) {
    const auto field = [](const QString& text) -> qint16 {
        bool ok = false;
        const short number = text.trimmed().toShort(&ok);
        return ok ? number : 0;
    };
    return {field(year), field(month), field(day), field(hour), field(minute), field(second)};
}

int Weekday(const LoggerDateTime& value) {
    if (!IsValidDateTime(value))
        return -1;
    return CalendarDate(value).dayOfWeek() % 7;
}

QString IsoDateTimeText(const LoggerDateTime& value) {
    if (!IsLoggerDateTime(value))
        return {};
    return QString::asprintf("%04d-%02d-%02dT%02d:%02d:%02d", value.year, value.month, value.day,
                             value.hour, value.minute, value.second);
}

QString HourMinuteText(const LoggerDateTime& value) {
    return TwoDigits(value.hour) + u':' + TwoDigits(value.minute);
}

QString TimeText(const LoggerDateTime& value) {
    return HourMinuteText(value) + u':' + TwoDigits(value.second);
}

QString ShortDateText(const LoggerDateTime& value) {
    if (!IsValidDateTime(value))
        return {};
    return QLocale::system().toString(CalendarDate(value), QLocale::ShortFormat);
}

QString DateTimeText(const LoggerDateTime& value, const QString& defaultText) {
    if (!IsValidDateTime(value))
        return defaultText;
    return TimeText(value) + QStringLiteral(" , ") + ShortDateText(value);
}

QString LongDateTimeText(const LoggerDateTime& value) {
    if (!IsValidDateTime(value))
        return {};
    return QLocale::system().toString(CalendarDate(value), QLocale::LongFormat) +
           QStringLiteral(".  ") + TimeText(value);
}
