#pragma once

// The logger's date-time record, its calendar arithmetic and its display texts.
// The logger counts leap years without the century rule, so the arithmetic here
// never asks the platform calendar; only formatting and weekdays do, and only
// after IsValidDateTime has accepted the record.

#include <QString>
#include <QtGlobal>

struct LoggerDateTime {
    qint16 year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    bool operator==(const LoggerDateTime&) const = default;
};

// On the wire a year is one byte counted from this year (1996 at start-up).
extern qint16 BaseYear;

qint16 DaysInMonth(int year, int month);
// 1 when the first date is later, -1 when earlier, 0 when the same day (time ignored).
int CompareDates(const LoggerDateTime& first, const LoggerDateTime& second);
bool IsBefore(const LoggerDateTime& first, const LoggerDateTime& second);

// The unset record (year BaseYear + 255, 255 everywhere else) stands for a missing date.
LoggerDateTime UnsetDateTime();
bool IsUnset(const LoggerDateTime& value);

// A date and time of the logger's own calendar within the years the wire can
// carry (the unset year excluded): 29 February 2100 and 2200 among them.
bool IsLoggerDateTime(const LoggerDateTime& value);
// A real calendar date and time within the years the wire can carry (the unset
// year excluded). Anything that formats a date or computes a weekday checks this first.
bool IsValidDateTime(const LoggerDateTime& value);

qint16 Clamp(qint16 value, qint16 lower, qint16 upper);

// Carry and borrow run through every field, months and years included.
void AddOneDay(LoggerDateTime& value);
void AddSeconds(LoggerDateTime& value, int seconds);
void SubtractSeconds(LoggerDateTime& value, int seconds);
LoggerDateTime AddMinutes(const LoggerDateTime& value, int minutes);

// Fields that are not 16-bit whole numbers read as 0, which no valid record holds.
LoggerDateTime DateTimeFromFields(const QString& year, const QString& month, const QString& day,
                                  const QString& hour, const QString& minute,
                                  const QString& second);

// 0 = Sunday ... 6 = Saturday; -1 for a record that is not a valid date.
int Weekday(const LoggerDateTime& value);

// ISO 8601 without a zone, "2004-03-01T08:00:00", as the logger's clock reads;
// empty for a record that is no date of the logger's calendar.
QString IsoDateTimeText(const LoggerDateTime& value);
QString HourMinuteText(const LoggerDateTime& value);
QString TimeText(const LoggerDateTime& value);
// The system's short date format; empty for a record that is not a valid date.
QString ShortDateText(const LoggerDateTime& value);
// defaultText for the unset record and for any other invalid one.
QString DateTimeText(const LoggerDateTime& value, const QString& defaultText);
// The system's long date format, ".  " and "hh:mm:ss"; empty for a record that
// is not a valid date.
QString LongDateTimeText(const LoggerDateTime& value);
