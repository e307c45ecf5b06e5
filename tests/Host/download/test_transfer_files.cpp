// Downloads from the simulated logger over a pseudo-terminal of small buffers
// holding every kind of record, and of the whole memory, compared byte for byte
// with the files in expected/, which were written out by hand.
#include "BufferRecordLayout.h"
#include "BufferTransfer.h"
#include "CommandLibrary.h"
#include "LinkedLogger.h"
#include "MemoryBlocks.h"

#include <QTemporaryDir>

namespace {

using sim::DateTime;
using Outcome = TransferResult::Outcome;

struct Buffer {
    std::string record;
    std::vector<std::string> blocks;
};

sim::StatisticalValues Statistics(int leq, int lmin, int lmax, std::array<int, 8> percentiles,
                                  int temperature, int battery, bool overload) {
    return {leq, lmin, lmax, percentiles, temperature, battery, overload};
}

// Statistical records only: a full one, one with a missing Leq, and a warning.
Buffer Quiet() {
    sim::buffer_record::Settings settings;
    settings.title = "Quiet site";
    settings.preReference = 940;
    settings.start = DateTime{2003, 5, 1, 14, 0, 0};
    settings.stop = DateTime{2003, 5, 1, 15, 0, 0};
    return {
        sim::buffer_record::encode(settings),
        {sim::eventBlock(*settings.start, sim::LoggingStarted),
         sim::statisticalBlock(
             {2003, 5, 1, 14, 15, 7},
             Statistics(450, 350, 650, {400, 400, 400, 400, 400, 400, 400, 400}, -200, 90, true)),
         sim::statisticalBlock({2003, 5, 1, 14, 30, 0},
                               Statistics(0x8000, 333, 1015, {905, 804, 703, 602, 501, 400, 305, 5},
                                          215, 124, false)),
         sim::errorBlock({2003, 5, 1, 14, 40, 0}, 6),
         sim::eventBlock(*settings.stop, sim::LoggingStopped)}};
}

// Short-term Leq at one value a second across 29 February, a full record with
// overload marks and a record that ends early.
Buffer Leq() {
    sim::buffer_record::Settings settings;
    settings.aWeighting = false;
    settings.slow = true;
    settings.intervalMinutes = 1;
    settings.leqMode = 1;
    settings.leqSeconds = 1;
    settings.percentiles = {1, 5, 10, 33, 50, 90, 95, 99};
    settings.title = "Leq run";
    settings.postReference = 1001;
    settings.start = DateTime{2004, 2, 29, 23, 59, 50};
    settings.stop = DateTime{2004, 3, 1, 0, 1, 0};
    return {sim::buffer_record::encode(settings),
            {sim::eventBlock(*settings.start, sim::LeqStarted),
             sim::shortTermLeqBlock({2004, 3, 1, 0, 0, 5},
                                    {450, 2450, 600, 601, 602, 603, 604, 605, 606, 607, 608, 2001}),
             sim::shortTermLeqBlock({2004, 3, 1, 0, 0, 17}, {500, 2999}),
             sim::statisticalBlock(
                 *settings.stop, Statistics(555, 300, 800, {790, 700, 650, 600, 550, 500, 400, 310},
                                            -5, 120, false)),
             sim::eventBlock(*settings.stop, sim::LeqStopped),
             sim::eventBlock(*settings.stop, sim::LoggingStopped)}};
}

// Unknown codes and types, records whose stamp is no date (a Leq record in a
// buffer without short-term Leq among them), then a terminator and a block
// after it that is never read.
Buffer Odd() {
    sim::buffer_record::Settings settings;
    settings.title = "Odd blocks";
    settings.intervalMinutes = 5;
    settings.start = DateTime{2003, 6, 1, 10, 0, 0};
    std::string unknownType = sim::eventBlock({2003, 6, 1, 10, 0, 2}, 0);
    unknownType[0] = 9;
    const DateTime noDate{2004, 13, 40, 25, 61, 62};
    const int missing = 0x8000;
    return {sim::buffer_record::encode(settings),
            {sim::eventBlock(*settings.start, 12), sim::errorBlock({2003, 6, 1, 10, 0, 1}, 0),
             unknownType,
             sim::statisticalBlock(noDate, Statistics(500, 400, 600,
                                                      {missing, missing, missing, missing, missing,
                                                       missing, missing, missing},
                                                      0, -1, true)),
             sim::shortTermLeqBlock(noDate, {300, 301}),
             sim::terminatorBlock({2003, 6, 1, 10, 0, 3}),
             sim::eventBlock({2003, 6, 1, 10, 0, 4}, sim::LoggingStarted)}};
}

// The blocks of a whole memory with Quiet and a cleared Leq after it.
constexpr int MemoryBlocks = LoggerModel::kMemoryBytes / 34;
constexpr int BlocksBeforeErased = 12;

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray ExpectedFile(const QString& name) {
    return Contents(QFINDTESTDATA("expected/" + name));
}

// Line by line, so that a difference shows where it is.
void CompareFile(const QString& actualPath, const QByteArray& expected) {
    QCOMPARE(Contents(actualPath).split('\n'), expected.split('\n'));
}

} // namespace

class TestTransferFiles : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    LinkedLogger* m_logger = nullptr;
    NoticeRecorder* m_notices = nullptr;

    void addBuffers(const QList<Buffer>& buffers) {
        for (const Buffer& buffer : buffers)
            QVERIFY(m_logger->sim.model().addBuffer(buffer.record, buffer.blocks));
    }

    TransferRequest prepared(TransferRequest request) const {
        request.locale = English();
        request.serialNumberText = SerialNumberText(12345678);
        request.blockTimeOut = 300; // the simulator answers at once or never
        return request;
    }

    static QLocale English() { return QLocale(QLocale::English, QLocale::UnitedKingdom); }

    // The buffers the simulator does not hold stay silent: a short wait for them.
    TransferResult dump(const QString& name, bool stopAtTerminator) {
        SetCommsTimeOut(250);
        TransferRequest request = prepared(TransferRequest::WholeMemoryDump(m_dir.filePath(name)));
        request.stopAtTerminator = stopAtTerminator;
        return BufferTransfer(request).run();
    }

private slots:
    void init() {
        m_notices = new NoticeRecorder;
        m_logger = new LinkedLogger;
        addBuffers({Quiet(), Leq(), Odd()});
        QVERIFY(m_logger->link());
    }
    void cleanup() {
        delete m_logger;
        delete m_notices;
    }

    void oneBuffer_data() {
        QTest::addColumn<int>("buffer");
        QTest::addColumn<QString>("name");
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<int>("records");
        QTest::addColumn<QStringList>("files");
        const QStringList withoutLeq{"_Sta.csv", ".log"};
        const QStringList withLeq{"_Sta.csv", ".log", "_Leq0.csv"};
        QTest::newRow("statistical") << 0 << "quiet" << Outcome::Completed << 5 << withoutLeq;
        QTest::newRow("short-term Leq") << 1 << "leq" << Outcome::Completed << 6 << withLeq;
        QTest::newRow("odd blocks") << 2 << "odd" << Outcome::Terminated << 5 << withLeq;
    }
    void oneBuffer() {
        QFETCH(int, buffer);
        QFETCH(QString, name);
        QFETCH(Outcome, outcome);
        QFETCH(int, records);
        QFETCH(QStringList, files);
        const auto b = static_cast<qint16>(buffer);
        const TransferResult result =
            BufferTransfer(
                prepared(TransferRequest::OneBuffer(b, ProgramRead(b), m_dir.filePath(name))))
                .run();
        QCOMPARE(result.outcome, outcome);
        QCOMPARE(result.records, records);
        QStringList expectedFiles;
        for (const QString& suffix : files)
            expectedFiles << m_dir.filePath(name + suffix);
        QCOMPARE(result.files, expectedFiles);
        for (const QString& suffix : files)
            CompareFile(m_dir.filePath(name + suffix), ExpectedFile(name + suffix));
    }

    // Three buffers, five absent ones, and the terminator inside the third.
    void wholeMemory() {
        const TransferResult result = dump("dump", true);
        QCOMPARE(result.outcome, Outcome::Terminated);
        QCOMPARE(result.records, 5 + 6 + 5);
        for (const QString& suffix : QStringList{"_Hdr.csv", ".log", "_Sta.csv", "_Leq0.csv"})
            CompareFile(m_dir.filePath("dump" + suffix), ExpectedFile("dump" + suffix));
    }

    // Read on past the terminator, the memory gives the cleared buffer's blocks
    // (its first one is under the new terminator) and its old terminator, then
    // erased blocks to the end.
    void wholeMemoryPastTheTerminator() {
        m_logger->sim.model().clearBuffers();
        addBuffers({Quiet(), Leq()});
        QVERIFY(m_logger->sim.model().clearLastBuffer());
        const TransferResult result = dump("past", false);
        QCOMPARE(result.outcome, Outcome::Completed);
        QCOMPARE(result.records, MemoryBlocks);
        CompareFile(m_dir.filePath("past_Sta.csv"), ExpectedFile("past_Sta.csv"));
        CompareFile(m_dir.filePath("past_Leq0.csv"), ExpectedFile("past_Leq0.csv"));
        const QByteArray erased =
            "\"\",\"255:255:255\",\"ERROR : Unknown record type error (code 255) generated.\"\r\n";
        CompareFile(m_dir.filePath("past.log"),
                    ExpectedFile("past.log") + erased.repeated(MemoryBlocks - BlocksBeforeErased));
    }
};

QTEST_GUILESS_MAIN(TestTransferFiles)
#include "test_transfer_files.moc"
