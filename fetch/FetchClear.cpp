// The clearing rules of an unattended session. The logger clears only its
// most recent buffer, so buffers go from the newest down, and the first that
// may not go keeps every older one. Before its "C" a buffer must have its
// whole download on the disk (made by this run, or found there), its files
// still those the manifest vouches for, must have ended its recording before
// it was listed, must still be the most recent of a logger that is not
// logging, and a fresh "#" must announce exactly the blocks written; only the
// logger's "C" in answer counts as cleared.
#include "Fetch.h"

#include "CommandLibrary.h"
#include "FetchLog.h"
#include "Manifest.h"

#include <QDir>

namespace {

const QString NotDownloaded = QStringLiteral("it was not downloaded whole in this run");
// A buffer still recording may gain blocks after its count was taken, even if
// logging has stopped since.
const QString StillRecording = QStringLiteral("it was still recording when it was listed");

QString NoLongerMatching(const QString& base) {
    return QStringLiteral("its files under %1 are no longer those its manifest vouches for")
        .arg(QDir::toNativeSeparators(base));
}

} // namespace

ClearProof Fetch::proofOf(qint16 n, const BufferList& list) const {
    const QString base = m_complete.value(n);
    if (base.isEmpty())
        return {-1, NotDownloaded};
    if (n > 0 && !IsLoggerDateTime(list.records.at(n - 1).stop))
        return {-1, StillRecording};
    // The files are read back whole: whatever happened to them since they
    // were written, they are what is about to be the only copy.
    const std::optional<ManifestedSet> set = ReadManifest(base);
    if (!set || !FilesMatch(*set, true) ||
        (n > 0 ? !IsFinishedDownloadOf(*set, m_summary.serial, list.records.at(n - 1))
               : set->buffer != 0 || set->serial != m_summary.serial))
        return {-1, NoLongerMatching(base)};
    return {set->written, {}};
}

int Fetch::clearBuffers(const BufferList& list, const QList<qint16>& requested) {
    QMap<qint16, ClearProof> proofs;
    for (const qint16 n : requested)
        proofs.insert(n, proofOf(n, list));
    return clearFromNewest(list, proofs);
}

int Fetch::clearWholeMemory(const BufferList& list) {
    const ClearProof memory = proofOf(0, list);
    if (!memory.refusal.isEmpty()) {
        FetchError("no buffer is cleared: " + memory.refusal);
        return ExitCode::NotCleared;
    }
    // Only when the blocks before the terminator are exactly the buffers'
    // blocks does the dump hold each of them.
    QMap<qint16, ClearProof> proofs;
    qint64 sum = 0;
    for (qint16 n = 1; n <= list.records.size() && !stopped(); ++n) {
        const qint16 announced = Logger::InitialiseDownload(qint16(n - 1));
        if (announced < 0) {
            FetchError(QStringLiteral("no buffer is cleared: the logger did not announce the "
                                      "blocks of buffer %1")
                           .arg(n));
            return ExitCode::NotCleared;
        }
        proofs.insert(n, {announced, {}});
        sum += announced;
    }
    if (stopped())
        return ExitCode::Stopped;
    if (sum != memory.blocks) {
        FetchError(QStringLiteral("no buffer is cleared: the logger's buffers hold %1 blocks, "
                                  "the memory gave %2 before its terminator")
                       .arg(sum)
                       .arg(memory.blocks));
        return ExitCode::NotCleared;
    }
    return clearFromNewest(list, proofs);
}

int Fetch::clearFromNewest(const BufferList& list, const QMap<qint16, ClearProof>& proofs) {
    if (proofs.isEmpty())
        return ExitCode::Complete;
    // Down to the oldest buffer asked for: one not downloaded above it keeps it.
    const qint16 oldest = proofs.firstKey();
    for (qint16 n = qint16(list.records.size()); n >= oldest; --n) {
        const ClearProof proof = proofs.value(n, {-1, NotDownloaded});
        QString refusal =
            proof.refusal.isEmpty() ? clearRefusal(n, list, proof.blocks) : proof.refusal;
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
    if (!IsLoggerDateTime(list.records.at(n - 1).stop))
        return StillRecording;
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
