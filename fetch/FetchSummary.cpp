#include "FetchSummary.h"

#include "FetchJson.h"
#include "FetchOptions.h"

#include <QJsonDocument>

QString ResultName(int exitCode, bool timeLimit) {
    if (exitCode == ExitCode::Stopped && timeLimit)
        return QStringLiteral("time limit");
    static const QStringList names = {"complete",   "comlane missing", "usage error",  "no logger",
                                      "port error", "link lost",       "file error",   "incomplete",
                                      "stopped",    "not cleared",     "wrong logger", "port busy"};
    return names.value(exitCode);
}

QByteArray FetchSummary::toJsonLine() const {
    const QJsonObject summary{
        {"version", SummaryVersion},
        {"result", ResultName(exitCode, timeLimit)},
        {"exitCode", exitCode},
        {"error", exitCode == ExitCode::Complete ? QJsonValue() : TextOrNull(error)},
        {"device", TextOrNull(device)},
        {"serial", TextOrNull(serial)},
        {"started", started.toUTC().toString(Qt::ISODate)},
        {"seconds", seconds},
        {"logger", logger},
        {"buffers", buffers},
        {"downloads", downloads},
        {"cleared", cleared},
    };
    return QJsonDocument(summary).toJson(QJsonDocument::Compact) + '\n';
}
