// Whole downloads from the simulated logger over a pseudo-terminal, read back
// by the graph viewer's own reader.
#include "BufferTransfer.h"
#include "CommandLibrary.h"
#include "DataFileReader.h"
#include "LinkedLogger.h"

#include <QTemporaryDir>
#include <QTimer>

using Fault = LoggerSimulator::Fault;

namespace {

const QLocale English(QLocale::English, QLocale::UnitedKingdom);

// Two hours at one short-term Leq value a second: 2 start events, 600 Leq
// blocks, 8 statistical blocks and 2 stop events.
constexpr int SurveyBlocks = 612;

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

ReadResult ReadBack(const QString& path) {
    ReadOptions options;
    options.locale = English;
    return readDataFile(path, options);
}

} // namespace

class TestBufferTransfer : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    LinkedLogger* m_logger = nullptr;
    NoticeRecorder* m_notices = nullptr;

    TransferRequest oneBuffer(const QString& name) {
        TransferRequest request =
            TransferRequest::OneBuffer(0, ProgramRead(0), m_dir.filePath(name));
        request.locale = English;
        request.serialNumberText = SerialNumberText(12345678);
        request.blockTimeOut = 300; // the simulator answers at once or never
        return request;
    }

    // The buffers the simulator does not hold stay silent: a short wait for them.
    BufferTransfer wholeMemory(const QString& name) {
        SetCommsTimeOut(250);
        TransferRequest request = TransferRequest::WholeMemoryDump(m_dir.filePath(name));
        request.locale = English;
        request.blockTimeOut = 300;
        return BufferTransfer(request);
    }

private slots:
    void init() {
        m_notices = new NoticeRecorder;
        m_logger = new LinkedLogger;
        sim::DayOfDataOptions survey;
        survey.hours = 2;
        m_logger->sim.model().fillMemory(survey);
        QVERIFY(m_logger->link());
    }
    void cleanup() {
        delete m_logger;
        delete m_notices;
    }

    void oneBufferReadsBackInTheViewer() {
        BufferTransfer transfer(oneBuffer("survey"));
        QList<qint32> done;
        transfer.setProgress([&](qint32 blocks, qint32 total) {
            QCOMPARE(total, SurveyBlocks);
            done << blocks;
        });
        const TransferResult result = transfer.run();
        QCOMPARE(result.outcome, TransferResult::Outcome::Completed);
        QCOMPARE(result.message, QStringLiteral("Data has been successfully downloaded."));
        QCOMPARE(result.records, SurveyBlocks);
        QCOMPARE(done.size(), SurveyBlocks + 1);
        QCOMPARE(done.last(), SurveyBlocks);
        QVERIFY(result.loggerAwake);
        QCOMPARE(GetCommsTimeOut(), 2000); // the link's own limit again
        QCOMPARE(result.files.size(), 3);

        const ReadResult statistical = ReadBack(m_dir.filePath("survey_Sta.csv"));
        QCOMPARE(statistical.status, ReadResult::Status::Read);
        QCOMPARE(statistical.data.setCount(), 14);
        QCOMPARE(statistical.data.pointCount(), 8);
        QCOMPARE(statistical.data.headers.at(1).value, QStringLiteral("Day survey      "));
        const ReadResult leq = ReadBack(m_dir.filePath("survey_Leq0.csv"));
        QCOMPARE(leq.status, ReadResult::Status::Read);
        QCOMPARE(leq.data.pointCount(), 2 * 3600);
        // One value a second, the first one second after the start.
        QCOMPARE(qRound((leq.data.times.back() - leq.data.times.front()) * 86400), 7199);
        QCOMPARE(Contents(m_dir.filePath("survey.log")).count("\r\n\"01/03/2004\""), 4);
    }

    // Abort can be pressed only at the event pass before block 30; block 30 is
    // read but not written.
    void abortAtTheEventPass() {
        BufferTransfer transfer(oneBuffer("aborted"));
        QTimer::singleShot(0, [&] { transfer.abort(); });
        const TransferResult result = transfer.run();
        QCOMPARE(result.outcome, TransferResult::Outcome::Terminated);
        QCOMPARE(result.message, QStringLiteral("The download has been terminated"));
        QCOMPARE(result.records, 29);
        QCOMPARE(ReadBack(m_dir.filePath("aborted_Leq0.csv")).data.pointCount(), 27 * 12);
        QCOMPARE(ReadBack(m_dir.filePath("aborted_Sta.csv")).status, ReadResult::Status::Read);
    }

    void interruptedTransferKeepsWhatCame() {
        m_logger->sim.setFault(Fault::StopMidTransfer, 100);
        BufferTransfer transfer(oneBuffer("cut"));
        const TransferResult result = transfer.run();
        m_logger->sim.setFault(Fault::None);
        QCOMPARE(result.outcome, TransferResult::Outcome::Interrupted);
        QVERIFY(result.message.startsWith("Communication with the logger has been interrupted."));
        QCOMPARE(result.records, 100);
        QCOMPARE(GetCommsTimeOut(), 2000);
        // 2 events, 97 Leq blocks and the first statistical block.
        QCOMPARE(ReadBack(m_dir.filePath("cut_Leq0.csv")).data.pointCount(), 97 * 12);
        QCOMPARE(ReadBack(m_dir.filePath("cut_Sta.csv")).data.pointCount(), 1);
    }

    void noBlockCountIsNoSuccess() {
        m_logger->sim.setFault(Fault::Silent);
        BufferTransfer transfer(oneBuffer("silent"));
        const TransferResult result = transfer.run();
        m_logger->sim.setFault(Fault::None);
        QCOMPARE(result.outcome, TransferResult::Outcome::Interrupted);
        QCOMPARE(result.announced, -1);
        QCOMPARE(result.records, 0);
    }

    // The statistical file of a whole-memory download gets its first line with
    // the first statistical block, after 2 events and 75 Leq blocks.
    void fileErrorStopsTheTransfer() {
        const QString base = m_dir.filePath("full");
        QVERIFY(QFile::link("/dev/full", base + "_Sta.csv"));
        TransferResult result = wholeMemory("full").run();
        QCOMPARE(result.outcome, TransferResult::Outcome::FileError);
        QCOMPARE(result.records, 77);
        QCOMPARE(result.fileError.path, base + "_Sta.csv");
        QVERIFY(result.message.startsWith("Cannot write to the file " + base +
                                          "_Sta.csv.\rNo space left on device\rThe download "
                                          "has been stopped after 77 records"));
        QCOMPARE(Contents(base + "_Leq0.csv").count(",0\r\n"), 75 * 12);
        QCOMPARE(GetCommsTimeOut(), 250);
    }

    // The whole memory ends at the terminator after the one buffer's blocks.
    void wholeMemoryStopsAtTheTerminator() {
        QList<int> kinds;
        BufferTransfer transfer = wholeMemory("dump");
        transfer.setFileOpened([&](DataFileKind kind, const QString&) { kinds << int(kind); });
        const TransferResult result = transfer.run();
        QCOMPARE(result.outcome, TransferResult::Outcome::Terminated);
        QCOMPARE(result.records, SurveyBlocks);
        QCOMPARE(kinds, QList<int>({3, 0, 1, 2}));
        QCOMPARE(Contents(m_dir.filePath("dump_Hdr.csv")).count("\"Orvane Instruments"), 8);
        QCOMPARE(Contents(m_dir.filePath("dump_Sta.csv")).count("\r\n"), 8);
        QCOMPARE(Contents(m_dir.filePath("dump_Leq0.csv")).count(",0\r\n"), 2 * 3600);
    }
};

QTEST_GUILESS_MAIN(TestBufferTransfer)
#include "test_buffertransfer.moc"
