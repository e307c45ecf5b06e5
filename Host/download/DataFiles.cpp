#include "DataFiles.h"

#include "DataFileFormat.h"
#include "DiskSync.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <cstring>

// One output file. Each write goes through to the system at once, so that an
// error comes back from the line that caused it rather than from a close long
// after the transfer.
class DataFileSet::File {
public:
    explicit File(const QString& path) : m_file(path) {}
    ~File() { m_file.close(); }

    QString path() const { return m_file.fileName(); }

    FileStatus open() {
        // Every file of a download is created anew.
        if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return failure(QStringLiteral("Cannot create the file %1."));
        return {};
    }

    FileStatus write(const QByteArray& bytes) {
        if (m_file.write(bytes) != bytes.size() || !m_file.flush())
            return failure(QStringLiteral("Cannot write to the file %1."));
        return {};
    }

    FileStatus close() {
        if (!m_file.isOpen())
            return {};
        const bool flushed = m_file.flush();
        m_file.close();
        if (!flushed || m_file.error() != QFileDevice::NoError)
            return failure(QStringLiteral("Cannot write to the file %1."));
        return {};
    }

private:
    FileStatus failure(const QString& what) const {
        const QString name = QDir::toNativeSeparators(m_file.fileName());
        return {m_file.fileName(), what.arg(name) + u'\r' + m_file.errorString()};
    }

    QFile m_file;
};

// The first failure of a sequence of steps; later steps do not run.
#define RETURN_IF_FAILED(expression)                                                               \
    do {                                                                                           \
        FileStatus status_ = (expression);                                                         \
        if (!status_.ok())                                                                         \
            return status_;                                                                        \
    } while (false)

namespace {
const QByteArray EmptyLine = "\r\n";
// An earlier set's files while a new set takes their names.
const QString AsideSuffix = QStringLiteral(".earlier");
} // namespace

QString StatisticalFilePath(const QString& baseName) {
    return baseName + QStringLiteral("_Sta.csv");
}

QString EventLogPath(const QString& baseName) {
    return baseName + QStringLiteral(".log");
}

QString LeqFilePath(const QString& baseName, int index) {
    return baseName + QStringLiteral("_Leq") + QString::number(index) + QStringLiteral(".csv");
}

QString HeaderFilePath(const QString& baseName) {
    return baseName + QStringLiteral("_Hdr.csv");
}

QString ManifestFilePath(const QString& baseName) {
    return baseName + QStringLiteral("_Manifest.json");
}

QStringList ExistingDataFiles(const QString& baseName, const QString& suffix) {
    QStringList existing;
    for (const QString& path : {ManifestFilePath(baseName), StatisticalFilePath(baseName),
                                EventLogPath(baseName), HeaderFilePath(baseName)})
        if (QFileInfo::exists(path + suffix))
            existing << path + suffix;
    // The Leq files by listing the folder, so that a gap in their numbers
    // hides none of those after it.
    const QFileInfo base(baseName);
    const QRegularExpression leqName(
        u'^' + QRegularExpression::escape(base.fileName() + QStringLiteral("_Leq")) +
        QStringLiteral("(0|[1-9][0-9]{0,8})") +
        QRegularExpression::escape(QStringLiteral(".csv") + suffix) + u'$');
    QList<int> indices;
    for (const QString& name : QDir(base.absolutePath()).entryList(QDir::Files | QDir::Hidden))
        if (const QRegularExpressionMatch match = leqName.match(name); match.hasMatch())
            indices << match.captured(1).toInt();
    std::sort(indices.begin(), indices.end());
    for (const int index : std::as_const(indices))
        existing << LeqFilePath(baseName, index) + suffix;
    return existing;
}

DataFileSet::DataFileSet(const QString& baseName, const HeaderContext& context, FileNaming naming)
    : m_base(baseName), m_context(context), m_naming(naming) {}

DataFileSet::~DataFileSet() = default;

void DataFileSet::setFileOpened(FileOpened fileOpened) {
    m_fileOpened = std::move(fileOpened);
}

FileStatus DataFileSet::create(std::unique_ptr<File>& file, DataFileKind kind,
                               const QString& path) {
    const bool staged = m_naming == FileNaming::Staged;
    // A manifest vouches for the files it names: once they are being
    // replaced in place it no longer does.
    if (!staged && m_created.isEmpty() && QFileInfo::exists(ManifestFilePath(m_base)) &&
        !QFile::remove(ManifestFilePath(m_base)))
        return {ManifestFilePath(m_base),
                QStringLiteral("Cannot remove the file %1.")
                    .arg(QDir::toNativeSeparators(ManifestFilePath(m_base)))};
    const QString written = staged ? path + PartSuffix : path;
    file = std::make_unique<File>(written);
    RETURN_IF_FAILED(file->open());
    m_created << written;
    if (m_fileOpened)
        m_fileOpened(kind, written);
    return {};
}

FileStatus DataFileSet::openForBuffer(const BufferRecord& record) {
    m_record = record;
    const QByteArray header = HeaderBlock(record, m_context);
    RETURN_IF_FAILED(create(m_statistical, DataFileKind::Statistical, StatisticalFilePath(m_base)));
    RETURN_IF_FAILED(m_statistical->write(header + EmptyLine + StatisticalHeadingLine(record)));
    RETURN_IF_FAILED(create(m_events, DataFileKind::EventLog, EventLogPath(m_base)));
    RETURN_IF_FAILED(m_events->write(header + EmptyLine + EventHeadingLine()));
    m_leqIndex = 0;
    m_leqLines = 0;
    if (record.leqMode != 0)
        RETURN_IF_FAILED(openLeqFile());
    return {};
}

FileStatus DataFileSet::writeHeaderFile(const std::function<BufferRecord(int)>& recordOf) {
    std::unique_ptr<File> file;
    RETURN_IF_FAILED(create(file, DataFileKind::Header, HeaderFilePath(m_base)));
    // Always eight sections: a buffer the logger does not hold is described by
    // whatever it returns for it.
    for (int buffer = 0; buffer < 8; ++buffer) {
        const BufferRecord record = recordOf(buffer);
        RETURN_IF_FAILED(file->write(HeaderBlock(record, m_context) + EmptyLine +
                                     StatisticalHeadingLine(record) + EmptyLine));
    }
    return file->close();
}

FileStatus DataFileSet::openForWholeMemory(const std::function<BufferRecord(int)>& recordOf) {
    RETURN_IF_FAILED(writeHeaderFile(recordOf));
    m_record.reset();
    RETURN_IF_FAILED(create(m_events, DataFileKind::EventLog, EventLogPath(m_base)));
    RETURN_IF_FAILED(m_events->write(EventHeadingLine()));
    RETURN_IF_FAILED(create(m_statistical, DataFileKind::Statistical, StatisticalFilePath(m_base)));
    m_leqIndex = 0;
    m_leqLines = 0;
    return openLeqFile();
}

FileStatus DataFileSet::openLeqFile() {
    if (m_leq)
        RETURN_IF_FAILED(m_leq->close());
    RETURN_IF_FAILED(create(m_leq, DataFileKind::ShortTermLeq, LeqFilePath(m_base, m_leqIndex)));
    const QByteArray header = m_record ? HeaderBlock(*m_record, m_context) : QByteArray();
    return m_leq->write(header + LeqHeadingLine());
}

FileStatus DataFileSet::write(const DecodedBlock& block) {
    // Blocks before the files are open would be lost without a word.
    if (!m_events || !m_statistical)
        return {m_base, QStringLiteral("The data files of %1 are not open.").arg(m_base)};
    if (const auto* statistical = std::get_if<StatisticalRecord>(&block))
        return writeStatistical(*statistical);
    if (const auto* leq = std::get_if<LeqRecord>(&block))
        return writeLeq(*leq);
    return writeEvent(std::get<EventRecord>(block));
}

// A stamp that is not a real date-time gets an empty date, so that no reader
// takes it for one (the viewer leaves the row out and counts it rather than
// drawing it at another row's time), and its time as the raw numbers; the
// values are kept.
QByteArray DataFileSet::dateField(const LoggerDateTime& stamp) const {
    return TextField(ShortDateIn(m_context.locale, stamp));
}

FileStatus DataFileSet::writeStatistical(const StatisticalRecord& record) {
    QList<QByteArray> fields = {dateField(record.stamp), TextField(HourMinuteText(record.stamp)),
                                NumberText(record.leq), NumberText(record.lmax)};
    for (const double level : record.percentiles)
        fields << NumberText(level);
    fields << NumberText(record.lmin) << NumberText(record.temperature)
           << NumberText(record.battery)
           << TextField(record.overload ? QStringLiteral("20") : QStringLiteral("0"));
    return m_statistical->write(CsvLine(fields));
}

FileStatus DataFileSet::writeLeq(const LeqRecord& record) {
    // A buffer whose record says "no short-term Leq" (a failed read gives that)
    // may still hold Leq blocks: they get their file rather than being lost.
    if (!m_leq)
        RETURN_IF_FAILED(openLeqFile());
    // The lines of one block go out together and are checked once.
    QByteArray lines;
    for (const LeqValue& value : record.values) {
        lines += CsvLine({dateField(value.time), TextField(TimeText(value.time)),
                          NumberText(value.level), NumberText(value.overload ? 20 : 0)});
        if (++m_leqLines == LeqLinesPerFile) {
            RETURN_IF_FAILED(m_leq->write(lines));
            lines.clear();
            ++m_leqIndex;
            m_leqLines = 0;
            RETURN_IF_FAILED(openLeqFile());
        }
    }
    if (record.endedEarly)
        lines += EmptyLine;
    if (lines.isEmpty())
        return {};
    return m_leq->write(lines);
}

FileStatus DataFileSet::writeEvent(const EventRecord& record) {
    return m_events->write(CsvLine(
        {dateField(record.stamp), TextField(TimeText(record.stamp)), TextField(record.text)}));
}

FileStatus DataFileSet::promote() {
    const auto failure = [](const QString& path, const QString& what, int error) {
        return FileStatus{path, what.arg(QDir::toNativeSeparators(path)) + u'\r' +
                                    QString::fromLocal8Bit(std::strerror(error))};
    };
    if (const QString unsynced = SyncToDisk(m_created); !unsynced.isEmpty())
        return failure(unsynced, QStringLiteral("Cannot flush %1 to the disk."), errno);
    // The earlier set steps aside whole before the new one takes the names,
    // its manifest first, so that nothing vouches for a mixture meanwhile and
    // a rename that fails half way puts everything back as it was.
    const QStringList earlier = ExistingDataFiles(m_base);
    const auto putBack = [&earlier](qsizetype count) {
        while (count-- > 0)
            ReplaceFile(earlier.at(count) + AsideSuffix, earlier.at(count));
    };
    for (qsizetype i = 0; i < earlier.size(); ++i) {
        if (!ReplaceFile(earlier.at(i), earlier.at(i) + AsideSuffix)) {
            const int error = errno;
            putBack(i);
            return failure(earlier.at(i), QStringLiteral("Cannot rename the file %1."), error);
        }
    }
    QStringList promoted;
    for (const QString& staged : std::as_const(m_created)) {
        const QString path = staged.chopped(PartSuffix.size());
        if (!ReplaceFile(staged, path)) {
            const int error = errno;
            for (const QString& back : std::as_const(promoted))
                ReplaceFile(back, back + PartSuffix);
            putBack(earlier.size());
            return failure(staged, QStringLiteral("Cannot rename the file %1."), error);
        }
        promoted << path;
    }
    m_created = promoted;
    for (const QString& path : earlier)
        QFile::remove(path + AsideSuffix);
    // What is left staged under this base is from runs that did not complete.
    for (const QString& path : ExistingDataFiles(m_base, PartSuffix))
        QFile::remove(path);
    const QString folder = QFileInfo(m_base).absolutePath();
    if (!SyncFolder(folder))
        return failure(folder, QStringLiteral("Cannot flush the folder %1 to the disk."), errno);
    return {};
}

FileStatus DataFileSet::close() {
    FileStatus first;
    for (std::unique_ptr<File>* file : {&m_statistical, &m_events, &m_leq}) {
        if (!*file)
            continue;
        const FileStatus status = (*file)->close();
        if (first.ok() && !status.ok())
            first = status;
        file->reset();
    }
    return first;
}
