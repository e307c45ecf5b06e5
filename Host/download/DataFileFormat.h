#pragma once

// The field syntax of the download's comma-separated data files: text fields
// in double quotes, numbers unquoted in the shortest plain decimal with a point
// whatever the regional settings, lines ended by CR LF. The graph viewer and
// spreadsheets read these files back, so every byte here matters.

#include "DateTime.h"

#include <QByteArray>
#include <QList>
#include <QLocale>
#include <QString>

// 45.3, 50, 101.2, .5, -.1: the shortest decimal that reads back as the same
// double, no thousands separators, no trailing zeros, no zero before the point.
QByteArray NumberText(double value);

// The text with every double quote made a single quote and every control
// character made a blank, so that a title from the logger's memory can neither
// end its field early nor break its line. The length is kept.
QString SanitisedText(const QString& text);

// A text field: the sanitised text in double quotes, as UTF-8, which is how the
// viewer reads it back.
QByteArray TextField(const QString& text);

// The fields joined by commas and ended by CR LF; no fields gives the empty line.
QByteArray CsvLine(const QList<QByteArray>& fields);

// The locale's short date format, or the empty text for a record that is not a
// real date (an erased block, a failed read): the calendar never sees it.
QString ShortDateIn(const QLocale& locale, const LoggerDateTime& value);
// "hh:mm:ss , " + short date; defaultText for the unset record and any other
// invalid one.
QString DateTimeTextIn(const QLocale& locale, const LoggerDateTime& value,
                       const QString& defaultText);
