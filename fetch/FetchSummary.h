#pragma once

// What a run of qn7x-fetch reports to a script: with --json, exactly one
// compact JSON object on one line, on every path, with every key always
// present (null where there is nothing to say). "version" counts changes to
// this layout; qn7x-fetch.1 documents each key.

#include <QByteArray>
#include <QDateTime>
#include <QJsonArray>
#include <QJsonObject>
#include <QString>

constexpr int SummaryVersion = 1;

// One vocabulary for the run and for each download: "complete", "skipped"
// (a download only), "comlane missing", "usage error", "no logger",
// "port error", "link lost", "file error", "incomplete", "stopped",
// "time limit", "not cleared", "wrong logger", "port busy".
QString ResultName(int exitCode, bool timeLimit = false);

struct FetchSummary {
    int exitCode = 0;
    bool timeLimit = false; // exit code 8 came from --max-time, not a signal
    QString error;          // why the exit code is not 0
    QString device;
    QString serial;
    QDateTime started = QDateTime::currentDateTimeUtc();
    double seconds = 0;
    QJsonValue logger;  // the status block, once linked
    QJsonArray buffers; // with --list
    QJsonArray downloads;
    QJsonValue cleared; // a count with --clear-after

    QByteArray toJsonLine() const;
};
