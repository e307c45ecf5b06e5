#pragma once

// The logger's state as the unattended download reports it, from what linking
// read ("2", Get Information) and the buffer list: for a monitor in the JSON
// summary, and for a person as a short report (--status).

#include "BufferList.h"
#include "LoggerRecords.h"
#include "LoggingEstimate.h"

#include <QDateTime>
#include <QJsonObject>
#include <QString>

#include <optional>

struct LoggerStatus {
    InformationRecord info = FailedInformation();
    qint16 buffers = -1;
    // Logging time left at the newest buffer's data rate and with this battery.
    LoggingEstimate estimate;
    // The logger's clock less the computer's, when the logger's is a date.
    std::optional<qint64> clockOffsetSeconds;
};

// readAt: the computer's time when the information was read.
LoggerStatus StatusOf(const InformationRecord& info, const QDateTime& readAt,
                      const BufferList& list);

QJsonObject StatusJson(const LoggerStatus& status);
// A few lines, each ended by a line break.
QString StatusReport(const LoggerStatus& status);
