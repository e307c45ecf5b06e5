// The clearing rules of an unattended session. The logger clears only its
// most recent buffer, so buffers go from the newest down, and the first that
// may not go keeps every older one. Just before its "C" a buffer must have
// been downloaded whole by this run (files and folder on the disk), must have
// ended its recording before it was listed, must still be the most recent of
// a logger that is not logging, and a fresh "#" must announce exactly the
// blocks written; only the logger's "C" in answer counts as cleared.
#include "Fetch.h"

#include "CommandLibrary.h"
#include "FetchLog.h"

#include <algorithm>

int Fetch::clearBuffers(const BufferList& list, const QList<qint16>& requested) {
    QMap<qint16, qint32> blocks;
    for (const qint16 n : requested)
        blocks.insert(n, m_complete.value(n, -1));
    return clearFromNewest(list, blocks);
}

int Fetch::clearWholeMemory(const BufferList& list) {
    // Only when the blocks before the terminator are exactly the buffers'
    // blocks does the dump hold each of them.
    QMap<qint16, qint32> blocks;
    qint64 sum = 0;
    for (qint16 n = 1; n <= list.records.size() && !stopped(); ++n) {
        const qint16 announced = Logger::InitialiseDownload(qint16(n - 1));
        if (announced < 0) {
            FetchError(QStringLiteral("no buffer is cleared: the logger did not announce the "
                                      "blocks of buffer %1")
                           .arg(n));
            return ExitCode::NotCleared;
        }
        blocks.insert(n, announced);
        sum += announced;
    }
    if (stopped())
        return ExitCode::Stopped;
    const qint32 written = m_complete.value(0, -1);
    if (sum != written) {
        FetchError(QStringLiteral("no buffer is cleared: the logger's buffers hold %1 blocks, "
                                  "the memory gave %2 before its terminator")
                       .arg(sum)
                       .arg(written));
        return ExitCode::NotCleared;
    }
    return clearFromNewest(list, blocks);
}

int Fetch::clearFromNewest(const BufferList& list, const QMap<qint16, qint32>& blocks) {
    if (blocks.isEmpty())
        return ExitCode::Complete;
    // Down to the oldest buffer asked for: one not downloaded above it keeps it.
    const qint16 oldest = blocks.firstKey();
    for (qint16 n = qint16(list.records.size()); n >= oldest; --n) {
        QString refusal = clearRefusal(n, list, blocks.value(n, -1));
        if (stopped())
            return ExitCode::Stopped;
        if (refusal.isEmpty()) {
            const qint16 reply = Logger::ClearBuffer();
            if (reply == 'C') {
                ++m_cleared;
                continue;
            }
            refusal = reply < 0 ? QStringLiteral("the logger did not answer the clear")
                                : QStringLiteral("the logger answered the clear with byte %1, "
                                                 "not \"C\"")
                                      .arg(reply);
            // The answer may be what was lost, not the clear: the count says.
            if (!stopped() && Logger::GetBuffers() == n - 1) {
                ++m_cleared;
                FetchError(QStringLiteral("buffer %1 is cleared, but %2; no older one is")
                               .arg(n)
                               .arg(refusal));
                return ExitCode::NotCleared;
            }
        }
        FetchError(QStringLiteral("buffer %1 is not cleared%2: %3")
                       .arg(n)
                       .arg(n > oldest ? QStringLiteral(", nor any older one") : QString())
                       .arg(refusal));
        return ExitCode::NotCleared;
    }
    return stopped() ? ExitCode::Stopped : ExitCode::Complete;
}

QString Fetch::clearRefusal(qint16 n, const BufferList& list, qint32 blocks) {
    if (blocks < 0)
        return QStringLiteral("it was not downloaded whole in this run");
    // A buffer still recording may gain blocks after its count was taken,
    // even if logging has stopped since.
    if (!IsLoggerDateTime(list.records.at(n - 1).stop))
        return QStringLiteral("it was still recording when it was listed");
    // After a stop the answer is not read: nothing more is sent.
    if (stopped())
        return {};
    const qint16 mode = Logger::GetLoggingMode();
    if (mode != 0 || stopped())
        return mode < 0 ? QStringLiteral("the logger did not say whether it is logging")
                        : QStringLiteral("the logger is logging or waiting to log");
    const qint16 held = Logger::GetBuffers();
    if (held != n || stopped())
        return QStringLiteral("it is no longer the most recent buffer (the logger says it holds "
                              "%1)")
            .arg(held);
    const qint16 announced = Logger::InitialiseDownload(qint16(n - 1));
    if (announced < 0)
        return QStringLiteral("the logger did not announce its blocks");
    if (announced != blocks)
        return QStringLiteral("the logger now announces %1 blocks for it, %2 were downloaded")
            .arg(announced)
            .arg(blocks);
    return {};
}
