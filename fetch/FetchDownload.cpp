// The downloads of an unattended session: each buffer, or the whole memory,
// into staged files under a base named from its fields, that take their
// names only when every block is in them, and then the manifest that proves
// the set. A buffer whose complete download is already there is skipped.
#include "Fetch.h"

#include "BaseName.h"
#include "FetchJson.h"
#include "FetchLog.h"
#include "Manifest.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>

#include <cstdio>
#include <unistd.h>

namespace {

constexpr int ProgressBarWidth = 30;

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

QJsonArray FilesJson(const QStringList& files) {
    QJsonArray array;
    for (const QString& file : files)
        array.append(file);
    return array;
}

// The JSON entry of a download that never began.
QJsonObject NotBegun(const QString& result, const QString& error) {
    return {{"files", QJsonArray()}, {"records", 0},
            {"announced", 0},        {"seconds", 0},
            {"blockSeconds", 0},     {"manifest", QJsonValue()},
            {"result", result},      {"error", TextOrNull(error)}};
}

} // namespace

QString Fetch::replacementRefusal(const std::optional<ManifestedSet>& earlier, const QString& base,
                                  const BufferList& list) const {
    if (m_options.overwrite || !earlier)
        return {};
    QStringList held;
    for (const BufferRecord& record : list.records)
        held << IsoDateTimeText(record.start);
    // Replacing a set is safe while the logger still holds all it recorded.
    for (const QString& start : earlier->starts)
        if (earlier->serial != m_summary.serial || !held.contains(start))
            return QStringLiteral("%1 holds the complete download of a recording (logger %2, "
                                  "start %3) that this logger no longer holds: it is kept, and "
                                  "nothing is downloaded there; give --base a {start} field or "
                                  "another folder, or --overwrite to replace it")
                .arg(QDir::toNativeSeparators(ManifestFilePath(base)), earlier->serial,
                     start.isEmpty() ? QStringLiteral("unset") : start);
    return {};
}

QString Fetch::baseFor(qint16 buffer, const BufferList& list) {
    const BufferRecord record =
        buffer > 0 ? list.records.at(buffer - 1) : list.records.value(0, EmptyBufferRecord());
    QString base = ExpandBase(m_options.base, {.serial = m_summary.serial,
                                               .buffer = buffer,
                                               .start = record.start,
                                               .title = TitleText(record.title)})
                       .base;
    // Names that do not hang on how many buffers the logger holds today, and
    // never one buffer's over another's (two may start in the same second).
    const bool eachNamed = BaseNamesEachBuffer(m_options.base);
    if (buffer > 0 && ((m_options.severalBuffers() && !eachNamed) || m_bases.contains(base)))
        base += QStringLiteral("_B%1").arg(buffer);
    m_bases << base;
    const QString folder = QFileInfo(base).absolutePath();
    if (!QDir().mkpath(folder)) {
        FetchError("cannot make the folder " + folder);
        return {};
    }
    return base;
}

void Fetch::noteDownload(qint16 buffer, const BufferList& list, const QJsonObject& outcome) {
    QJsonObject entry = outcome;
    const QJsonObject described =
        buffer > 0
            ? BufferJson(list.records.at(buffer - 1))
            : QJsonObject{{"title", QJsonValue()}, {"start", QJsonValue()}, {"stop", QJsonValue()}};
    for (auto field = described.begin(); field != described.end(); ++field)
        entry.insert(field.key(), field.value());
    entry.insert("buffer", buffer > 0 ? QJsonValue(buffer) : QJsonValue("memory"));
    m_summary.downloads.append(entry);
}

int Fetch::downloadBuffers(const BufferList& list, const QList<qint16>& buffers) {
    int code = ExitCode::Complete;
    for (const qint16 n : buffers) {
        if (stopped())
            return ExitCode::Stopped;
        if (list.unread.contains(qint16(n - 1))) {
            // Its header, percentile headings and Leq times would be guesses.
            const QString error = QStringLiteral("buffer %1 is not downloaded: the logger did "
                                                 "not send its parameters (asked twice)")
                                      .arg(n);
            FetchError(error);
            noteDownload(n, list, NotBegun(ResultName(ExitCode::LinkLost), error));
            if (code == ExitCode::Complete)
                code = ExitCode::LinkLost;
            continue;
        }
        const BufferRecord& record = list.records.at(n - 1);
        const QString base = baseFor(n, list);
        if (base.isEmpty())
            return ExitCode::FileError;
        // A recording that has ended never changes: its download is done once.
        const std::optional<ManifestedSet> earlier = ReadManifest(base);
        if (!m_options.overwrite && earlier &&
            IsFinishedDownloadOf(*earlier, m_summary.serial, record) &&
            FilesMatch(*earlier, false)) {
            m_complete.insert(n, base);
            QJsonObject skipped = NotBegun(QStringLiteral("skipped"), QString());
            skipped.insert("files", FilesJson(earlier->files));
            skipped.insert("records", earlier->written);
            skipped.insert("announced", earlier->announced);
            skipped.insert("manifest", ManifestFilePath(base));
            noteDownload(n, list, skipped);
            continue;
        }
        if (const QString refusal = replacementRefusal(earlier, base, list); !refusal.isEmpty()) {
            FetchError(refusal);
            noteDownload(n, list, NotBegun(ResultName(ExitCode::FileError), refusal));
            if (code == ExitCode::Complete)
                code = ExitCode::FileError;
            continue;
        }
        const int one = download(TransferRequest::OneBuffer(qint16(n - 1), record, base), list);
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
        const QString error = QStringLiteral("the memory is not downloaded: the logger did not "
                                             "send the parameters of buffer %1 (asked twice)")
                                  .arg(list.unread.first() + 1);
        FetchError(error);
        noteDownload(0, list, NotBegun(ResultName(ExitCode::LinkLost), error));
        return ExitCode::LinkLost;
    }
    const QString base = baseFor(0, list);
    if (base.isEmpty())
        return ExitCode::FileError;
    if (const QString refusal = replacementRefusal(ReadManifest(base), base, list);
        !refusal.isEmpty()) {
        FetchError(refusal);
        noteDownload(0, list, NotBegun(ResultName(ExitCode::FileError), refusal));
        return ExitCode::FileError;
    }
    TransferRequest request = TransferRequest::WholeMemoryDump(base);
    // The header file describes the buffers as listed; only those the logger
    // does not hold are asked for.
    request.heldRecords = list.records;
    return download(request, list);
}

int Fetch::download(const TransferRequest& base, const BufferList& list) {
    const bool wholeMemory = base.buffer == WholeMemory;
    TransferRequest request = base;
    request.serialNumberText = m_summary.serial;
    request.locale = m_options.locale;
    request.stagedFiles = true;
    BufferTransfer transfer(request);
    transfer.setStopCheck([this] { return stopped(); });
    m_progressShown = false;
    const bool progressBar = !m_options.quiet && isatty(STDERR_FILENO);
    // The block loop is timed from the block count on, apart from the headers.
    QElapsedTimer clock, blockClock;
    clock.start();
    double blockSeconds = 0;
    transfer.setProgress([&](qint32 done, qint32 total) {
        if (done == 0)
            blockClock.start();
        blockSeconds = blockClock.nsecsElapsed() / 1e9;
        if (progressBar)
            showProgress(done, total, wholeMemory);
    });
    const TransferResult result = transfer.run();
    if (m_progressShown)
        std::fputc('\n', stderr);

    const qint16 number = wholeMemory ? 0 : qint16(request.buffer + 1);
    QJsonValue manifest;
    QString error;
    int code = ExitCodeOf(result, stopped());
    if (result.complete) {
        // Whole data earns its proof even when a stop came after the last block.
        ManifestContent content{.serialNumberText = m_summary.serial,
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
            m_complete.insert(number, request.baseName);
        } else {
            error = written.message;
            if (code == ExitCode::Complete)
                code = ExitCode::FileError;
        }
    } else if (code == ExitCode::Incomplete) {
        error = QStringLiteral("%1 ended after %2 of %3 blocks; its files keep their \".part\" "
                               "names")
                    .arg(wholeMemory ? QStringLiteral("the memory")
                                     : QStringLiteral("buffer %1").arg(number))
                    .arg(result.records)
                    .arg(result.announced);
    } else if (code != ExitCode::Stopped) {
        error = result.message;
    }
    if (!error.isEmpty())
        FetchError(error);
    noteDownload(number, list,
                 {{"files", FilesJson(result.files)},
                  {"records", result.records},
                  {"announced", result.announced},
                  {"seconds", clock.elapsed() / 1000.0},
                  {"blockSeconds", blockSeconds},
                  {"manifest", manifest},
                  {"result", ResultName(code, code == ExitCode::Stopped && timeLimitReached())},
                  {"error", error.isEmpty() ? QJsonValue() : QJsonValue(error.simplified())}});
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
