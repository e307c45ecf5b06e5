#pragma once

#include <QByteArrayView>
#include <QLocale>

#include <optional>

// Number and time-of-day fields of the data files, and numbers the operator
// types. The files always write numbers with a point as the decimal separator,
// whatever the regional settings, so they are read the same way.

// The value of a plain decimal number ("45.3", "50", ".5", "-.1", "1e3"), or
// nothing when the text is not one.
std::optional<double> parseNumber(QByteArrayView text);

// A number the operator typed: in the locale's own form (its decimal separator
// and digits, no group separators) or with a point, as the files write it.
std::optional<double> parseTypedNumber(const QString& text, const QLocale& locale);

// The fraction of a day of "h:mm", "h:mm:ss" or "h:mm:ss.zzz", with an optional
// AM/PM suffix (the locale's texts or plain AM/PM), or nothing.
std::optional<double> parseTimeOfDay(QByteArrayView text, const QLocale& locale);
