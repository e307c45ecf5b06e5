#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QLocale>
#include <QString>

#include <variant>
#include <vector>

// Writes data files byte for byte in the host's download layout (banner, header
// block, heading line, data lines, CR LF, the plain number format, dates in the
// locale's short date format), so the reader is tested on the files it will
// meet. Test and benchmark code only.
namespace DataFileWriter {

inline const QByteArray kBanner = "\"Orvane Instruments -  Type 1 Environmental Noise Logger\"";

// One header line: a name, three empty text fields, and a text or a number.
struct HeaderLine {
    QString name;
    std::variant<QString, double> value;
};

// A column after Date and Time; overload is written as text in statistical files.
struct Column {
    QString heading;
    bool quoted = false;
};

struct Row {
    QDateTime time;
    std::vector<double> values;
};

// Field syntax.
QByteArray number(double value); // 45.3, 50, .5, -.1
QByteArray text(const QString& value);
QByteArray line(const QList<QByteArray>& fields); // joined by commas, ended by CR LF

// The header block of one buffer: the banner and the 19 lines of a typical
// single-buffer download with the given start and stop.
QList<HeaderLine> typicalHeader(const QLocale& locale, const QDateTime& start,
                                const QDateTime& stop, bool leqEnabled);
QByteArray headerBlock(const QList<HeaderLine>& header);

// The 16 statistical columns after Date and Time for these 8 percentile indices.
QList<Column> statisticalColumns(const QList<int>& indices = {1, 5, 10, 33, 50, 90, 95, 99});
QList<Column> leqColumns();

QByteArray headingLine(const QList<Column>& columns);
// timeFormat "hh:mm" for statistical files, "hh:mm:ss" for short-term Leq files.
QByteArray dataLine(const QLocale& locale, const QList<Column>& columns, const Row& row,
                    const QString& timeFormat);

// Whole files of a single-buffer download.
QByteArray statisticalFile(const QLocale& locale, const QList<HeaderLine>& header,
                           const QList<Column>& columns, const std::vector<Row>& rows);
// emptyLineAfter: indexes of rows after which a record ended early.
QByteArray leqFile(const QLocale& locale, const QList<HeaderLine>& header,
                   const std::vector<Row>& rows, const QList<int>& emptyLineAfter = {});
// A dump-all header file: eight sections of header block, empty line, heading
// line, empty line.
QByteArray headerFile(const QList<HeaderLine>& header);

// Statistical rows every interval minutes from start with plausible levels
// (seeded, repeatable): Leq, Lmax, 8 percentiles, Lmin, temperature, battery,
// overload 0 or 20.
std::vector<Row> statisticalRows(const QDateTime& start, int count, int intervalMinutes,
                                 quint32 seed = 1);
// Short-term Leq rows every second; overload 0 or 20.
std::vector<Row> leqRows(const QDateTime& start, int count, quint32 seed = 1);

bool writeFile(const QString& path, const QByteArray& bytes);

} // namespace DataFileWriter
