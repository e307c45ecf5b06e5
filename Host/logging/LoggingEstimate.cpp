#include "LoggingEstimate.h"

#include "BatteryLife.h"

#include <cmath>

LoggingEstimate EstimateLoggingTime(double bytesPerSecond, qint32 freeMemory, qint16 battery) {
    const bool memoryKnown = bytesPerSecond > 0 && freeMemory >= 0;
    const bool batteryKnown = battery >= 0;
    LoggingEstimate estimate;
    if (!memoryKnown && !batteryKnown)
        return estimate;
    const double memoryTime = memoryKnown ? freeMemory / bytesPerSecond : 0;
    const double batteryTime = batteryKnown ? BatteryLifeSeconds(battery / 10.0) : 0;
    estimate.known = true;
    estimate.limitedByMemory = memoryKnown && (!batteryKnown || memoryTime <= batteryTime);
    estimate.seconds = estimate.limitedByMemory ? memoryTime : batteryTime;
    return estimate;
}

QString LoggingTimeText(double seconds) {
    const auto whole = [](double value) { return QString::number(std::llround(value)); };
    if (seconds > 172800)
        return whole(seconds / 86400) + " days";
    if (seconds > 3600)
        return whole(seconds / 3600) + " hours";
    if (seconds > 60)
        return whole(seconds / 60) + " minutes";
    return whole(seconds) + " seconds";
}

QString LifeText(const LoggingEstimate& estimate) {
    return estimate.known ? LoggingTimeText(estimate.seconds) : QStringLiteral("not known.");
}

QString LimitText(const LoggingEstimate& estimate) {
    if (!estimate.known)
        return {};
    return estimate.limitedByMemory ? QStringLiteral("Limited by memory.")
                                    : QStringLiteral("Limited by battery.");
}
