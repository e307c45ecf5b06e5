#pragma once

#include <QByteArrayView>
#include <QLocale>

#include <optional>

// Number and time-of-day fields of the data files. Numbers are always written
// with a point as the decimal separator, whatever the regional settings, so
// they are read the same way.

// The value of a plain decimal number ("45.3", "50", ".5", "-.1", "1e3"), or
// nothing when the text is not one.
std::optional<double> parseNumber(QByteArrayView text);

// The fraction of a day of "h:mm", "h:mm:ss" or "h:mm:ss.zzz", with an optional
// AM/PM suffix (the locale's texts or plain AM/PM), or nothing.
std::optional<double> parseTimeOfDay(QByteArrayView text, const QLocale& locale);
