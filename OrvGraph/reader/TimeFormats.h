#pragma once

#include <QLocale>
#include <QString>

// The time of day to the second in the locale's own form, without a time zone
// (the stamps are the logger's own clock): the time part of the general
// date-and-time format.
QString secondsTimeFormat(const QLocale& locale);
