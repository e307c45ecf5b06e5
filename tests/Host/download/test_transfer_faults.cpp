// A one-buffer download from the simulated logger over a pseudo-terminal that
// ends early: Abort, a logger that falls silent, powers down or disappears at a
// given block, corrupt bytes, and a full disk. Whatever came before is in the
// files, the files are closed and the comms wait limit is the one before.
#include "BufferRecordLayout.h"
#include "BufferTransfer.h"
#include "CommandLibrary.h"
#include "DataFileReader.h"
#include "LinkedLogger.h"
#include "MemoryBlocks.h"

#include <QDirIterator>
#include <QTemporaryDir>
#include <QTimer>

#include <csignal>
#include <sys/resource.h>

using Fault = LoggerSimulator::Fault;
using Outcome = TransferResult::Outcome;

namespace {

constexpr int Blocks = 100;
constexpr int LinkTimeOut = 2000;

// Block k (1 to 100) is stamped k minutes into 1 March 2004 and has the Leq
// 40 + k / 10 dB, so that the last record in a file tells which block it was.
std::vector<std::string> NumberedBlocks() {
    std::vector<std::string> blocks;
    for (int k = 1; k <= Blocks; ++k) {
        sim::StatisticalValues values;
        values.leq = 400 + k;
        blocks.push_back(sim::statisticalBlock({2004, 3, 1, k / 60, k % 60, 0}, values));
    }
    return blocks;
}

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The files under folder that this process still has open.
QStringList OpenFilesUnder(const QString& folder) {
    QStringList open;
    QDirIterator fds("/proc/self/fd", QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    while (fds.hasNext()) {
        const QString target = QFileInfo(fds.next()).symLinkTarget();
        if (target.startsWith(folder))
            open << target;
    }
    return open;
}

} // namespace

class TestTransferFaults : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    LinkedLogger* m_logger = nullptr;
    NoticeRecorder* m_notices = nullptr;

    TransferRequest request() const {
        TransferRequest request =
            TransferRequest::OneBuffer(0, ProgramRead(0), m_dir.filePath("survey"));
        request.locale = QLocale(QLocale::English, QLocale::UnitedKingdom);
        request.blockTimeOut = 300; // the simulator answers at once or never
        return request;
    }

    QString statisticalFile() const { return m_dir.filePath("survey_Sta.csv"); }

    // The statistical file read back by the graph viewer's reader holds points
    // statistical records, the last one from block last.
    void checkStatisticalFile(int points, int last) const {
        ReadOptions options;
        options.locale = QLocale(QLocale::English, QLocale::UnitedKingdom);
        const ReadResult read = readDataFile(statisticalFile(), options);
        QCOMPARE(read.status, ReadResult::Status::Read);
        QCOMPARE(read.data.pointCount(), points);
        QCOMPARE(read.data.sets.at(0).values.back(), float(400 + last) / 10);
    }

    void checkEnded() const {
        QCOMPARE(OpenFilesUnder(m_dir.path()), QStringList());
        QCOMPARE(GetCommsTimeOut(), LinkTimeOut);
    }

private slots:
    void init() {
        m_notices = new NoticeRecorder;
        m_logger = new LinkedLogger;
        sim::buffer_record::Settings settings;
        settings.intervalMinutes = 1;
        settings.title = "Numbered";
        QVERIFY(m_logger->sim.model().addBuffer(sim::buffer_record::encode(settings),
                                                NumberedBlocks()));
        QVERIFY(m_logger->link());
        QCOMPARE(GetCommsTimeOut(), LinkTimeOut);
    }
    void cleanup() {
        delete m_logger;
        delete m_notices;
    }

    // Abort pressed while block 45 is read is seen at the event pass before
    // block 60, which is read but not written.
    void abortWhileBlock45IsRead() {
        BufferTransfer transfer(request());
        transfer.setProgress([&](qint32 done, qint32) {
            if (done == 45)
                QTimer::singleShot(0, [&] { transfer.abort(); });
        });
        const TransferResult result = transfer.run();
        QCOMPARE(result.outcome, Outcome::Terminated);
        QCOMPARE(result.records, 59);
        checkStatisticalFile(59, 59);
        checkEnded();
    }

    // The fault strikes at block 41, or, for Corrupt, turns the type byte of
    // block 61 (the 2043rd byte sent after the two-byte block count) into 254.
    void loggerFault_data() {
        QTest::addColumn<Fault>("fault");
        QTest::addColumn<int>("param");
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<int>("records");
        QTest::addColumn<int>("points");
        QTest::addColumn<int>("last");
        QTest::newRow("silent from block 41")
            << Fault::StopMidTransfer << 40 << Outcome::Interrupted << 40 << 40 << 40;
        QTest::newRow("powered down at block 41")
            << Fault::PoweredDown << 40 << Outcome::Interrupted << 40 << 40 << 40;
        QTest::newRow("gone at block 41")
            << Fault::Vanish << 40 << Outcome::Interrupted << 40 << 40 << 40;
        QTest::newRow("corrupt byte") << Fault::Corrupt << 2 + 34 * 60 + 1 << Outcome::Completed
                                      << Blocks << Blocks - 1 << Blocks;
    }
    void loggerFault() {
        QFETCH(Fault, fault);
        QFETCH(int, param);
        QFETCH(Outcome, outcome);
        QFETCH(int, records);
        QFETCH(int, points);
        QFETCH(int, last);
        BufferTransfer transfer(request());
        m_logger->sim.setFault(fault, param);
        const TransferResult result = transfer.run();
        QCOMPARE(result.outcome, outcome);
        QCOMPARE(result.records, records);
        checkStatisticalFile(points, last);
        checkEnded();
        if (fault == Fault::Corrupt)
            QVERIFY(Contents(m_dir.filePath("survey.log"))
                        .endsWith("\"01/03/2004\",\"01:01:00\",\"ERROR : Unknown record type "
                                  "error (code 254) generated.\"\r\n"));
        else
            QVERIFY(
                result.message.startsWith("Communication with the logger has been interrupted."));
    }

    // A file size limit stands in for a full disk: the write that crosses it
    // fails, and every record before it is in the file.
    void fullDisk() {
        constexpr rlim_t Limit = 4096;
        constexpr int HeaderLines = 19 + 2; // header block, empty line, headings
        BufferTransfer transfer(request());
        rlimit saved{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        rlimit limited = saved;
        limited.rlim_cur = Limit;
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
        const TransferResult result = transfer.run();
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);

        QCOMPARE(result.outcome, Outcome::FileError);
        QCOMPARE(result.fileError.path, statisticalFile());
        QVERIFY(result.message.startsWith("Cannot write to the file " + statisticalFile()));
        const QByteArray written = Contents(statisticalFile());
        QVERIFY(result.records > 0);
        QCOMPARE(written.count("\r\n"), HeaderLines + result.records);
        QVERIFY(written.size() <= qsizetype(Limit));
        QVERIFY(written.size() > written.lastIndexOf("\r\n") + 2); // part of the next line
        checkEnded();
    }
};

QTEST_GUILESS_MAIN(TestTransferFaults)
#include "test_transfer_faults.moc"
