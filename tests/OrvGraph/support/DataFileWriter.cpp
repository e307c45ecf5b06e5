#include "DataFileWriter.h"

#include <QFile>
#include <QRandomGenerator>

#include <algorithm>
#include <cmath>

namespace DataFileWriter {

QByteArray number(double value) {
    QByteArray digits = QByteArray::number(value, 'f', QLocale::FloatingPointShortest);
    if (digits.startsWith("0."))
        digits.remove(0, 1);
    else if (digits.startsWith("-0."))
        digits.remove(1, 1);
    return digits;
}

QByteArray text(const QString& value) {
    return '"' + value.toUtf8() + '"';
}

QByteArray line(const QList<QByteArray>& fields) {
    QByteArray result;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            result += ',';
        result += fields[i];
    }
    return result + "\r\n";
}

namespace {

QString dateTimeText(const QLocale& locale, const QDateTime& value) {
    return value.time().toString(QStringLiteral("hh:mm:ss")) + QStringLiteral(" , ") +
           locale.toString(value.date(), QLocale::ShortFormat);
}

QByteArray headerLine(const HeaderLine& entry) {
    const QByteArray value = std::holds_alternative<double>(entry.value)
                                 ? number(std::get<double>(entry.value))
                                 : text(std::get<QString>(entry.value));
    return line({text(entry.name), text({}), text({}), text({}), value});
}

} // namespace

QList<HeaderLine> typicalHeader(const QLocale& locale, const QDateTime& start,
                                const QDateTime& stop, bool leqEnabled) {
    const QString leqMode =
        leqEnabled ? QStringLiteral("Enabled whilst logging") : QStringLiteral("Disabled");
    return {
        {QStringLiteral("Logger Serial Number"), QStringLiteral("70412")},
        {QStringLiteral("Measurement Title"), QStringLiteral("Quarry north    ")},
        {QStringLiteral("Measurement started at"), dateTimeText(locale, start)},
        {QStringLiteral("Measurement stopped at"), dateTimeText(locale, stop)},
        {QStringLiteral("Frequency Weighting"), QStringLiteral("A")},
        {QStringLiteral("Time Averaging"), QStringLiteral("Fast")},
        {QStringLiteral("Statistical Interval"), QStringLiteral("15 minutes")},
        {QStringLiteral("Auxiliary Power"), QStringLiteral("Disabled")},
        {QStringLiteral("Tape Recorder"), QStringLiteral("Disabled")},
        {QStringLiteral("Short Term Leq"), leqMode},
        {QStringLiteral("Short Term Leq Length"),
         leqEnabled ? QStringLiteral("1 second") : QStringLiteral("N/A")},
        {QStringLiteral("Start Trigger"), QStringLiteral("N/A")},
        {QStringLiteral("Stop Trigger"), QStringLiteral("N/A")},
        {QStringLiteral("Master Timer"), QStringLiteral("N/A")},
        {QStringLiteral("Sub Timer"), QStringLiteral("N/A")},
        {QStringLiteral("Pre-measurement Reference"), 94.0},
        {QStringLiteral("Post-measurement Reference"), QStringLiteral("NOT TAKEN")},
        {QStringLiteral("Engineering Units"), QStringLiteral("dB SPL")},
    };
}

QByteArray headerBlock(const QList<HeaderLine>& header) {
    QByteArray block = kBanner + "\r\n";
    for (const HeaderLine& entry : header)
        block += headerLine(entry);
    return block;
}

QList<Column> statisticalColumns(const QList<int>& indices) {
    QList<Column> columns = {{QStringLiteral("Leq")}, {QStringLiteral("Lmax")}};
    for (const int index : indices)
        columns.append({QStringLiteral("L") + QString::number(index)});
    columns.append({QStringLiteral("Lmin")});
    columns.append({QStringLiteral("Temp")});
    columns.append({QStringLiteral("Battery")});
    columns.append({QStringLiteral("Overload"), true});
    return columns;
}

QList<Column> leqColumns() {
    return {{QStringLiteral("Leq")}, {QStringLiteral("Overload")}};
}

QByteArray headingLine(const QList<Column>& columns) {
    QList<QByteArray> fields = {text(QStringLiteral("Date")), text(QStringLiteral("Time"))};
    for (const Column& column : columns)
        fields.append(text(column.heading));
    return line(fields);
}

QByteArray dataLine(const QLocale& locale, const QList<Column>& columns, const Row& row,
                    const QString& timeFormat) {
    QList<QByteArray> fields = {text(locale.toString(row.time.date(), QLocale::ShortFormat)),
                                text(row.time.time().toString(timeFormat))};
    for (qsizetype i = 0; i < columns.size(); ++i) {
        const QByteArray value = number(row.values[size_t(i)]);
        fields.append(columns[i].quoted ? '"' + value + '"' : value);
    }
    return line(fields);
}

QByteArray statisticalFile(const QLocale& locale, const QList<HeaderLine>& header,
                           const QList<Column>& columns, const std::vector<Row>& rows) {
    QByteArray file = headerBlock(header) + "\r\n" + headingLine(columns);
    for (const Row& row : rows)
        file += dataLine(locale, columns, row, QStringLiteral("hh:mm"));
    return file;
}

QByteArray leqFile(const QLocale& locale, const QList<HeaderLine>& header,
                   const std::vector<Row>& rows, const QList<int>& emptyLineAfter) {
    const QList<Column> columns = leqColumns();
    QByteArray file = headerBlock(header) + headingLine(columns);
    for (size_t i = 0; i < rows.size(); ++i) {
        file += dataLine(locale, columns, rows[i], QStringLiteral("hh:mm:ss"));
        if (emptyLineAfter.contains(int(i)))
            file += "\r\n";
    }
    return file;
}

QByteArray headerFile(const QList<HeaderLine>& header) {
    QByteArray file;
    for (int buffer = 0; buffer < 8; ++buffer)
        file += headerBlock(header) + "\r\n" + headingLine(statisticalColumns()) + "\r\n";
    return file;
}

namespace {
// A level in tenths of a decibel, as the logger reports it.
double tenths(double value) {
    return std::round(value * 10.0) / 10.0;
}
} // namespace

std::vector<Row> statisticalRows(const QDateTime& start, int count, int intervalMinutes,
                                 quint32 seed) {
    QRandomGenerator random(seed);
    std::vector<Row> rows;
    rows.reserve(size_t(count));
    for (int i = 0; i < count; ++i) {
        const double hour = std::fmod(i * intervalMinutes / 60.0, 24.0);
        const double leq = 45.0 + 12.0 * std::sin(hour / 24.0 * 2.0 * M_PI) + random.bounded(6.0);
        std::vector<double> values = {tenths(leq), tenths(leq + 8.0 + random.bounded(10.0))};
        double percentile = leq + 6.0;
        for (int p = 0; p < 8; ++p) {
            values.push_back(tenths(percentile));
            percentile -= 1.0 + random.bounded(1.5);
        }
        values.push_back(tenths(percentile - 1.0));
        values.push_back(tenths(12.0 + random.bounded(3.0)));
        values.push_back(tenths(6.8 - i * 0.00001));
        values.push_back(random.bounded(50) == 0 ? 20.0 : 0.0);
        rows.push_back({start.addSecs(qint64(i) * intervalMinutes * 60), std::move(values)});
    }
    return rows;
}

std::vector<Row> leqRows(const QDateTime& start, int count, quint32 seed) {
    QRandomGenerator random(seed);
    std::vector<Row> rows;
    rows.reserve(size_t(count));
    double level = 55.0;
    for (int i = 0; i < count; ++i) {
        level = std::clamp(level + random.bounded(2.0) - 1.0, 30.0, 110.0);
        rows.push_back({start.addSecs(i), {tenths(level), random.bounded(200) == 0 ? 20.0 : 0.0}});
    }
    return rows;
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

} // namespace DataFileWriter
