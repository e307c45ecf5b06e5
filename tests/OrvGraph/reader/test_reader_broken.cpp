// The reader on broken files. Each one ends in a clear outcome (bad file type,
// no data, or a numbered failure naming the line) and never in a crash, an
// endless loop or a read outside the data: empty and header-only files,
// truncated rows, a number row before any date, bad times and values, very long
// lines, binary junk, files that cannot be opened.

#include "DataFileReader.h"
#include "DataFileWriter.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace DataFileWriter;

namespace {

const QDateTime kStart(QDate(2003, 12, 31), QTime(14, 0), Qt::UTC);
const QLocale kLocale(QStringLiteral("en_GB"));

QByteArray header() {
    return headerBlock(typicalHeader(kLocale, kStart, kStart, true));
}

QByteArray validLeqFile(int rows) {
    return leqFile(kLocale, typicalHeader(kLocale, kStart, kStart, true), leqRows(kStart, rows));
}

QByteArray junk(int size, quint32 seed) {
    QRandomGenerator random(seed);
    QByteArray bytes(size, '\0');
    for (char& c : bytes)
        c = char(random.bounded(256));
    return bytes;
}

ReadResult readIn(const QByteArray& bytes) {
    ReadOptions options;
    options.locale = kLocale;
    return readDataBytes(bytes, options);
}

enum class Outcome { BadFileType, NoData, Data, Failure };

// The bytes this process has read from files so far, or -1 where the system
// does not count them.
qint64 bytesReadSoFar() {
    QFile io(QStringLiteral("/proc/self/io"));
    if (!io.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& entry : io.readAll().split('\n')) {
        if (entry.startsWith("rchar:"))
            return entry.mid(6).trimmed().toLongLong();
    }
    return -1;
}

} // namespace

Q_DECLARE_METATYPE(Outcome)
Q_DECLARE_METATYPE(ReadErrorCode)
Q_DECLARE_METATYPE(ReadResult::Status)

class BrokenFilesTest : public QObject {
    Q_OBJECT
private slots:
    void brokenFiles_data();
    void brokenFiles();
    void binaryJunkAfterTheBanner_data();
    void binaryJunkAfterTheBanner();
    void truncationAtEveryByteEnds();
    void veryLongLines();
    void missingAndUnreadableFiles();
    void largeFilesAreJudgedByTheirStart_data();
    void largeFilesAreJudgedByTheirStart();
    void failureMessageText();
};

void BrokenFilesTest::brokenFiles_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<Outcome>("outcome");
    QTest::addColumn<ReadErrorCode>("code");
    // The line the failure names (for the end of the file, its last line), 0
    // for none.
    QTest::addColumn<int>("line");

    const QByteArray leqHeading = headingLine(leqColumns());
    const QByteArray row = line({text("31/12/2003"), text("14:05:00"), "45.3", "0"});
    const auto none = ReadErrorCode::None;

    QTest::newRow("empty file") << QByteArray() << Outcome::BadFileType << none << 0;
    QTest::newRow("blank lines only")
        << QByteArray("\r\n\r\n  \r\n") << Outcome::BadFileType << none << 0;
    QTest::newRow("binary junk") << junk(65536, 7) << Outcome::BadFileType << none << 0;
    QTest::newRow("NUL bytes") << QByteArray(1000, '\0') << Outcome::BadFileType << none << 0;
    QTest::newRow("banner only") << kBanner + "\r\n"
                                 << Outcome::Failure << ReadErrorCode::PastEndOfFile << 1;
    QTest::newRow("header only") << header() << Outcome::Failure << ReadErrorCode::PastEndOfFile
                                 << 19;
    QTest::newRow("file ends after Date")
        << header() + text("Date") << Outcome::Failure << ReadErrorCode::PastEndOfFile << 20;
    QTest::newRow("headings without rows") << header() + leqHeading << Outcome::NoData << none << 0;
    QTest::newRow("no data columns")
        << header() + line({text("Date"), text("Time")}) + row << Outcome::NoData << none << 0;
    // The headings end with their line: an empty line before the data does not
    // add a nameless data set.
    QTest::newRow("empty line after headings")
        << header() + leqHeading + "\r\n" + row << Outcome::Data << none << 0;
    QTest::newRow("header name without value")
        << kBanner + "\r\n" + text("Logger Serial Number") + "\r\n" + leqHeading + row
        << Outcome::Failure << ReadErrorCode::EmptyHeaderValue << 2;
    QTest::newRow("number row before any date")
        << header() + leqHeading + line({"45.3", "0"}) + row << Outcome::Failure
        << ReadErrorCode::NoEarlierTime << 21;
    QTest::newRow("last row cut inside its values")
        << header() + leqHeading + row + text("31/12/2003") + "," + text("14:05:01") + ",45.3,"
        << Outcome::Failure << ReadErrorCode::PastEndOfFile << 22;
    QTest::newRow("last row cut after its date")
        << header() + leqHeading + row + text("31/12/2003") << Outcome::Failure
        << ReadErrorCode::PastEndOfFile << 22;
    QTest::newRow("short row inside the file")
        << header() + leqHeading + row + line({text("31/12/2003"), text("14:05:01"), "45.3"}) + row
        << Outcome::Failure << ReadErrorCode::TypeMismatch << 22;
    QTest::newRow("bad time") << header() + leqHeading +
                                     line({text("31/12/2003"), text("25:99:00"), "45.3", "0"})
                              << Outcome::Failure << ReadErrorCode::TypeMismatch << 21;
    QTest::newRow("text in a later value")
        << header() + leqHeading + line({text("31/12/2003"), text("14:05:00"), "45.3", "x"})
        << Outcome::Failure << ReadErrorCode::TypeMismatch << 21;
    QTest::newRow("value too large")
        << header() + leqHeading + line({text("31/12/2003"), text("14:05:00"), "1e39", "0"})
        << Outcome::Failure << ReadErrorCode::Overflow << 21;
    QTest::newRow("every row dropped")
        << header() + leqHeading + line({text("31/12/2003"), text("14:05:00"), text("-"), "0"})
        << Outcome::NoData << none << 0;
}

void BrokenFilesTest::brokenFiles() {
    QFETCH(QByteArray, file);
    QFETCH(Outcome, outcome);
    QFETCH(ReadErrorCode, code);
    QFETCH(int, line);
    const ReadResult result = readIn(file);
    switch (outcome) {
    case Outcome::BadFileType:
        QCOMPARE(result.status, ReadResult::Status::BadFileType);
        QVERIFY(!result.data.hasData());
        break;
    case Outcome::NoData:
        QCOMPARE(result.status, ReadResult::Status::Read);
        QVERIFY(!result.data.hasData());
        break;
    case Outcome::Data:
        QCOMPARE(result.status, ReadResult::Status::Read);
        QVERIFY(result.data.hasData());
        for (const DataSet& set : result.data.sets)
            QVERIFY(!set.name.isEmpty());
        break;
    case Outcome::Failure:
        QCOMPARE(result.status, ReadResult::Status::Failed);
        QVERIFY(!result.data.hasData());
        if (code != ReadErrorCode::None)
            QCOMPARE(result.error.code, code);
        if (line > 0)
            QVERIFY2(result.error.description.endsWith(QStringLiteral("(line %1)").arg(line)),
                     qPrintable(result.error.description));
        break;
    }
}

void BrokenFilesTest::binaryJunkAfterTheBanner_data() {
    QTest::addColumn<QByteArray>("file");
    for (quint32 seed = 1; seed <= 20; ++seed)
        QTest::newRow(qPrintable(QStringLiteral("seed %1").arg(seed)))
            << kBanner + "\r\n" + junk(20000, seed);
    // Junk that passes the header and headings and then breaks the rows.
    for (quint32 seed = 21; seed <= 40; ++seed)
        QTest::newRow(qPrintable(QStringLiteral("seed %1 in rows").arg(seed)))
            << validLeqFile(10) + junk(20000, seed);
}

void BrokenFilesTest::binaryJunkAfterTheBanner() {
    QFETCH(QByteArray, file);
    const ReadResult result = readIn(file);
    // Whatever the junk, the read ends; a failure names its code and line, and
    // what was read holds one value per time in every set.
    if (result.status == ReadResult::Status::Failed) {
        QVERIFY(result.error.code != ReadErrorCode::None);
        QVERIFY(result.error.description.contains(QStringLiteral("(line ")));
    }
    for (const DataSet& set : result.data.sets)
        QCOMPARE(qsizetype(set.values.size()), result.data.pointCount());
}

void BrokenFilesTest::truncationAtEveryByteEnds() {
    // A download cut off anywhere: every prefix of a valid file reads to an
    // outcome, and what it gives is the file's own first rows. (A number cut
    // in its digits, "20" to "2", cannot be told from a whole one, so the last
    // value read is not compared.)
    const QByteArray file = validLeqFile(4);
    const GraphData whole = readIn(file).data;
    QCOMPARE(whole.pointCount(), 4);
    for (qsizetype length = 0; length < file.size(); ++length) {
        const ReadResult result = readIn(file.first(length));
        const GraphData& part = result.data;
        QVERIFY(part.pointCount() <= whole.pointCount());
        for (qsizetype i = 0; i < part.pointCount(); ++i) {
            QCOMPARE(part.times[size_t(i)], whole.times[size_t(i)]);
            for (qsizetype k = 0; k < part.setCount(); ++k) {
                const bool lastValue = i == part.pointCount() - 1 && k == part.setCount() - 1;
                QVERIFY(qsizetype(part.sets[k].values.size()) == part.pointCount());
                if (!lastValue)
                    QCOMPARE(part.sets[k].values[size_t(i)], whole.sets[k].values[size_t(i)]);
            }
        }
    }
}

void BrokenFilesTest::veryLongLines() {
    // A header value of two megabytes is kept whole.
    const QByteArray longValue(2 * 1024 * 1024, 'v');
    QByteArray file =
        kBanner + "\r\n" +
        line({text("Measurement Title"), text({}), text({}), text({}), text(longValue)}) +
        headingLine(leqColumns()) + line({text("31/12/2003"), text("14:05:00"), "45.3", "0"});
    ReadResult result = readIn(file);
    QCOMPARE(result.status, ReadResult::Status::Read);
    QCOMPARE(result.data.headers[0].value.size(), longValue.size());
    QCOMPARE(result.data.pointCount(), 1);

    // A data line with a megabyte of text in its value column is dropped whole.
    file = validLeqFile(2) +
           line({text("31/12/2003"), text("14:06:00"), QByteArray(1 << 20, 'x'), "0"}) +
           line({text("31/12/2003"), text("14:07:00"), "50", "0"});
    result = readIn(file);
    QCOMPARE(result.status, ReadResult::Status::Read);
    QCOMPARE(result.data.pointCount(), 3);
    QCOMPARE(result.data.sets[0].values.back(), 50.0f);

    // A header line of a million `"",` fields is cleaned in one pass.
    QByteArray fields;
    for (int i = 0; i < 1000000; ++i)
        fields += "\"\",";
    file = kBanner + "\r\n\"Name\"," + fields + "\"end\"\r\n" + headingLine(leqColumns()) +
           line({text("31/12/2003"), text("14:05:00"), "45.3", "0"});
    result = readIn(file);
    QCOMPARE(result.status, ReadResult::Status::Read);
    QCOMPARE(result.data.headers[0].value, QStringLiteral("end"));
}

void BrokenFilesTest::missingAndUnreadableFiles() {
    QTemporaryDir folder;
    ReadResult result = readDataFile(folder.filePath("absent_Sta.csv"));
    QCOMPARE(result.status, ReadResult::Status::Failed);
    QCOMPARE(result.error.code, ReadErrorCode::FileNotFound);
    QVERIFY(result.error.description.contains(QStringLiteral("absent_Sta.csv")));

    result = readDataFile(folder.path());
    QCOMPARE(result.status, ReadResult::Status::Failed);
    QCOMPARE(result.error.code, ReadErrorCode::FileAccess);

    const QString empty = folder.filePath("empty.csv");
    QVERIFY(writeFile(empty, {}));
    QCOMPARE(readDataFile(empty).status, ReadResult::Status::BadFileType);
}

void BrokenFilesTest::largeFilesAreJudgedByTheirStart_data() {
    QTest::addColumn<QByteArray>("start");
    QTest::addColumn<qint64>("size"); // zeros after the start, not stored on disc
    QTest::addColumn<ReadResult::Status>("status");
    constexpr qint64 kLarge = qint64(1) << 30;
    const QByteArray blankLines = QByteArray("\r\n").repeated(10000);
    QTest::newRow("zeros") << QByteArray() << kLarge << ReadResult::Status::BadFileType;
    QTest::newRow("archive") << QByteArray("PK\x03\x04") << kLarge
                             << ReadResult::Status::BadFileType;
    QTest::newRow("text after blank lines") << blankLines + "Not a banner\r\n"
                                            << kLarge << ReadResult::Status::BadFileType;
    QTest::newRow("data file after blank lines")
        << blankLines + validLeqFile(3) << qint64(0) << ReadResult::Status::Read;
}

void BrokenFilesTest::largeFilesAreJudgedByTheirStart() {
    QFETCH(QByteArray, start);
    QFETCH(qint64, size);
    QFETCH(ReadResult::Status, status);
    if (bytesReadSoFar() < 0)
        QSKIP("the system does not count the bytes a process reads");
    QTemporaryDir folder;
    const QString path = folder.filePath("film.dat");
    QVERIFY(writeFile(path, start));
    QFile file(path);
    QVERIFY(file.resize(start.size() + size));
    const qint64 before = bytesReadSoFar();
    const ReadResult result = readDataFile(path);
    const qint64 read = bytesReadSoFar() - before;
    QCOMPARE(result.status, status);
    QVERIFY2(read < 1 << 20, qPrintable(QStringLiteral("%1 bytes read").arg(read)));
}

void BrokenFilesTest::failureMessageText() {
    const ReadError error{ReadErrorCode::PastEndOfFile, QStringLiteral("Input past end of file")};
    QCOMPARE(ReaderMessages::failure(error),
             QStringLiteral("Read file detects an error!\rCode 62 Input past end of file"));
}

QTEST_GUILESS_MAIN(BrokenFilesTest)
#include "test_reader_broken.moc"
