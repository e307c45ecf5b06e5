// What the download writes, read back by the graph viewer's reader: titles
// with any byte, damaged time stamps and the header file of a whole-memory
// download, through the writer itself and through a download from the
// simulated logger. Every data line has as many fields as its heading line.

#include "BufferTransfer.h"
#include "CommandLibrary.h"
#include "DataFileReader.h"
#include "DataFiles.h"
#include "DateSerial.h"
#include "LinkedLogger.h"
#include "MemoryBlock.h"
#include "MemoryBlocks.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <functional>

namespace {

const QLocale English(QLocale::English, QLocale::UnitedKingdom);
const HeaderContext Context{QStringLiteral("12-345-678"), English};

BufferRecord Buffer(const QByteArray& title) {
    BufferRecord record;
    record.interval = 15;
    record.leqMode = record.leqLength = 1;
    record.percentileIndices = QByteArray("\x01\x05\x0a\x19\x32\x4b\x5a\x63", 8);
    record.title = title;
    record.preReference = record.postReference = -1;
    return record;
}

ReadResult ReadBack(const QString& path) {
    ReadOptions options;
    options.locale = English;
    return readDataFile(path, options);
}

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Fields of one line as a spreadsheet splits it: nothing is escaped inside
// quotes, so a quote opens or closes a text field.
int FieldCount(const QByteArray& line) {
    int fields = 1;
    bool quoted = false;
    for (const char c : line) {
        if (c == '"')
            quoted = !quoted;
        else if (c == ',' && !quoted)
            ++fields;
    }
    return fields;
}

// Every line ends with CR LF and holds no other line end; after the heading
// line every line is empty (a Leq record that ended early) or has the heading's
// number of fields. Returns the number of data lines, -1 when a line breaks
// these rules.
int CheckFieldCounts(const QString& path) {
    QList<QByteArray> lines = Contents(path).split('\n');
    // What follows the last line end: nothing when the file ends with one.
    if (!lines.takeLast().isEmpty()) {
        qWarning("%s does not end with a line end", qPrintable(path));
        return -1;
    }
    int expected = 0;
    int dataLines = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QByteArray line = lines[i];
        if (!line.endsWith('\r') || line.count('\r') != 1) {
            qWarning("%s line %lld: not one line ended by CR LF", qPrintable(path), i + 1);
            return -1;
        }
        line.chop(1);
        if (line.startsWith("\"Date\"")) {
            expected = FieldCount(line);
        } else if (expected > 0 && !line.isEmpty()) {
            if (FieldCount(line) != expected) {
                qWarning("%s line %lld: %d fields under %d headings", qPrintable(path), i + 1,
                         FieldCount(line), expected);
                return -1;
            }
            ++dataLines;
        }
    }
    return dataLines;
}

double Serial(const sim::DateTime& at) {
    return DateSerial::fromDateTime(
        QDateTime(QDate(at.year, at.month, at.day), QTime(at.hour, at.minute, at.second), Qt::UTC));
}

DecodedBlock Decoded(const std::string& block) {
    return DecodeBlock(QByteArray::fromStdString(block), 1);
}

} // namespace

Q_DECLARE_METATYPE(sim::DateTime)

class TestRoundTrip : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    // The logger stores a title as 16 bytes of any value; the viewer shows it
    // with its length, with line ends, controls and quotes made harmless.
    void titlesReadBack_data() {
        QTest::addColumn<QByteArray>("title");
        QTest::addColumn<QString>("shown");
        QTest::newRow("plain") << QByteArray("Quarry north    ") << "Quarry north    ";
        QTest::newRow("letters above 127") << QByteArray("Caf\xe9 M\xfcller \xa3"
                                                         "5  ")
                                           << QString::fromUtf8("Café Müller £5  ");
        QTest::newRow("line ends") << QByteArray("North\rSouth\nE\r\n  ") << "North South E    ";
        QTest::newRow("quotes and commas")
            << QByteArray("\"\",a,\"b\",\"\",   ") << "'',a,'b','',   ";
        QTest::newRow("erased memory") << QByteArray(16, '\xff') << QString(16, QChar(0xff));
        QTest::newRow("controls") << QByteArray("a\0b\x7f"
                                                "c\x85\x9f"
                                                "d        ",
                                                16)
                                  << "a b c  d        ";
    }
    void titlesReadBack() {
        QFETCH(QByteArray, title);
        QFETCH(QString, shown);
        const QString base = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()));
        const BufferRecord record = Buffer(title);
        DataFileSet files(base, Context);
        QVERIFY(files.openForBuffer(record).ok());
        QVERIFY(files.write(Decoded(sim::statisticalBlock({2004, 3, 1, 0, 15, 0}, {}))).ok());
        QVERIFY(files.close().ok());
        for (const QString& path : {StatisticalFilePath(base), LeqFilePath(base, 0)}) {
            const ReadResult result = ReadBack(path);
            QCOMPARE(result.status, ReadResult::Status::Read);
            // One entry per header line after the banner, the title second.
            QCOMPARE(result.data.headerCount(), HeaderLines(record, Context).size() - 1);
            QCOMPARE(result.data.headers[1].name, QStringLiteral("Measurement Title"));
            QCOMPARE(result.data.headers[1].value, shown);
            QCOMPARE(result.data.headers.last().value, QStringLiteral("dB SPL"));
        }
        QCOMPARE(CheckFieldCounts(StatisticalFilePath(base)), 1);
    }

    // A stamp that is no calendar date-time (corrupt or erased memory) is
    // written with its values and an empty date; the viewer leaves the row out
    // and counts it, and every other row keeps its own time.
    void damagedStampsAreLeftOut_data() {
        QTest::addColumn<sim::DateTime>("stamp");
        QTest::newRow("month 13") << sim::DateTime{2004, 13, 1, 0, 30, 0};
        QTest::newRow("day 0") << sim::DateTime{2004, 3, 0, 0, 30, 0};
        QTest::newRow("29 February 2003") << sim::DateTime{2003, 2, 29, 0, 30, 0};
        QTest::newRow("hour 24") << sim::DateTime{2004, 3, 1, 24, 30, 0};
        QTest::newRow("minute 60") << sim::DateTime{2004, 3, 1, 0, 60, 0};
        QTest::newRow("erased") << sim::DateTime{1996 + 255, 255, 255, 255, 255, 255};
    }
    void damagedStampsAreLeftOut() {
        QFETCH(sim::DateTime, stamp);
        const sim::DateTime first{2004, 3, 1, 0, 15, 0}, last{2004, 3, 1, 0, 45, 0};
        const QString base = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()));
        DataFileSet files(base, Context);
        QVERIFY(files.openForBuffer(Buffer("Survey          ")).ok());
        for (const sim::DateTime& at : {first, stamp, last}) {
            QVERIFY(files.write(Decoded(sim::statisticalBlock(at, {}))).ok());
            QVERIFY(files.write(Decoded(sim::shortTermLeqBlock(at, {450, 460, 470}))).ok());
        }
        QVERIFY(files.close().ok());

        const ReadResult statistical = ReadBack(StatisticalFilePath(base));
        QCOMPARE(statistical.status, ReadResult::Status::Read);
        QCOMPARE(statistical.skippedRows, 1);
        QCOMPARE(statistical.data.times, std::vector<double>({Serial(first), Serial(last)}));
        QCOMPARE(CheckFieldCounts(StatisticalFilePath(base)), 3);

        const ReadResult leq = ReadBack(LeqFilePath(base, 0));
        QCOMPARE(leq.status, ReadResult::Status::Read);
        QCOMPARE(leq.skippedRows, 3);
        QCOMPARE(leq.data.pointCount(), 6);
        // The stamp is the twelfth value's time, one second apart.
        QCOMPARE(leq.data.times.front(), Serial({2004, 3, 1, 0, 14, 49}));
        QCOMPARE(leq.data.times.back(), Serial({2004, 3, 1, 0, 44, 51}));
        QCOMPARE(leq.data.sets[0].values, std::vector<float>({45, 46, 47, 45, 46, 47}));
        QCOMPARE(CheckFieldCounts(LeqFilePath(base, 0)), 9);
    }

    // The eight sections of a header file describe buffers, not data: the
    // viewer says it read no data rather than failing on their numbers.
    void headerFileHasNoData() {
        const QString base = m_dir.filePath("dump");
        DataFileSet files(base, Context);
        QVERIFY(files
                    .openForWholeMemory([](int buffer) {
                        BufferRecord record = Buffer("Buffer          ");
                        record.preReference = qint16(940 + buffer);
                        return record;
                    })
                    .ok());
        QVERIFY(files.close().ok());
        const ReadResult result = ReadBack(HeaderFilePath(base));
        QCOMPARE(result.status, ReadResult::Status::Read);
        QVERIFY(!result.data.hasData());
        QCOMPARE(result.skippedRows, 0);
        QCOMPARE(result.data.setCount(), 14);
        QCOMPARE(result.data.headers[15].value, QStringLiteral("94"));
    }

    // A download of a survey whose memory holds one damaged statistical stamp
    // and one damaged short-term Leq stamp.
    void downloadReadsBackRowForRow() {
        NoticeRecorder notices;
        LinkedLogger logger;
        sim::DayOfDataOptions survey;
        survey.hours = 1;
        survey.title = "Caf\xe9 \"north\"\r";
        LoggerModel& model = logger.sim.model();
        model.fillMemory(survey);
        std::vector<std::string> blocks = model.bufferBlocks(0);
        // Month 13 in the first statistical block, day 0 in the first Leq block.
        bool statisticalDamaged = false, leqDamaged = false;
        std::vector<double> statisticalTimes;
        std::vector<float> statisticalLeq;
        for (std::string& block : blocks) {
            const sim::BlockType type = sim::blockType(block);
            if (type == sim::BlockType::Statistical && !statisticalDamaged) {
                block[2] = 13;
                statisticalDamaged = true;
            } else if (type == sim::BlockType::Statistical) {
                statisticalTimes.push_back(
                    Serial({1996 + block[1], block[2], block[3], block[4], block[5], 0}));
                statisticalLeq.push_back(float(std::get<StatisticalRecord>(Decoded(block)).leq));
            } else if (type == sim::BlockType::ShortTermLeq && !leqDamaged) {
                block[3] = 0;
                leqDamaged = true;
            }
        }
        const std::string record = model.bufferRecord(0);
        model.clearBuffers();
        QVERIFY(model.addBuffer(record, blocks));
        QVERIFY(logger.link());

        TransferRequest request =
            TransferRequest::OneBuffer(0, ProgramRead(0), m_dir.filePath("survey"));
        request.locale = English;
        request.serialNumberText = SerialNumberText(12345678);
        request.blockTimeOut = 300;
        QCOMPARE(BufferTransfer(request).run().outcome, TransferResult::Outcome::Completed);

        const QString statisticalPath = m_dir.filePath("survey_Sta.csv");
        const ReadResult statistical = ReadBack(statisticalPath);
        QCOMPARE(statistical.status, ReadResult::Status::Read);
        QCOMPARE(statistical.data.headers[1].value, QString::fromUtf8("Café 'north'    "));
        QCOMPARE(statistical.skippedRows, 1);
        QCOMPARE(statistical.data.setCount(), 14);
        QCOMPARE(statistical.data.times, statisticalTimes);
        QCOMPARE(statistical.data.sets[0].values, statisticalLeq);
        QCOMPARE(CheckFieldCounts(statisticalPath), int(statisticalTimes.size()) + 1);

        const QString leqPath = m_dir.filePath("survey_Leq0.csv");
        const ReadResult leq = ReadBack(leqPath);
        QCOMPARE(leq.status, ReadResult::Status::Read);
        QCOMPARE(leq.skippedRows, 12);
        QCOMPARE(leq.data.pointCount(), 3600 - 12);
        // One value a second: a row given its neighbour's time would repeat it.
        QVERIFY(std::adjacent_find(leq.data.times.begin(), leq.data.times.end(),
                                   std::greater_equal<double>()) == leq.data.times.end());
        QCOMPARE(CheckFieldCounts(leqPath), 3600);
    }
};

QTEST_GUILESS_MAIN(TestRoundTrip)
#include "test_roundtrip.moc"
