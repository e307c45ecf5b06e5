#include "FetchSummary.h"

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
    const auto textOrNull = [](const QString& text) {
        return text.isEmpty() ? QJsonValue() : QJsonValue(text);
    };
    const QJsonObject summary{
        {"version", SummaryVersion},
        {"result", ResultName(exitCode, timeLimit)},
        {"exitCode", exitCode},
        {"error", exitCode == ExitCode::Complete ? QJsonValue() : textOrNull(error)},
        {"device", textOrNull(device)},
        {"serial", textOrNull(serial)},
        {"started", started.toUTC().toString(Qt::ISODate)},
        {"seconds", seconds},
        {"logger", logger},
        {"buffers", buffers},
        {"downloads", downloads},
        {"cleared", cleared},
    };
    return QJsonDocument(summary).toJson(QJsonDocument::Compact) + '\n';
}
