// The data file reader on the files a download writes: statistical, short-term
// Leq, header and event log files, in more than one regional date format, and
// on the accepted variations of their layout.

#include "DataFileReader.h"
#include "DataFileWriter.h"
#include "DateSerial.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace DataFileWriter;

namespace {

const QDateTime kStart(QDate(2003, 12, 30), QTime(22, 0), Qt::UTC);

double serial(const QDateTime& time) {
    return DateSerial::fromDateTime(time);
}

// Compares what was read with the rows written: one time and one value per set
// for each row.
void compareRows(const GraphData& data, const std::vector<Row>& rows) {
    QCOMPARE(data.pointCount(), qsizetype(rows.size()));
    for (size_t i = 0; i < rows.size(); ++i) {
        QCOMPARE(data.times[i], serial(rows[i].time));
        for (qsizetype k = 0; k < data.setCount(); ++k)
            QCOMPARE(data.sets[k].values[i], float(rows[i].values[size_t(k)]));
    }
}

ReadResult readIn(const QByteArray& bytes, const QString& locale = QStringLiteral("en_GB")) {
    ReadOptions options;
    options.locale = QLocale(locale);
    return readDataBytes(bytes, options);
}

} // namespace

class ReaderTest : public QObject {
    Q_OBJECT
private slots:
    // Files of each kind, as the download writes them.
    void statisticalFiles_data();
    void statisticalFiles();
    void headerEntriesKeepTheirValues();
    void leqFileSkipsEmptyLines();
    void dumpAllHeaderFileHasNoData();
    void eventLogHasNoData();
    void largeFilesAreReadWhole();
    void readsFromDisk();
    void twoDigitYearsFollowTheFileDate();
    void strayDatesAreLeftOut_data();
    void strayDatesAreLeftOut();
    void samplesRead_data();
    void samplesRead();

    // Layout variations the reader accepts or rejects.
    void banner_data();
    void banner();
    void twoHeadingsGiveTwoSets();
    void rowWithoutDateContinuesTheTime();
    void rowWithoutValidDateIsLeftOut_data();
    void rowWithoutValidDateIsLeftOut();
    void textsAreUtf8OrOneByteACharacter_data();
    void textsAreUtf8OrOneByteACharacter();
    void rowWithTextValueIsDropped();
    void rowWithTextValueKeepsTheNextRow();
    void rowEndingAfterItsTimeIsDropped();
    void lineEnds_data();
    void lineEnds();
    void byteOrderMarkIsSkipped();

    // What the viewer gives the sets, and progress while reading.
    void defaultStylesCycleThePalette();
    void progressRisesToOneHundred();
};

void ReaderTest::statisticalFiles_data() {
    QTest::addColumn<QString>("locale");
    QTest::newRow("en_GB dd/MM/yyyy") << "en_GB";
    QTest::newRow("en_US M/d/yy") << "en_US";
    QTest::newRow("de_DE dd.MM.yy") << "de_DE";
    QTest::newRow("C d MMM yyyy") << "C";
    QTest::newRow("ar_EG native digits") << "ar_EG";
    QTest::newRow("fa_IR native digits") << "fa_IR";
}

void ReaderTest::statisticalFiles() {
    QFETCH(QString, locale);
    const QLocale writer(locale);
    const std::vector<Row> rows = statisticalRows(kStart, 200, 15);
    const QByteArray file =
        statisticalFile(writer, typicalHeader(writer, kStart, kStart.addDays(2), false),
                        statisticalColumns(), rows);
    const ReadResult result = readIn(file, locale);
    QCOMPARE(result.status, ReadResult::Status::Read);
    const GraphData& data = result.data;
    QStringList names;
    for (const DataSet& set : data.sets)
        names << set.name;
    QCOMPARE(names, QStringList({"Leq", "Lmax", "L1", "L5", "L10", "L33", "L50", "L90", "L95",
                                 "L99", "Lmin", "Temp", "Battery", "Overload"}));
    QCOMPARE(data.headerCount(), 18);
    compareRows(data, rows);
    QVERIFY(data.hasData());
}

void ReaderTest::headerEntriesKeepTheirValues() {
    const QLocale locale(QStringLiteral("en_GB"));
    const QList<HeaderLine> header = typicalHeader(locale, kStart, kStart.addDays(1), true);
    const ReadResult result = readIn(
        statisticalFile(locale, header, statisticalColumns(), statisticalRows(kStart, 3, 15)));
    QCOMPARE(result.status, ReadResult::Status::Read);
    QCOMPARE(result.data.headerCount(), header.size());
    for (qsizetype i = 0; i < header.size(); ++i) {
        QCOMPARE(result.data.headers[i].name, header[i].name);
        const QString expected = std::holds_alternative<double>(header[i].value)
                                     ? QString::fromUtf8(number(std::get<double>(header[i].value)))
                                     : std::get<QString>(header[i].value);
        QCOMPARE(result.data.headers[i].value, expected);
    }
    // The title keeps its trailing blanks; the stored reference is a bare number.
    QCOMPARE(result.data.headers[1].value, QStringLiteral("Quarry north    "));
    QCOMPARE(result.data.headers[15].value, QStringLiteral("94"));
}

void ReaderTest::leqFileSkipsEmptyLines() {
    const QLocale locale(QStringLiteral("en_GB"));
    const std::vector<Row> rows = leqRows(kStart, 500);
    const QByteArray file = leqFile(
        locale, typicalHeader(locale, kStart, kStart.addSecs(500), true), rows, {0, 17, 499});
    const ReadResult result = readIn(file);
    QCOMPARE(result.status, ReadResult::Status::Read);
    QCOMPARE(result.data.setCount(), 2);
    QCOMPARE(result.data.sets[0].name, QStringLiteral("Leq"));
    QCOMPARE(result.data.sets[1].name, QStringLiteral("Overload"));
    compareRows(result.data, rows);
}

void ReaderTest::dumpAllHeaderFileHasNoData() {
    const QLocale locale(QStringLiteral("en_GB"));
    const QList<HeaderLine> header = typicalHeader(locale, kStart, kStart.addDays(1), false);
    const ReadResult result = readIn(headerFile(header));
    // The first section reads as a header and headings; the second banner ends
    // the data before its numbers could pass for rows.
    QCOMPARE(result.status, ReadResult::Status::Read);
    QCOMPARE(result.data.headerCount(), header.size());
    QCOMPARE(result.data.setCount(), 14);
    QCOMPARE(result.data.pointCount(), 0);
    QCOMPARE(result.skippedRows, 0);
}

void ReaderTest::eventLogHasNoData() {
    const QLocale locale(QStringLiteral("en_GB"));
    QByteArray file = headerBlock(typicalHeader(locale, kStart, kStart.addDays(1), false)) +
                      "\r\n" + line({text("Date"), text("Time"), text("Event")});
    for (int i = 0; i < 5; ++i)
        file +=
            line({text(locale.toString(kStart.date(), QLocale::ShortFormat)),
                  text(kStart.time().addSecs(i).toString("hh:mm:ss")), text("Logging started")});
    const ReadResult result = readIn(file);
    QCOMPARE(result.status, ReadResult::Status::Read);
    QCOMPARE(result.data.setCount(), 1);
    QCOMPARE(result.data.pointCount(), 0);
    QVERIFY(!result.data.hasData());
}

void ReaderTest::largeFilesAreReadWhole() {
    const QLocale locale(QStringLiteral("en_GB"));
    const std::vector<Row> rows = leqRows(kStart, 40000);
    const ReadResult result =
        readIn(leqFile(locale, typicalHeader(locale, kStart, kStart.addSecs(40000), true), rows));
    QCOMPARE(result.status, ReadResult::Status::Read);
    QCOMPARE(result.data.pointCount(), 40000);
    QCOMPARE(result.data.times.back(), serial(rows.back().time));
    QCOMPARE(result.data.sets[0].values.back(), float(rows.back().values[0]));
}

void ReaderTest::readsFromDisk() {
    QTemporaryDir folder;
    const QLocale locale = QLocale::system();
    QCOMPARE(locale.name(), QStringLiteral("en_GB")); // fixed by the test set-up
    const std::vector<Row> rows = statisticalRows(kStart, 50, 15);
    const QString path = folder.filePath("survey_Sta.csv");
    QVERIFY(writeFile(path, statisticalFile(locale, typicalHeader(locale, kStart, kStart, false),
                                            statisticalColumns(), rows)));
    const ReadResult result = readDataFile(path);
    QCOMPARE(result.status, ReadResult::Status::Read);
    compareRows(result.data, rows);
}

void ReaderTest::twoDigitYearsFollowTheFileDate() {
    // Downloaded in 2100 from a logger whose buffer spans the turn of the century.
    QTemporaryDir folder;
    const QLocale locale(QStringLiteral("en_US"));
    const QDateTime start(QDate(2099, 12, 31), QTime(23, 0), Qt::UTC);
    const std::vector<Row> rows = statisticalRows(start, 8, 15);
    const QString path = folder.filePath("century_Sta.csv");
    QVERIFY(writeFile(path, statisticalFile(locale, typicalHeader(locale, start, start, false),
                                            statisticalColumns(), rows)));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(QDateTime(QDate(2100, 1, 3), QTime(9, 0), Qt::UTC),
                             QFileDevice::FileModificationTime));
    file.close();
    ReadOptions options;
    options.locale = locale;
    const ReadResult result = readDataFile(path, options);
    QCOMPARE(result.status, ReadResult::Status::Read);
    compareRows(result.data, rows);
}

void ReaderTest::strayDatesAreLeftOut_data() {
    // Rows of the file after the headings, as date and time; each row's value is
    // its place in the file, so the rows read show which were kept.
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("referenceYear");
    QTest::addColumn<QList<QByteArrayList>>("rows");
    QTest::addColumn<std::vector<float>>("kept");
    QTest::addColumn<QList<QDateTime>>("times"); // of the rows kept
    QTest::addColumn<int>("skipped");
    const auto at = [](QDate date, QTime time) { return QDateTime(date, time, Qt::UTC); };
    const QDate day(2024, 3, 1);
    QTest::newRow("damaged two-digit year")
        << "en_US" << 2024
        << QList<QByteArrayList>{{"3/1/24", "10:00"},
                                 {"3/1/24", "10:15"},
                                 {"3/1/85", "10:30"},
                                 {"3/1/24", "10:45"},
                                 {"3/1/24", "11:00"}}
        << std::vector<float>{0, 1, 3, 4}
        << QList<QDateTime>{at(day, QTime(10, 0)), at(day, QTime(10, 15)), at(day, QTime(10, 45)),
                            at(day, QTime(11, 0))}
        << 1;
    // One neighbour cannot tell a damaged date from a real gap: a dump's oldest
    // buffer may be a single record months before the next.
    QTest::newRow("a lone first and last record")
        << "en_US" << 2024
        << QList<QByteArrayList>{{"1/5/24", "09:45"},
                                 {"3/1/24", "10:00"},
                                 {"3/1/24", "10:15"},
                                 {"6/9/24", "10:30"}}
        << std::vector<float>{0, 1, 2, 3}
        << QList<QDateTime>{at(QDate(2024, 1, 5), QTime(9, 45)), at(day, QTime(10, 0)),
                            at(day, QTime(10, 15)), at(QDate(2024, 6, 9), QTime(10, 30))}
        << 0;
    QTest::newRow("damaged full year")
        << "en_GB" << 2024
        << QList<QByteArrayList>{{"01/03/2024", "10:00"},
                                 {"01/03/2085", "10:15"},
                                 {"01/03/2024", "10:30"}}
        << std::vector<float>{0, 2}
        << QList<QDateTime>{at(day, QTime(10, 0)), at(day, QTime(10, 30))} << 1;
    // The century moves on where the rows run over its end, and only there.
    QTest::newRow("roll-over") << "en_US" << 2050
                               << QList<QByteArrayList>{{"12/31/99", "23:45"},
                                                        {"1/1/00", "00:00"},
                                                        {"1/1/00", "00:15"}}
                               << std::vector<float>{0, 1, 2}
                               << QList<QDateTime>{at(QDate(2099, 12, 31), QTime(23, 45)),
                                                   at(QDate(2100, 1, 1), QTime(0, 0)),
                                                   at(QDate(2100, 1, 1), QTime(0, 15))}
                               << 0;
    // A pause in the logging is no damage: the rows after it run on together.
    QTest::newRow("pause") << "en_US" << 2024
                           << QList<QByteArrayList>{{"3/1/24", "10:00"},
                                                    {"3/1/24", "10:15"},
                                                    {"9/1/24", "10:00"},
                                                    {"9/1/24", "10:15"}}
                           << std::vector<float>{0, 1, 2, 3}
                           << QList<QDateTime>{at(day, QTime(10, 0)), at(day, QTime(10, 15)),
                                               at(QDate(2024, 9, 1), QTime(10, 0)),
                                               at(QDate(2024, 9, 1), QTime(10, 15))}
                           << 0;
    QTest::newRow("every row apart")
        << "en_US" << 2024 << QList<QByteArrayList>{{"3/1/24", "10:00"}, {"9/1/24", "10:00"}}
        << std::vector<float>{0, 1}
        << QList<QDateTime>{at(day, QTime(10, 0)), at(QDate(2024, 9, 1), QTime(10, 0))} << 0;
}

void ReaderTest::strayDatesAreLeftOut() {
    QFETCH(QString, locale);
    QFETCH(int, referenceYear);
    QFETCH(QList<QByteArrayList>, rows);
    QFETCH(std::vector<float>, kept);
    QFETCH(QList<QDateTime>, times);
    QFETCH(int, skipped);
    QByteArray file = kBanner + "\r\n" + line({text("Date"), text("Time"), text("A")});
    for (qsizetype i = 0; i < rows.size(); ++i)
        file += line({text(QString::fromLatin1(rows[i][0])), text(QString::fromLatin1(rows[i][1])),
                      number(double(i))});
    ReadOptions options;
    options.locale = QLocale(locale);
    options.referenceYear = referenceYear;
    const ReadResult result = readDataBytes(file, options);
    QCOMPARE(result.status, ReadResult::Status::Read);
    QCOMPARE(result.data.sets[0].values, kept);
    QCOMPARE(result.data.pointCount(), times.size());
    for (qsizetype i = 0; i < times.size(); ++i)
        QCOMPARE(DateSerial::toDateTime(result.data.times[size_t(i)]), times[i]);
    QCOMPARE(result.skippedRows, skipped);
}

void ReaderTest::samplesRead_data() {
    QTest::addColumn<QString>("locale");
    QTest::newRow("en_GB") << "en_GB";
    QTest::newRow("en_US") << "en_US";
    QTest::newRow("C") << "C";
}

void ReaderTest::samplesRead() {
    // The samples shipped for the demo and the help pages read under any
    // regional settings.
    QFETCH(QString, locale);
    const QString folder = qEnvironmentVariable("HUSHMARK_SOURCE_DIR") + "/samples/";
    ReadOptions options;
    options.locale = QLocale(locale);
    ReadResult result = readDataFile(folder + "Sample_Sta.csv", options);
    QCOMPARE(result.status, ReadResult::Status::Read);
    QCOMPARE(result.data.setCount(), 14);
    QCOMPARE(result.data.pointCount(), 96);
    QCOMPARE(result.data.headers[1].value, QStringLiteral("Sample survey   "));
    result = readDataFile(folder + "Sample_Leq0.csv", options);
    QCOMPARE(result.status, ReadResult::Status::Read);
    QCOMPARE(result.data.setCount(), 2);
    QCOMPARE(result.data.pointCount(), 900);
    result = readDataFile(folder + "Sample.log", options);
    QCOMPARE(result.status, ReadResult::Status::Read);
    QVERIFY(!result.data.hasData());
}

void ReaderTest::banner_data() {
    QTest::addColumn<QByteArray>("start");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("quoted maker") << kBanner + "\r\n" << true;
    QTest::newRow("blank lines first") << QByteArray("\r\n\r\n\n") + kBanner + "\r\n" << true;
    QTest::newRow("maker without quote")
        << QByteArray("Orvane Instruments -  Type 1 Environmental Noise Logger\r\n") << false;
    QTest::newRow("other maker") << QByteArray("\"Other Instruments\"\r\n") << false;
    QTest::newRow("short line") << QByteArray("\"Orv\r\n") << false;
    // A dump-all statistical file starts with its data lines.
    QTest::newRow("dump-all data") << QByteArray("\"31/12/2003\",\"14:05\",45.3\r\n") << false;
}

void ReaderTest::banner() {
    QFETCH(QByteArray, start);
    QFETCH(bool, accepted);
    const QByteArray file =
        start + line({text("Logger Serial Number"), text({}), text({}), text({}), text("1")}) +
        headingLine(leqColumns()) + line({text("31/12/2003"), text("14:05:00"), "45.3", "0"});
    const ReadResult result = readIn(file);
    QCOMPARE(result.status, accepted ? ReadResult::Status::Read : ReadResult::Status::BadFileType);
    QCOMPARE(result.data.hasData(), accepted);
}

void ReaderTest::twoHeadingsGiveTwoSets() {
    const QByteArray file = kBanner + "\r\n" +
                            line({text("Date"), text("Time"), text("A"), text("B")}) +
                            line({text("31/12/2003"), text("14:05"), "1", "2"}) +
                            line({text("31/12/2003"), text("14:06"), "3", "4"});
    const ReadResult result = readIn(file);
    QCOMPARE(result.status, ReadResult::Status::Read);
    QCOMPARE(result.data.headerCount(), 0);
    QCOMPARE(result.data.setCount(), 2);
    QCOMPARE(result.data.sets[0].name, QStringLiteral("A"));
    QCOMPARE(result.data.sets[1].name, QStringLiteral("B"));
    QCOMPARE(result.data.sets[0].values, std::vector<float>({1, 3}));
    QCOMPARE(result.data.sets[1].values, std::vector<float>({2, 4}));
}

void ReaderTest::rowWithoutDateContinuesTheTime() {
    const QByteArray file = kBanner + "\r\n" + line({text("Date"), text("Time"), text("A")}) +
                            line({text("31/12/2003"), text("14:05"), "1"}) + line({"2"}) +
                            line({"3"}) + line({text("31/12/2003"), text("14:06"), "4"});
    const ReadResult result = readIn(file);
    QCOMPARE(result.status, ReadResult::Status::Read);
    const double first = serial(QDateTime(QDate(2003, 12, 31), QTime(14, 5), Qt::UTC));
    const double second = serial(QDateTime(QDate(2003, 12, 31), QTime(14, 6), Qt::UTC));
    QCOMPARE(result.data.times, std::vector<double>({first, first, first, second}));
    QCOMPARE(result.data.sets[0].values, std::vector<float>({1, 2, 3, 4}));
}

void ReaderTest::rowWithoutValidDateIsLeftOut_data() {
    // Rows of the file after the headings; read rows hold their minute as value.
    QTest::addColumn<QList<QByteArray>>("rows");
    QTest::addColumn<std::vector<float>>("read");
    QTest::addColumn<int>("skipped");
    const auto at = [](int minute) {
        return line(
            {text("31/12/2003"), text(QStringLiteral("14:%1").arg(minute)), number(minute)});
    };
    const QByteArray damaged = line({text({}), text("255:255"), "99"});
    QTest::newRow("empty date first")
        << QList<QByteArray>{damaged, at(11)} << std::vector<float>{11} << 1;
    QTest::newRow("empty date between")
        << QList<QByteArray>{at(10), damaged, damaged, at(13)} << std::vector<float>{10, 13} << 2;
    QTest::newRow("text that is no date")
        << QList<QByteArray>{at(10), line({text("31/02/2003"), text("14:11"), "99"}), at(12)}
        << std::vector<float>{10, 12} << 1;
    // Empty lines (a short-term Leq record that ended early) are no rows.
    QTest::newRow("empty lines") << QList<QByteArray>{at(10), "\r\n", at(11), "\r\n"}
                                 << std::vector<float>{10, 11} << 0;
    QTest::newRow("every row damaged") << QList<QByteArray>{damaged} << std::vector<float>{} << 1;
}

void ReaderTest::rowWithoutValidDateIsLeftOut() {
    QFETCH(QList<QByteArray>, rows);
    QFETCH(std::vector<float>, read);
    QFETCH(int, skipped);
    const ReadResult result =
        readIn(kBanner + "\r\n" + line({text("Date"), text("Time"), text("A")}) + rows.join());
    QCOMPARE(result.status, ReadResult::Status::Read);
    QCOMPARE(result.skippedRows, skipped);
    QCOMPARE(result.data.sets[0].values, read);
    // Every value stays at its own row's time.
    for (size_t i = 0; i < read.size(); ++i)
        QCOMPARE(DateSerial::toDateTime(result.data.times[i]).time().minute(), int(read[i]));
}

void ReaderTest::textsAreUtf8OrOneByteACharacter_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("read");
    QTest::newRow("UTF-8") << QByteArray("Caf\xC3\xA9 \xE2\x82\xAC") << QStringLiteral("Café €");
    QTest::newRow("one byte") << QByteArray("Caf\xE9 \xFC") << QStringLiteral("Café ü");
    QTest::newRow("mixed") << QByteArray("\xC3\xA9\xE9") << QStringLiteral("Ã©é");
}

void ReaderTest::textsAreUtf8OrOneByteACharacter() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, read);
    const QByteArray file = kBanner + "\r\n" + "\"" + bytes + "\",\"\",\"\",\"\",\"" + bytes +
                            "\"\r\n" + "\"Date\",\"Time\",\"" + bytes + "\"\r\n" +
                            line({text("31/12/2003"), text("14:05"), "1"});
    const ReadResult result = readIn(file);
    QCOMPARE(result.status, ReadResult::Status::Read);
    QCOMPARE(result.data.headers[0].name, read);
    QCOMPARE(result.data.headers[0].value, read);
    QCOMPARE(result.data.sets[0].name, read);
}

void ReaderTest::rowWithTextValueIsDropped() {
    const QByteArray file = kBanner + "\r\n" + line({text("Date"), text("Time"), text("A")}) +
                            line({text("31/12/2003"), text("14:05"), "1"}) +
                            line({text("31/12/2003"), text("14:06"), text("n/a")}) +
                            line({text("31/12/2003"), text("14:07"), "3"});
    const ReadResult result = readIn(file);
    QCOMPARE(result.status, ReadResult::Status::Read);
    QCOMPARE(result.data.pointCount(), 2);
    QCOMPARE(result.data.sets[0].values, std::vector<float>({1, 3}));
    QCOMPARE(DateSerial::toDateTime(result.data.times[1]).time(), QTime(14, 7));
}

void ReaderTest::rowWithTextValueKeepsTheNextRow() {
    // The dropped row has more fields after its bad value: only the rest of its
    // own line is skipped, never the next row.
    const QByteArray file = kBanner + "\r\n" +
                            line({text("Date"), text("Time"), text("A"), text("B")}) +
                            line({text("31/12/2003"), text("14:05"), "1", "10"}) +
                            line({text("31/12/2003"), text("14:06"), text("bad"), "20"}) +
                            line({text("31/12/2003"), text("14:07"), "3", "30"}) +
                            line({text("31/12/2003"), text("14:08"), "4", "40"});
    const ReadResult result = readIn(file);
    QCOMPARE(result.status, ReadResult::Status::Read);
    QCOMPARE(result.data.sets[0].values, std::vector<float>({1, 3, 4}));
    QCOMPARE(result.data.sets[1].values, std::vector<float>({10, 30, 40}));
}

void ReaderTest::rowEndingAfterItsTimeIsDropped() {
    const QByteArray file =
        kBanner + "\r\n" + line({text("Date"), text("Time"), text("A")}) +
        line({text("31/12/2003"), text("14:05"), "1"}) + line({text("31/12/2003"), text("14:06")}) +
        line({text("31/12/2003"), text("14:07"), "3"}) + line({text("31/12/2003"), text("14:08")});
    const ReadResult result = readIn(file);
    QCOMPARE(result.status, ReadResult::Status::Read);
    QCOMPARE(result.data.sets[0].values, std::vector<float>({1, 3}));
}

void ReaderTest::lineEnds_data() {
    QTest::addColumn<QByteArray>("lineEnd");
    QTest::newRow("CR LF") << QByteArray("\r\n");
    QTest::newRow("CR") << QByteArray("\r");
    QTest::newRow("LF") << QByteArray("\n");
}

void ReaderTest::lineEnds() {
    QFETCH(QByteArray, lineEnd);
    const QLocale locale(QStringLiteral("en_GB"));
    const std::vector<Row> rows = leqRows(kStart, 30);
    QByteArray file = leqFile(locale, typicalHeader(locale, kStart, kStart, true), rows, {3});
    file.replace("\r\n", lineEnd);
    const ReadResult result = readIn(file);
    QCOMPARE(result.status, ReadResult::Status::Read);
    QCOMPARE(result.data.headerCount(), 18);
    compareRows(result.data, rows);
}

void ReaderTest::byteOrderMarkIsSkipped() {
    const QLocale locale(QStringLiteral("en_GB"));
    const QByteArray file =
        "\xEF\xBB\xBF" +
        leqFile(locale, typicalHeader(locale, kStart, kStart, true), leqRows(kStart, 3));
    QCOMPARE(readIn(file).status, ReadResult::Status::Read);
}

void ReaderTest::defaultStylesCycleThePalette() {
    QList<QByteArray> headings = {text("Date"), text("Time")};
    QList<QByteArray> values = {text("31/12/2003"), text("14:05")};
    for (int i = 0; i < 20; ++i) {
        headings << text(QStringLiteral("S%1").arg(i));
        values << number(40 + i);
    }
    ReadResult result = readIn(kBanner + "\r\n" + line(headings) + line(values));
    QCOMPARE(result.data.setCount(), 20);
    applyDefaultStyles(result.data);
    QCOMPARE(result.data.sets[0].colour, qRgb(0, 0, 0));
    QCOMPARE(result.data.sets[13].colour, qRgb(255, 0, 255));
    QCOMPARE(result.data.sets[15].colour, qRgb(255, 255, 255));
    QCOMPARE(result.data.sets[16].colour, qRgb(0, 0, 0));
    QCOMPARE(result.data.sets[17].colour, qRgb(0, 0, 128));
    for (const DataSet& set : result.data.sets) {
        QVERIFY(set.shown);
        QCOMPARE(set.style, 0);
        QCOMPARE(set.weight, 1);
    }
}

void ReaderTest::progressRisesToOneHundred() {
    const QLocale locale(QStringLiteral("en_GB"));
    QList<int> seen;
    ReadOptions options;
    options.locale = locale;
    options.progress = [&](int percent) { seen << percent; };
    const ReadResult result = readDataBytes(
        leqFile(locale, typicalHeader(locale, kStart, kStart, true), leqRows(kStart, 5000)),
        options);
    QCOMPARE(result.status, ReadResult::Status::Read);
    QVERIFY(!seen.isEmpty());
    QVERIFY(seen.size() <= 100);
    QVERIFY(std::is_sorted(seen.begin(), seen.end()));
    QCOMPARE(std::adjacent_find(seen.begin(), seen.end()), seen.end());
    QVERIFY(seen.first() >= 1);
    QCOMPARE(seen.last(), 100);
}

QTEST_GUILESS_MAIN(ReaderTest)
#include "test_reader.moc"
