#include "LoggerStatus.h"

#include "FetchJson.h"
#include "MemoryRate.h"

namespace {

// The mode byte's low bits: logging, and timers waiting to start it.
QString ModeName(qint16 mode) {
    if (mode < 0)
        return {};
    if (mode & 1)
        return QStringLiteral("logging");
    return mode & 2 ? QStringLiteral("waiting") : QStringLiteral("standby");
}

QString LimitName(const LoggingEstimate& estimate) {
    if (!estimate.known)
        return {};
    return estimate.limitedByMemory ? QStringLiteral("memory") : QStringLiteral("battery");
}

} // namespace

LoggerStatus StatusOf(const InformationRecord& info, const QDateTime& readAt,
                      const BufferList& list) {
    LoggerStatus status;
    status.info = info;
    status.buffers = list.count;
    const BufferRecord newest = list.records.isEmpty() ? EmptyBufferRecord() : list.records.last();
    status.estimate =
        EstimateLoggingTime(MemoryRateOf(newest.interval, newest.leqMode, newest.leqLength),
                            info.freeMemory, info.battery);
    if (IsValidDateTime(info.clock)) {
        const QDateTime clock(QDate(info.clock.year, info.clock.month, info.clock.day),
                              QTime(info.clock.hour, info.clock.minute, info.clock.second));
        status.clockOffsetSeconds = readAt.secsTo(clock);
    }
    return status;
}

QJsonObject StatusJson(const LoggerStatus& status) {
    const InformationRecord& info = status.info;
    const bool fitted = info.temperature != -100;
    return {
        {"serial", TextOrNull(SerialNumberText(info.serialNumber))},
        {"processorVersion", TextOrNull(VersionText(info.processorVersion))},
        {"measurementVersion", TextOrNull(VersionText(info.measurementVersion))},
        {"mode", TextOrNull(ModeName(info.loggingMode))},
        {"batteryVolts", OrNull(info.battery >= 0, info.battery / 10.0)},
        {"temperatureCelsius", OrNull(fitted, info.temperature / 10.0)},
        {"freeMemoryBytes", OrNull(info.freeMemory >= 0, info.freeMemory)},
        {"loggingSecondsLeft", OrNull(status.estimate.known, qRound64(status.estimate.seconds))},
        {"loggingLimitedBy", TextOrNull(LimitName(status.estimate))},
        {"clock", TextOrNull(IsoDateTimeText(info.clock))},
        {"clockOffsetSeconds", OrNull(status.clockOffsetSeconds.has_value(),
                                      qint64(status.clockOffsetSeconds.value_or(0)))},
        {"buffers", OrNull(status.buffers >= 0, status.buffers)},
    };
}

QString StatusReport(const LoggerStatus& status) {
    const InformationRecord& info = status.info;
    const auto known = [](const QString& text) {
        return text.isEmpty() ? QStringLiteral("not read") : text;
    };
    QString report = QStringLiteral("Logger %1, firmware %2 (processor), %3 (measurement unit)\n")
                         .arg(known(SerialNumberText(info.serialNumber)),
                              known(VersionText(info.processorVersion)),
                              known(VersionText(info.measurementVersion)));
    report += QStringLiteral("Mode: %1\n").arg(known(ModeName(info.loggingMode)));
    report += QStringLiteral("Battery: %1\n")
                  .arg(info.battery >= 0 ? QString::number(info.battery / 10.0, 'f', 1) + " V"
                                         : QStringLiteral("not read"));
    report += QStringLiteral("Temperature: %1\n")
                  .arg(info.temperature == -100
                           ? QStringLiteral("not fitted")
                           : QString::number(info.temperature / 10.0, 'f', 1) + " \u00b0C");
    report += QStringLiteral("Free memory: %1")
                  .arg(info.freeMemory >= 0 ? QStringLiteral("%1 bytes").arg(info.freeMemory)
                                            : QStringLiteral("not read"));
    if (status.estimate.known)
        report += QStringLiteral(", about %1 of logging left (limited by %2)")
                      .arg(LoggingTimeText(status.estimate.seconds), LimitName(status.estimate));
    report += u'\n';
    report += QStringLiteral("Clock: %1").arg(known(IsoDateTimeText(info.clock)));
    if (status.clockOffsetSeconds) {
        const qint64 offset = *status.clockOffsetSeconds;
        report += offset == 0
                      ? QStringLiteral(", as this computer's")
                      : QStringLiteral(", %1 s %2 of this computer's")
                            .arg(qAbs(offset))
                            .arg(offset > 0 ? QStringLiteral("ahead") : QStringLiteral("behind"));
    }
    report += u'\n';
    report += QStringLiteral("Buffers: %1\n")
                  .arg(status.buffers >= 0 ? QString::number(status.buffers)
                                           : QStringLiteral("not read"));
    return report;
}
