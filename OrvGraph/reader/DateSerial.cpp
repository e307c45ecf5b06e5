#include "DateSerial.h"

#include <cmath>

namespace DateSerial {

namespace {
const qint64 kEpochJulianDay = QDate(1899, 12, 30).toJulianDay();
}

double fromDate(QDate date) {
    return double(date.toJulianDay() - kEpochJulianDay);
}

double fromDateTime(const QDateTime& dateTime) {
    return fromDate(dateTime.date()) + dateTime.time().msecsSinceStartOfDay() / 86400000.0;
}

QDateTime toDateTime(double serial) {
    const auto msecs = qint64(std::llround(serial * 86400000.0));
    const qint64 day = msecs >= 0 ? msecs / 86400000 : -((-msecs + 86399999) / 86400000);
    const qint64 msecOfDay = msecs - day * 86400000;
    // Wall-clock time as written in the file: no time zone, so no daylight
    // saving shift can move a stamp.
    return QDateTime(QDate::fromJulianDay(kEpochJulianDay + day),
                     QTime::fromMSecsSinceStartOfDay(int(msecOfDay)), Qt::UTC);
}

} // namespace DateSerial
