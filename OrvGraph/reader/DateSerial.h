#pragma once

#include <QDate>
#include <QDateTime>

// Date-times as the viewer computes with them: days since 30 December 1899 with
// the time of day as the fraction. Plain doubles keep the axis arithmetic and
// the per-point comparisons cheap.
namespace DateSerial {

constexpr double kSecondsPerDay = 86400.0;

double fromDate(QDate date);
double fromDateTime(const QDateTime& dateTime);
// In UTC (the stamp as written, no zone). Rounded to the nearest millisecond, so that tick times
// computed as sums of steps label as the minute they stand for.
QDateTime toDateTime(double serial);

} // namespace DateSerial
