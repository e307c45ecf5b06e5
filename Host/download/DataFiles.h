#pragma once

// The files of one download, all named from the base name the operator chose:
// base_Sta.csv (statistical records), base.log (events and errors),
// base_Leq0.csv, base_Leq1.csv, ... (short-term Leq values, at most 14400 a
// file) and, for a whole-memory download, base_Hdr.csv (the eight buffers'
// header blocks). Lines go to disk as each block arrives and every line is
// flushed and checked, so a full disk or a vanished folder is reported at the
// line that failed, naming the file, and the files hold everything before it.
//
// An unattended download writes its files staged: each under its name with
// ".part" added, taking its name only when the transfer is complete, so that
// an earlier download under the same base stays whole until a complete one
// replaces it, and a partial file never carries a whole file's name.

#include "BufferRecord.h"
#include "HeaderBlock.h"
#include "MemoryBlock.h"

#include <QFile>
#include <QString>
#include <QStringList>

#include <QVector>

#include <functional>
#include <memory>
#include <optional>

constexpr int LeqLinesPerFile = 14400;

// Numbered as the download window's file labels.
enum class DataFileKind { EventLog = 0, Statistical = 1, ShortTermLeq = 2, Header = 3 };

// An empty message means success; otherwise the message is for the operator
// and names the file.
struct FileStatus {
    QString path;
    QString message;
    bool ok() const { return message.isEmpty(); }
};

QString StatisticalFilePath(const QString& baseName);
QString EventLogPath(const QString& baseName);
QString LeqFilePath(const QString& baseName, int index);
QString HeaderFilePath(const QString& baseName);
// The unattended download's record of a complete set: names, sizes, digests.
QString ManifestFilePath(const QString& baseName);

// Added to the name of a staged file until its transfer is complete.
inline const QString PartSuffix = QStringLiteral(".part");

// The files of a download under this base that are on disk (the manifest,
// statistical file, event log, header file and the Leq files from 0 on), each
// name with suffix added.
QStringList ExistingDataFiles(const QString& baseName, const QString& suffix = {});

enum class FileNaming { InPlace, Staged };

class DataFileSet {
public:
    using FileOpened = std::function<void(DataFileKind kind, const QString& path)>;

    DataFileSet(const QString& baseName, const HeaderContext& context,
                FileNaming naming = FileNaming::InPlace);
    ~DataFileSet(); // whatever is still open is closed
    DataFileSet(const DataFileSet&) = delete;
    DataFileSet& operator=(const DataFileSet&) = delete;

    // Told of every file as it is created (the window shows the names).
    void setFileOpened(FileOpened fileOpened);

    // One buffer: the statistical file and the event log, each with the header
    // block, an empty line and its heading line, and, when the buffer records
    // short-term Leq, the first Leq file with header and heading line.
    FileStatus openForBuffer(const BufferRecord& record);

    // Whole memory: the header file with one section per buffer 0 to 7 (header
    // block, empty line, statistical heading line, empty line), recordOf
    // giving each buffer's record as its section is written, closed again;
    // then the event log with its heading line only, an empty statistical
    // file and the first Leq file without header.
    FileStatus openForWholeMemory(const std::function<BufferRecord(int buffer)>& recordOf);

    // The block's lines, each flushed to disk. A Leq file that reaches 14400
    // values is closed and the next one opened (with header for one buffer).
    FileStatus write(const DecodedBlock& block);

    // Closes every file; a failure of the last flush is reported.
    FileStatus close();

    // Staged files, once closed: each flushed to disk and renamed into place.
    // They replace an earlier download under the same base as a whole: its
    // manifest goes first, its files that this set does not have and any
    // ".part" files of the base go last; then the folder is flushed.
    FileStatus promote();

    QStringList createdFiles() const { return m_created; }
    int leqFileIndex() const { return m_leqIndex; }
    int leqLineCount() const { return m_leqLines; }

private:
    class File;

    FileStatus create(std::unique_ptr<File>& file, DataFileKind kind, const QString& path);
    FileStatus writeHeaderFile(const std::function<BufferRecord(int buffer)>& recordOf);
    FileStatus openLeqFile();
    FileStatus writeStatistical(const StatisticalRecord& record);
    FileStatus writeLeq(const LeqRecord& record);
    FileStatus writeEvent(const EventRecord& record);
    QByteArray dateField(const LoggerDateTime& stamp) const;

    QString m_base;
    HeaderContext m_context;
    FileNaming m_naming;
    FileOpened m_fileOpened;
    // The buffer's record for one-buffer downloads; Leq files then get headers.
    std::optional<BufferRecord> m_record;
    std::unique_ptr<File> m_statistical, m_events, m_leq;
    int m_leqIndex = 0;
    int m_leqLines = 0;
    QStringList m_created;
};
