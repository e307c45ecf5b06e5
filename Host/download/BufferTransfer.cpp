#include "BufferTransfer.h"

#include "BufferList.h"
#include "CommandLibrary.h"
#include "Link.h"
#include "MemoryBlock.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>

const QString TransferTexts::Interrupted =
    QStringLiteral("Communication with the logger has been interrupted.\r\rPlease check the "
                   "communications cable or modem and the logger.\r\rThe download will be "
                   "terminated.  All data obtained has been written to the files.\rOnce "
                   "communications have been restored, recommence the download.");

namespace {

// Sets the comms wait limit for the transfer and puts the previous one back
// however the transfer ends.
class TimeOutScope {
public:
    explicit TimeOutScope(qint32 milliseconds) : m_saved(GetCommsTimeOut()) {
        SetCommsTimeOut(milliseconds);
    }
    ~TimeOutScope() { SetCommsTimeOut(m_saved); }
    TimeOutScope(const TimeOutScope&) = delete;
    TimeOutScope& operator=(const TimeOutScope&) = delete;

private:
    qint32 m_saved;
};

} // namespace

TransferRequest TransferRequest::OneBuffer(qint16 buffer, const BufferRecord& record,
                                           const QString& baseName) {
    TransferRequest request;
    request.buffer = buffer;
    request.record = record;
    request.baseName = baseName;
    return request;
}

TransferRequest TransferRequest::WholeMemoryDump(const QString& baseName) {
    TransferRequest request;
    request.buffer = WholeMemory;
    request.record = EmptyBufferRecord();
    request.baseName = baseName;
    return request;
}

int ProgressPercent(qint64 done, qint64 total) {
    if (total <= 0)
        return 100;
    const qint64 scaled = 100 * done;
    qint64 percent = scaled / total;
    const qint64 twiceRest = 2 * (scaled % total);
    if (twiceRest > total || (twiceRest == total && percent % 2 != 0))
        ++percent;
    return int(percent);
}

QString ProgressText(qint64 done, qint64 total, bool wholeMemory) {
    return (wholeMemory ? QStringLiteral("Received blocks %1 of %2")
                        : QStringLiteral("Received %1 of %2"))
        .arg(done)
        .arg(total);
}

QString TimeTakenText(qint64 seconds) {
    const auto two = [](qint64 number) {
        return QStringLiteral("%1").arg(number, 2, 10, QLatin1Char('0'));
    };
    return two(seconds / 3600) + u':' + two(seconds / 60 % 60) + u':' + two(seconds % 60);
}

QString BaseNameFromChosenFile(const QString& path) {
    const QString chosen = QDir::fromNativeSeparators(path);
    const qsizetype slash = chosen.lastIndexOf(u'/');
    QString base = chosen;
    // Only a point in the file name starts an extension, not one in a folder's name.
    if (chosen.indexOf(u'.', slash + 1) >= 0)
        base = chosen.left(chosen.lastIndexOf(u'.'));
    if (base.endsWith(QStringLiteral("_Sta")))
        base.chop(4);
    else if (base.size() >= 5 && base.mid(base.size() - 5, 4) == QStringLiteral("_Leq"))
        base.chop(5);
    return QDir::toNativeSeparators(base);
}

BufferTransfer::BufferTransfer(TransferRequest request) : m_request(std::move(request)) {}

TransferResult BufferTransfer::run() {
    QElapsedTimer clock;
    clock.start();
    m_abort = false;
    HeaderContext context{m_request.serialNumberText, m_request.locale};
    DataFileSet files(m_request.baseName, context,
                      m_request.stagedFiles ? FileNaming::Staged : FileNaming::InPlace);
    files.setFileOpened(m_fileOpened);
    TransferResult result;
    // The buffers' records are quick replies: read under the usual wait limit,
    // so that buffers the logger does not answer for cost seconds, not minutes.
    // Staged files wait for the count; the window's whole-memory files come
    // before it.
    bool ready = true;
    if (wholeMemory())
        ready = m_request.stagedFiles ? readHeaderRecords(result) : openFiles(files, result);
    if (ready) {
        TimeOutScope wait(m_request.blockTimeOut);
        transfer(files, result);
    }
    const FileStatus closed = files.close();
    if (!closed.ok() && result.outcome != TransferResult::Outcome::FileError)
        fail(result, closed);
    if (result.complete && m_request.stagedFiles)
        if (const FileStatus promoted = files.promote(); !promoted.ok())
            fail(result, promoted);
    result.files = files.createdFiles();
    result.elapsedSeconds = clock.elapsed() / 1000;
    const bool ended = result.outcome == TransferResult::Outcome::Completed ||
                       result.outcome == TransferResult::Outcome::Terminated;
    // A stop asked for is not held up by a logger that has gone to sleep.
    if (ended && m_request.checkLoggerAwake && !stopRequested())
        result.loggerAwake = WakeLogger();
    return result;
}

bool BufferTransfer::readHeaderRecords(TransferResult& result) {
    m_headerRecords = m_request.heldRecords.mid(0, MaxBuffers);
    while (m_headerRecords.size() < MaxBuffers) {
        if (abortRequested()) {
            result.outcome = TransferResult::Outcome::Terminated;
            result.message = TransferTexts::Terminated;
            return false;
        }
        m_headerRecords << ProgramRead(qint16(m_headerRecords.size()));
    }
    return true;
}

bool BufferTransfer::openFiles(DataFileSet& files, TransferResult& result) {
    const FileStatus status = wholeMemory() ? files.openForWholeMemory([this](int buffer) {
        return buffer < m_headerRecords.size() ? m_headerRecords.at(buffer)
                                               : ProgramRead(qint16(buffer));
    })
                                            : files.openForBuffer(m_request.record);
    if (!status.ok())
        fail(result, status);
    return status.ok();
}

void BufferTransfer::fail(TransferResult& result, const FileStatus& status) {
    result.outcome = TransferResult::Outcome::FileError;
    result.complete = false;
    result.fileError = status;
    result.message =
        status.message + QStringLiteral("\rThe download has been stopped after %1 records; the "
                                        "files hold every record before that.")
                             .arg(result.records);
}

void BufferTransfer::transfer(DataFileSet& files, TransferResult& result) {
    result.announced = Logger::InitialiseDownload(wholeMemory() ? WholeMemory : m_request.buffer);
    // Without a block count nothing can be read: files holding their headers
    // only must not pass for a finished download, and staged ones are not
    // even begun.
    const bool counted = result.announced >= 0;
    const bool opened = wholeMemory() && !m_request.stagedFiles;
    if (!opened && (counted || !m_request.stagedFiles) && !openFiles(files, result))
        return;
    if (!counted) {
        result.outcome = TransferResult::Outcome::Interrupted;
        result.message = TransferTexts::Interrupted;
        return;
    }
    report(0, result.announced);
    blockLoop(files, result);
}

void BufferTransfer::blockLoop(DataFileSet& files, TransferResult& result) {
    const qint32 total = result.announced;
    const int spacing = wholeMemory() ? 0 : m_request.record.leqLength;
    result.outcome = TransferResult::Outcome::Completed;
    result.message = TransferTexts::Completed;
    for (qint32 k = 1; k <= total; ++k) {
        if (abortRequested())
            break;
        // The only moment a direct-cable transfer lets the Abort button be pressed.
        if (k % EventPassBlocks == 0 && QCoreApplication::instance())
            QCoreApplication::processEvents();
        const QByteArray block = Logger::ReadBlock();
        if (block.size() != MemoryBlockLength) {
            result.outcome = TransferResult::Outcome::Interrupted;
            result.message = TransferTexts::Interrupted;
            return;
        }
        if (IsTerminator(block) && m_request.stopAtTerminator) {
            result.terminatorReached = true;
            break;
        }
        // The block read while Abort was pressed is not written: the operator
        // asked to stop before it.
        if (abortRequested())
            break;
        const FileStatus status = files.write(DecodeBlock(block, spacing));
        if (!status.ok())
            return fail(result, status);
        ++result.records;
        report(result.records, total);
    }
    if (result.records < total) {
        result.outcome = TransferResult::Outcome::Terminated;
        result.message = TransferTexts::Terminated;
    }
    // The whole memory ends at the terminator after the newest buffer.
    result.complete = result.records == total || (wholeMemory() && result.terminatorReached);
}

void BufferTransfer::report(qint32 done, qint32 total) const {
    if (m_progress)
        m_progress(done, total);
}
