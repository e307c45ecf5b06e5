#include "DataFileReader.h"

#include "FieldConversions.h"
#include "FieldReader.h"
#include "ShortDateParser.h"
#include "StrayRows.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <cfloat>
#include <cmath>

namespace {

constexpr QByteArrayView kUtf8Bom("\xEF\xBB\xBF");
// Characters 2 to 5 of the banner line: a double quote, then the maker's name.
constexpr QByteArrayView kMakerStart("Orva");
constexpr QByteArrayView kDateHeading("Date");
constexpr QByteArrayView kEmptyTextField("\"\",");
// How much of a file is read at a time until its banner is found.
constexpr qint64 kFirstPieceSize = 4096;

// UTF-8, or one byte a character when the bytes are not UTF-8.
QString textOf(QByteArrayView bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (utf8.hasError())
        return QString::fromLatin1(bytes);
    return text;
}

// A line that opens a header block.
bool isBanner(QByteArrayView line) {
    return line.size() >= 5 && line.sliced(1, 4) == kMakerStart;
}

QByteArrayView withoutByteOrderMark(QByteArrayView bytes) {
    return bytes.startsWith(kUtf8Bom) ? bytes.sliced(kUtf8Bom.size()) : bytes;
}

// Whether the first line of the bytes that is not empty is a banner; nothing
// while the bytes end before that line's first five characters (the start of
// a file, read in pieces).
std::optional<bool> startsWithBanner(QByteArrayView bytes) {
    FieldReader lines(bytes);
    while (!lines.atEnd()) {
        const QByteArrayView line = lines.readLine();
        if (line.isEmpty())
            continue;
        if (lines.atEnd() && line.size() < 5)
            return std::nullopt;
        return isBanner(line);
    }
    return std::nullopt;
}

// A field quoted in a message: short, one line, printable.
QString quoted(QByteArrayView field) {
    constexpr qsizetype kShown = 40;
    QString text = textOf(field.first(qMin(field.size(), kShown)));
    for (QChar& c : text) {
        if (!c.isPrint())
            c = u'?';
    }
    if (field.size() > kShown)
        text += QStringLiteral("...");
    return u'"' + text + u'"';
}

// The value part of a header line: `"","","",value` or `"","","","text"`.
QString headerValue(QByteArrayView rest) {
    // Dropping three characters while `"",` occurs anywhere ends once the drop
    // has passed its last occurrence; found directly so a long line costs one scan.
    const qsizetype last = rest.lastIndexOf(kEmptyTextField);
    if (last >= 0)
        rest = rest.sliced(qMin(rest.size(), (last / 3 + 1) * 3));
    if (rest.startsWith('"'))
        rest = rest.sliced(1);
    if (rest.endsWith('"'))
        rest.chop(1);
    return textOf(rest);
}

class Parser {
public:
    Parser(QByteArrayView bytes, const ReadOptions& options)
        : m_reader(bytes), m_options(options),
          m_dates(options.locale, options.referenceYear.value_or(QDate::currentDate().year())) {}

    ReadResult run();

private:
    bool hasBanner();
    bool readHeader(QByteArrayView& field);
    bool readHeadings(QByteArrayView& field, bool& haveField);
    bool readRows(QByteArrayView field, bool haveField);
    bool readLevel(QByteArrayView field, float& level);
    double rowTime(QByteArrayView dateField, double date, double timeOfDay);

    QByteArrayView next();
    bool nextNonEmpty(QByteArrayView& field);
    bool fail(ReadErrorCode code, const QString& description);
    QString atLine() const;
    QString atLastLine() const;
    void reportProgress();

    FieldReader m_reader;
    const ReadOptions& m_options;
    ShortDateParser m_dates;
    GraphData m_data;
    ReadError m_error;
    qsizetype m_fieldStart = 0;
    bool m_fieldStartsLine = true;
    int m_skippedRows = 0;
    int m_lastPercent = 0;
};

ReadResult Parser::run() {
    ReadResult result;
    if (!hasBanner()) {
        result.status = ReadResult::Status::BadFileType;
        return result;
    }
    QByteArrayView field;
    bool haveField = false;
    if (!readHeader(field) || !readHeadings(field, haveField) || !readRows(field, haveField)) {
        result.status = ReadResult::Status::Failed;
        result.error = m_error;
        return result;
    }
    m_skippedRows += leaveOutStrayRows(m_data);
    result.data = std::move(m_data);
    result.skippedRows = m_skippedRows;
    return result;
}

bool Parser::hasBanner() {
    if (!startsWithBanner(m_reader.data()).value_or(false))
        return false;
    // Past the empty lines and the banner line.
    while (m_reader.readLine().isEmpty()) {
    }
    return true;
}

bool Parser::readHeader(QByteArrayView& field) {
    if (!nextNonEmpty(field))
        return false;
    while (!field.startsWith(kDateHeading)) {
        HeaderEntry entry;
        entry.name = textOf(field);
        // A name that ends its line has no value: the line end is not skipped
        // to take the next line as the value.
        const QByteArrayView rest =
            m_reader.lastFieldEndedLine() ? QByteArrayView() : m_reader.readLine();
        if (rest.isEmpty())
            return fail(ReadErrorCode::EmptyHeaderValue,
                        QStringLiteral("Invalid header line: %1 has no value%2")
                            .arg(quoted(field), atLine()));
        entry.value = headerValue(rest);
        m_data.headers.append(entry);
        if (!nextNonEmpty(field))
            return false;
    }
    return true;
}

bool Parser::readHeadings(QByteArrayView& field, bool& haveField) {
    // The field in hand is the date heading; the time heading follows.
    if (m_reader.atEnd())
        return fail(ReadErrorCode::PastEndOfFile,
                    QStringLiteral("Input past end of file: the column headings end early%1")
                        .arg(atLastLine()));
    next();
    // Every further heading on the heading line names one data set, in column
    // order. The headings stop at that line's end, so an empty line before the
    // data does not make a nameless data set.
    bool onHeadingLine = !m_reader.lastFieldEndedLine();
    haveField = !m_reader.atEnd();
    if (haveField)
        field = next();
    while (haveField && onHeadingLine && !m_dates.parse(field)) {
        DataSet set;
        set.name = textOf(field);
        m_data.sets.append(set);
        onHeadingLine = !m_reader.lastFieldEndedLine();
        haveField = !m_reader.atEnd();
        if (haveField)
            field = next();
    }
    return true;
}

bool Parser::readRows(QByteArrayView field, bool haveField) {
    const qsizetype setCount = m_data.sets.size();
    if (setCount == 0)
        return true; // nothing to read values into: the file has no data
    std::vector<float> row(size_t(setCount), 0.0f);
    while (haveField) {
        reportProgress();
        // Skip fields until one starts a row: a date, or a number that continues
        // the previous row's time.
        std::optional<double> date = m_dates.parse(field);
        while (!date && !parseNumber(field)) {
            const bool emptyLine = field.isEmpty() && m_reader.lastFieldEndedLine();
            if (m_fieldStartsLine && !emptyLine) {
                // The next header block: a dump's header file holds one per
                // buffer and no data.
                if (isBanner(m_reader.data().sliced(m_fieldStart)))
                    return true;
                // The date field holds no date (the host writes a damaged time
                // stamp so): the values have no time of their own, and taking
                // the previous row's would draw them at a wrong time.
                ++m_skippedRows;
                if (!m_reader.lastFieldEndedLine())
                    m_reader.readLine();
            }
            if (m_reader.atEnd())
                return true;
            field = next();
            date = m_dates.parse(field);
        }
        double time = 0.0;
        bool hasValues = true;
        if (date) {
            if (m_reader.atEnd())
                return fail(ReadErrorCode::PastEndOfFile,
                            QStringLiteral("Input past end of file: the last row has a date "
                                           "and nothing after it%1")
                                .arg(atLastLine()));
            const QByteArrayView dateField = field;
            const QByteArrayView timeField = next();
            const auto timeOfDay = parseTimeOfDay(timeField, m_options.locale);
            if (!timeOfDay)
                return fail(ReadErrorCode::TypeMismatch,
                            QStringLiteral("Type mismatch: %1 is not a time of day%2")
                                .arg(quoted(timeField), atLine()));
            time = rowTime(dateField, *date, *timeOfDay);
            // A row that ends after its time has no values: it is dropped below.
            hasValues = !m_reader.lastFieldEndedLine();
            if (hasValues)
                field = next();
        } else {
            if (m_data.times.empty())
                return fail(ReadErrorCode::NoEarlierTime,
                            QStringLiteral("Subscript out of range: a row without date and time "
                                           "comes before the first dated row%1")
                                .arg(atLine()));
            time = m_data.times.back();
        }
        if (hasValues && parseNumber(field)) {
            for (qsizetype k = 0; k < setCount; ++k) {
                if (k > 0) {
                    if (m_reader.atEnd())
                        return fail(ReadErrorCode::PastEndOfFile,
                                    QStringLiteral("Input past end of file: the last row holds "
                                                   "%1 of the %2 values its headings name%3")
                                        .arg(k)
                                        .arg(setCount)
                                        .arg(atLastLine()));
                    if (m_reader.lastFieldEndedLine())
                        return fail(ReadErrorCode::TypeMismatch,
                                    QStringLiteral("Type mismatch: the row holds %1 of the %2 "
                                                   "values its headings name%3")
                                        .arg(k)
                                        .arg(setCount)
                                        .arg(atLine()));
                    field = next();
                }
                if (!readLevel(field, row[size_t(k)]))
                    return false;
            }
            m_data.times.push_back(time);
            for (qsizetype k = 0; k < setCount; ++k)
                m_data.sets[k].values.push_back(row[size_t(k)]);
        } else if (hasValues && !m_reader.lastFieldEndedLine()) {
            // The value column holds text: the row is dropped, with the rest of
            // its line, and reading resumes at the next row.
            m_reader.readLine();
        }
        haveField = !m_reader.atEnd();
        if (haveField)
            field = next();
    }
    return true;
}

// The row's date and time, a century later when its two-digit year has run on
// from 99 to 00 since the row before.
double Parser::rowTime(QByteArrayView dateField, double date, double timeOfDay) {
    const double time = date + timeOfDay;
    if (m_data.times.empty() || !farApart(m_data.times.back(), time))
        return time;
    const std::optional<double> later = m_dates.parseACenturyLater(dateField);
    if (!later || farApart(m_data.times.back(), *later + timeOfDay))
        return time;
    m_dates.moveOnACentury();
    return *later + timeOfDay;
}

bool Parser::readLevel(QByteArrayView field, float& level) {
    const auto value = parseNumber(field);
    if (!value)
        return fail(
            ReadErrorCode::TypeMismatch,
            QStringLiteral("Type mismatch: %1 is not a number%2").arg(quoted(field), atLine()));
    if (!std::isfinite(*value) || std::fabs(*value) > FLT_MAX)
        return fail(
            ReadErrorCode::Overflow,
            QStringLiteral("Overflow: %1 is too large for a level%2").arg(quoted(field), atLine()));
    level = float(*value);
    return true;
}

QByteArrayView Parser::next() {
    m_fieldStartsLine = m_reader.lastFieldEndedLine();
    m_fieldStart = m_reader.position();
    return m_reader.readField();
}

bool Parser::nextNonEmpty(QByteArrayView& field) {
    do {
        if (m_reader.atEnd())
            return fail(ReadErrorCode::PastEndOfFile,
                        QStringLiteral("Input past end of file: the file ends before the column "
                                       "headings%1")
                            .arg(atLastLine()));
        field = next();
    } while (field.isEmpty());
    return true;
}

bool Parser::fail(ReadErrorCode code, const QString& description) {
    m_error = {code, description};
    return false;
}

QString Parser::atLine() const {
    return QStringLiteral(" (line %1)").arg(m_reader.lineAt(m_fieldStart));
}

QString Parser::atLastLine() const {
    return QStringLiteral(" (line %1)").arg(m_reader.lastLine());
}

void Parser::reportProgress() {
    if (!m_options.progress || m_reader.size() == 0)
        return;
    const qint64 size = m_reader.size();
    const int percent = int(qMin<qint64>(100, (m_reader.position() * 200 + size) / (2 * size)));
    if (percent != m_lastPercent) {
        m_lastPercent = percent;
        m_options.progress(percent);
    }
}

} // namespace

ReadResult readDataBytes(QByteArrayView bytes, const ReadOptions& options) {
    return Parser(withoutByteOrderMark(bytes), options).run();
}

ReadResult readDataFile(const QString& path, const ReadOptions& options) {
    ReadResult failed;
    failed.status = ReadResult::Status::Failed;
    QFile file(path);
    if (!file.exists()) {
        failed.error = {ReadErrorCode::FileNotFound,
                        QStringLiteral("File not found: %1").arg(QFileInfo(path).fileName())};
        return failed;
    }
    if (QFileInfo(path).isDir()) {
        failed.error = {ReadErrorCode::FileAccess,
                        QStringLiteral("Path/File access error: %1 is a folder")
                            .arg(QFileInfo(path).fileName())};
        return failed;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        failed.error = {ReadErrorCode::FileAccess,
                        QStringLiteral("Path/File access error: %1").arg(file.errorString())};
        return failed;
    }
    // A file that is no data file (a film, an archive, a disc image) is refused
    // from its first bytes, not read whole first.
    QByteArray bytes;
    std::optional<bool> banner;
    // Each piece twice the last, so that many empty lines cost one scan.
    for (qint64 size = kFirstPieceSize; !banner; size *= 2) {
        const QByteArray piece = file.read(size);
        if (piece.isEmpty())
            break;
        bytes += piece;
        banner = startsWithBanner(withoutByteOrderMark(bytes));
    }
    if (banner.value_or(false)) {
        // Copied, not mapped: a file that another program cuts short while it is
        // read must give a short read, not a fault in the host.
        bytes += file.readAll();
    } else if (file.error() == QFileDevice::NoError) {
        ReadResult refused;
        refused.status = ReadResult::Status::BadFileType;
        return refused;
    }
    if (file.error() != QFileDevice::NoError) {
        failed.error = {ReadErrorCode::FileAccess,
                        QStringLiteral("Path/File access error: %1").arg(file.errorString())};
        return failed;
    }
    if (options.referenceYear)
        return readDataBytes(bytes, options);
    // The host writes a file at the download, while the logger's clock runs near
    // the computer's.
    ReadOptions dated = options;
    dated.referenceYear = QFileInfo(file).lastModified().date().year();
    return readDataBytes(bytes, dated);
}

QString ReaderMessages::failure(const ReadError& error) {
    return QStringLiteral("Read file detects an error!\rCode %1 %2")
        .arg(int(error.code))
        .arg(error.description);
}

QString ReaderMessages::skippedRows(int count) {
    if (count == 1)
        return QStringLiteral("1 row was not read: its date field holds no valid date.");
    return QStringLiteral("%1 rows were not read: their date fields hold no valid date.")
        .arg(count);
}
