#pragma once

// The block-by-block download of one buffer (`store_data`) or of the logger's
// whole memory (`dump_all`) into the data files, without any window: the
// download window and an unattended command-line download run this same loop
// and differ only in how they show progress, offer Abort and word the outcome.

#include "BufferRecord.h"
#include "DataFiles.h"

#include <QLocale>
#include <QString>
#include <QStringList>
#include <QVector>

#include <atomic>
#include <functional>

// "Initialise download" with this number reads the whole memory.
constexpr qint16 WholeMemory = 8;
// A block may take this long; the usual wait limit is far shorter.
constexpr qint32 TransferTimeOut = 20000;
// User-interface events are let through once every this many blocks.
constexpr int EventPassBlocks = 30;

struct TransferRequest {
    qint16 buffer = 0; // 0 to 7, or WholeMemory
    // The buffer's parameters as the buffer list read them (one buffer only;
    // the whole-memory download reads every buffer's record itself).
    BufferRecord record;
    QString baseName; // a path without extension
    QString serialNumberText;
    QLocale locale = QLocale::system();
    // A terminator block ends the transfer; only the factory tools read past it.
    bool stopAtTerminator = true;
    // After a transfer that was not interrupted, check the logger is still awake
    // (`WakeLogger`); the caller unlinks when the operator gives up there.
    bool checkLoggerAwake = true;
    // The comms wait limit during the transfer.
    qint32 blockTimeOut = TransferTimeOut;
    // For a download where no one was asked before files are replaced: the
    // files are staged (see DataFileSet) and take their names only when the
    // transfer is complete, and none is created when the logger gives no count.
    bool stagedFiles = false;
    // Whole memory: the records the caller already holds, for buffers 0 on;
    // the others of the eight are read here with "Program read".
    QVector<BufferRecord> heldRecords = {};

    static TransferRequest OneBuffer(qint16 buffer, const BufferRecord& record,
                                     const QString& baseName);
    static TransferRequest WholeMemoryDump(const QString& baseName);
};

struct TransferResult {
    enum class Outcome {
        Completed,   // every announced block was written
        Terminated,  // Abort, or a terminator block: what came before is written
        Interrupted, // the logger stopped answering (or never gave a block count)
        FileError,   // a data file could not be created or written
    };
    Outcome outcome = Outcome::Completed;
    // For the operator, with "\r" line breaks: the final panel's result text, or
    // the problem and what the files hold.
    QString message;
    qint32 records = 0;        // blocks received and written
    qint32 announced = 0;      // blocks the logger announced (-1: no answer)
    qint64 elapsedSeconds = 0; // start to end of the transfer
    // The files hold every block of the buffer, or of the memory up to its
    // terminator (staged files have then taken their names).
    bool complete = false;
    bool terminatorReached = false;
    QStringList files;       // every data file created, in order, as named now
    FileStatus fileError;    // the failure, when outcome is FileError
    bool loggerAwake = true; // false: the operator gave up waking the logger

    bool succeeded() const { return outcome == Outcome::Completed; }
};

// Texts the transfer's outcome and its progress are shown with.
namespace TransferTexts {
inline const QString Completed = QStringLiteral("Data has been successfully downloaded.");
inline const QString Terminated = QStringLiteral("The download has been terminated");
inline const QString ProblemTitle = QStringLiteral("Download problem");
extern const QString Interrupted;
} // namespace TransferTexts

// 100 × done ÷ total rounded to the nearest, halves to even; 100 when there is
// nothing to read.
int ProgressPercent(qint64 done, qint64 total);
// "Received 5 of 9", or "Received blocks 5 of 9" for the whole memory.
QString ProgressText(qint64 done, qint64 total, bool wholeMemory);
// "hh:mm:ss"; hours go on past 24.
QString TimeTakenText(qint64 seconds);
// The base name from the file the operator picked: the extension dropped, and a
// picked statistical file or Leq file gives its download's base again.
QString BaseNameFromChosenFile(const QString& path);

class BufferTransfer {
public:
    using Progress = std::function<void(qint32 done, qint32 total)>;

    explicit BufferTransfer(TransferRequest request);

    // Called after every block written, and once with 0 before the first.
    void setProgress(Progress progress) { m_progress = std::move(progress); }
    void setFileOpened(DataFileSet::FileOpened fileOpened) { m_fileOpened = std::move(fileOpened); }

    // Safe from an event handler run during the transfer's event passes, or
    // from another thread: takes effect before the next block is written.
    void abort() { m_abort = true; }
    // Asked before every exchange of the transfer; true acts as abort(). For a
    // stop that comes where no event is handled (a signal during a transfer).
    void setStopCheck(std::function<bool()> stopCheck) { m_stopCheck = std::move(stopCheck); }
    bool abortRequested() const { return m_abort || stopRequested(); }

    // Runs the whole transfer. The comms wait limit is raised for it and set
    // back on every way out; the files are closed on every way out.
    TransferResult run();

private:
    bool wholeMemory() const { return m_request.buffer == WholeMemory; }
    bool stopRequested() const { return m_stopCheck && m_stopCheck(); }
    // Staged whole memory: the eight records of the header file, before the
    // count is asked; false when a stop came first.
    bool readHeaderRecords(TransferResult& result);
    // The files with their headers; false after a file error.
    bool openFiles(DataFileSet& files, TransferResult& result);
    void transfer(DataFileSet& files, TransferResult& result);
    void blockLoop(DataFileSet& files, TransferResult& result);
    static void fail(TransferResult& result, const FileStatus& status);
    void report(qint32 done, qint32 total) const;

    TransferRequest m_request;
    Progress m_progress;
    DataFileSet::FileOpened m_fileOpened;
    std::function<bool()> m_stopCheck;
    std::atomic<bool> m_abort = false;
    // Whole memory: the records already read (the window reads each as its
    // header section is written).
    QVector<BufferRecord> m_headerRecords;
};
