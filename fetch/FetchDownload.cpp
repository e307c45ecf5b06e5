// The downloads of an unattended session: each buffer, or the whole memory,
// into staged files that take their names only when every block is in them,
// and then the manifest that proves the set.
#include "Fetch.h"

#include "Manifest.h"

#include <QDateTime>
#include <QJsonObject>

#include <cstdio>
#include <unistd.h>

namespace {

constexpr int ProgressBarWidth = 30;

QString OutcomeName(TransferResult::Outcome outcome) {
    switch (outcome) {
    case TransferResult::Outcome::Completed:
        return QStringLiteral("completed");
    case TransferResult::Outcome::Terminated:
        return QStringLiteral("terminated");
    case TransferResult::Outcome::Interrupted:
        return QStringLiteral("interrupted");
    case TransferResult::Outcome::FileError:
        return QStringLiteral("file error");
    }
    return {};
}

int ExitCodeOf(const TransferResult& result, bool stopped) {
    if (stopped)
        return ExitCode::Stopped;
    switch (result.outcome) {
    case TransferResult::Outcome::Interrupted:
        return ExitCode::LinkLost;
    case TransferResult::Outcome::FileError:
        return ExitCode::FileError;
    default:
        return result.complete ? ExitCode::Complete : ExitCode::Incomplete;
    }
}

} // namespace

int Fetch::downloadBuffers(const BufferList& list, const QList<qint16>& buffers) {
    int code = ExitCode::Complete;
    for (const qint16 n : buffers) {
        if (stopped())
            return ExitCode::Stopped;
        const QString base =
            buffers.size() == 1 ? m_options.base : m_options.base + QStringLiteral("_B%1").arg(n);
        if (list.unread.contains(qint16(n - 1))) {
            // Its header, percentile headings and Leq times would be guesses.
            FetchError(QStringLiteral("buffer %1 is not downloaded: the logger did not send its "
                                      "parameters (asked twice)")
                           .arg(n));
            noteNotDownloaded(n, QStringLiteral("parameters unread"));
            if (code == ExitCode::Complete)
                code = ExitCode::LinkLost;
            continue;
        }
        const int one =
            download(TransferRequest::OneBuffer(qint16(n - 1), list.records.at(n - 1), base), list);
        if (code == ExitCode::Complete)
            code = one;
        // A buffer cut short is no reason to leave the others; a lost link, a
        // failing disk or a stop is.
        if (one != ExitCode::Complete && one != ExitCode::Incomplete)
            return one;
    }
    return code;
}

int Fetch::downloadWholeMemory(const BufferList& list) {
    if (!list.unread.isEmpty()) {
        FetchError(QStringLiteral("the memory is not downloaded: the logger did not send the "
                                  "parameters of buffer %1 (asked twice)")
                       .arg(list.unread.first() + 1));
        noteNotDownloaded(0, QStringLiteral("parameters unread"));
        return ExitCode::LinkLost;
    }
    TransferRequest request = TransferRequest::WholeMemoryDump(m_options.base);
    // The header file describes the buffers as listed; only those the logger
    // does not hold are asked for.
    request.heldRecords = list.records;
    return download(request, list);
}

void Fetch::noteNotDownloaded(qint16 buffer, const QString& result) {
    m_downloadsJson.append(
        QJsonObject{{"buffer", buffer > 0 ? QJsonValue(buffer) : QJsonValue("memory")},
                    {"files", QJsonArray()},
                    {"records", 0},
                    {"announced", 0},
                    {"seconds", 0},
                    {"blockSeconds", 0},
                    {"manifest", QJsonValue()},
                    {"result", result}});
}

int Fetch::download(const TransferRequest& base, const BufferList& list) {
    const bool wholeMemory = base.buffer == WholeMemory;
    TransferRequest request = base;
    request.serialNumberText = m_serialNumberText;
    request.locale = m_options.locale;
    request.stagedFiles = true;
    BufferTransfer transfer(request);
    transfer.setStopCheck([this] { return stopped(); });
    m_progressShown = false;
    const bool terminal = isatty(STDERR_FILENO);
    // The block loop is timed from the block count on, apart from the headers.
    QElapsedTimer clock, blockClock;
    clock.start();
    double blockSeconds = 0;
    transfer.setProgress([&](qint32 done, qint32 total) {
        if (done == 0)
            blockClock.start();
        blockSeconds = blockClock.nsecsElapsed() / 1e9;
        if (terminal)
            showProgress(done, total, wholeMemory);
    });
    const TransferResult result = transfer.run();
    if (m_progressShown)
        std::fputc('\n', stderr);

    const qint16 number = wholeMemory ? 0 : qint16(request.buffer + 1);
    QJsonValue manifest;
    int code = ExitCodeOf(result, stopped());
    if (result.complete) {
        // Whole data earns its proof even when a stop came after the last block.
        ManifestContent content{.serialNumberText = m_serialNumberText,
                                .buffer = number,
                                .records = wholeMemory ? list.records
                                                       : QVector<BufferRecord>{request.record},
                                .announced = result.announced,
                                .written = result.records,
                                .downloaded = QDateTime::currentDateTimeUtc(),
                                .files = result.files};
        const FileStatus written = WriteManifest(request.baseName, content);
        if (written.ok()) {
            manifest = ManifestFilePath(request.baseName);
            m_complete.insert(number, result.records);
        } else {
            FetchError(written.message);
            if (code == ExitCode::Complete)
                code = ExitCode::FileError;
        }
    } else if (code == ExitCode::Incomplete) {
        FetchError(QStringLiteral("%1 ended after %2 of %3 blocks; its files keep their "
                                  "\".part\" names")
                       .arg(wholeMemory ? QStringLiteral("the memory")
                                        : QStringLiteral("buffer %1").arg(number))
                       .arg(result.records)
                       .arg(result.announced));
    } else if (code != ExitCode::Stopped) {
        FetchError(result.message);
    }
    QJsonArray files;
    for (const QString& file : result.files)
        files.append(file);
    m_downloadsJson.append(QJsonObject{
        {"buffer", wholeMemory ? QJsonValue("memory") : QJsonValue(number)},
        {"files", files},
        {"records", result.records},
        {"announced", result.announced},
        {"seconds", clock.elapsed() / 1000.0},
        {"blockSeconds", blockSeconds},
        {"manifest", manifest},
        {"result", result.complete ? QStringLiteral("completed") : OutcomeName(result.outcome)}});
    return code;
}

void Fetch::showProgress(qint32 done, qint32 total, bool wholeMemory) {
    const int percent = ProgressPercent(done, total);
    const int filled = percent * ProgressBarWidth / 100;
    std::fprintf(stderr, "\r[%s%s] %3d%% %s", QByteArray(filled, '#').constData(),
                 QByteArray(ProgressBarWidth - filled, ' ').constData(), percent,
                 qPrintable(ProgressText(done, total, wholeMemory)));
    m_progressShown = true;
}
