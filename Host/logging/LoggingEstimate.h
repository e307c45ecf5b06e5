#pragma once

#include <QString>

// How long a logger can go on logging: the smaller of what its free memory
// and its battery allow.
struct LoggingEstimate {
    bool known = false;           // neither limit could be worked out
    bool limitedByMemory = false; // else by the battery
    double seconds = 0;
};

// bytesPerSecond: the data rate of the measurement parameters (0 or less:
// unknown); freeMemory in bytes (negative: not read); battery in tenths of a
// volt (negative: not read). A limit that is unknown is left out.
LoggingEstimate EstimateLoggingTime(double bytesPerSecond, qint32 freeMemory, qint16 battery);

// "9 days", "5 hours", "12 minutes", "40 seconds": above two days in days,
// above an hour in hours, above a minute in minutes, each rounded.
QString LoggingTimeText(double seconds);

// The estimate as the life and limit labels show it: "2 hours" (or "not
// known." when neither limit could be worked out), and "Limited by memory."
// or "Limited by battery." (empty when not known).
QString LifeText(const LoggingEstimate& estimate);
QString LimitText(const LoggingEstimate& estimate);
