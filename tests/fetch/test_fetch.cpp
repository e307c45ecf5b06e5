// qn7x-fetch run as a program against the simulated logger on a pseudo-terminal,
// its port named in a settings file of this test's own settings folder: the
// list, downloads compared byte for byte with the window's transfer, a modem
// dial, faults mid-transfer, and --clear-after.
#include "BufferList.h"
#include "BufferTransfer.h"
#include "CommandLibrary.h"
#include "FetchRun.h"
#include "Link.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>

namespace {

using namespace fetchrun;
using DialOutcome = LoggerSimulator::DialOutcome;

const QString DateLocale = QStringLiteral("de_DE");

} // namespace

class TestFetch : public QObject {
    Q_OBJECT

    std::unique_ptr<LoggerSimulator> m_sim;
    std::unique_ptr<QTemporaryDir> m_dir;

    QString base(const QString& name) const { return m_dir->filePath(name); }

    // What the download window writes for the same request: the same transfer
    // call, linked from this process once qn7x-fetch has let go of the port.
    QStringList windowFiles(bool wholeMemory, const QString& baseName) const {
        if (!OpenLink(1, 19200, 1))
            return {};
        TransferRequest request = wholeMemory
                                      ? TransferRequest::WholeMemoryDump(baseName)
                                      : TransferRequest::OneBuffer(1, ProgramRead(1), baseName);
        request.serialNumberText = SerialNumberText(Logger::GetInformation().serialNumber);
        request.locale = QLocale(DateLocale);
        request.checkLoggerAwake = false;
        const TransferResult result = BufferTransfer(request).run();
        CloseLink();
        return result.files;
    }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_sim = std::make_unique<LoggerSimulator>();
        m_sim->model().clearBuffers();
    }
    void cleanup() { m_sim.reset(); }

    void listsTheBuffers() {
        QVERIFY(AddBuffer(*m_sim, 1, {.records = 12}));
        QVERIFY(AddBuffer(*m_sim, 2, {.records = 30}));
        QVERIFY(StartSimulatorOnPort(*m_sim));
        const Run run = Fetch({"--list"});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QByteArray("1\tSite 1\t2004-03-01T08:00:00\t2004-03-01T20:00:00\t1 "
                                     "minute\t14\n"
                                     "2\tSite 2\t2004-03-02T08:00:00\t2004-03-02T20:00:00\t1 "
                                     "minute\t36\n"));
        QVERIFY(m_sim->hostBytes().ends_with(Unlink));
    }

    // The files are those of the window's transfer, byte for byte.
    void downloadsAsTheWindow_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("wholeMemory");
        QTest::newRow("one buffer") << QStringList{"--buffer", "2"} << false;
        QTest::newRow("whole memory") << QStringList{"--all"} << true;
    }
    void downloadsAsTheWindow() {
        QFETCH(QStringList, arguments);
        QFETCH(bool, wholeMemory);
        // Every buffer held: the whole memory's header file waits for none.
        for (int n = 1; n <= MaxBuffers; ++n)
            QVERIFY(AddBuffer(*m_sim, n, {.records = 10 * n}));
        QVERIFY(StartSimulatorOnPort(*m_sim));
        const Run run = Fetch(arguments + QStringList{"--base", base("fetch"), "--date-format",
                                                      DateLocale, "--json"});
        QCOMPARE(run.exitCode, 0);
        const QJsonObject download = run.json()["downloads"].toArray().at(0).toObject();
        QVERIFY(download["records"].toInt() > 0);
        QVERIFY(m_sim->hostBytes().ends_with(Unlink));

        const QStringList window = windowFiles(wholeMemory, base("window"));
        const QJsonArray fetched = download["files"].toArray();
        QCOMPARE(fetched.size(), window.size());
        for (qsizetype i = 0; i < window.size(); ++i) {
            const QString path = fetched.at(i).toString();
            QCOMPARE(QFileInfo(path).fileName().mid(5), QFileInfo(window[i]).fileName().mid(6));
            QCOMPARE(Contents(path), Contents(window[i]));
        }
    }

    void dialsThroughTheModem_data() {
        QTest::addColumn<DialOutcome>("outcome");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("connects") << DialOutcome::Connect << 0;
        QTest::newRow("busy") << DialOutcome::Busy << 3;
    }
    void dialsThroughTheModem() {
        QFETCH(DialOutcome, outcome);
        QFETCH(int, exitCode);
        QVERIFY(AddBuffer(*m_sim, 1, {.records = 5}));
        m_sim->setModemMode(true);
        m_sim->setDialOutcome("5550100", outcome);
        QVERIFY(StartSimulatorOnPort(*m_sim));
        const Run run = Fetch({"--modem", "5550100", "--init", "ATZ", "--list"});
        QCOMPARE(run.exitCode, exitCode);
        const std::string wire = m_sim->hostBytes();
        QVERIFY(wire.find("ATZ\r") != std::string::npos);
        QVERIFY(wire.find("ATDT5550100\r") != std::string::npos);
        if (exitCode == 0) {
            // Unlinked first, then hung up.
            const auto unlink = wire.rfind(Unlink);
            QVERIFY(unlink != std::string::npos);
            QVERIFY(wire.find("+++", unlink) != std::string::npos);
            QVERIFY(wire.ends_with("ATH\r"));
        } else {
            QVERIFY(!run.err.isEmpty());
        }
    }

    // The files keep every block that came before the fault, under their
    // staged names.
    void faultMidTransfer_data() {
        QTest::addColumn<bool>("vanish");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<int>("records");
        QTest::newRow("logger gone at block 41") << true << QString() << 5 << 40;
        QTest::newRow("a file where its folder goes") << false << QString("taken/") << 6 << -1;
    }
    void faultMidTransfer() {
        QFETCH(bool, vanish);
        QFETCH(QString, folder);
        QFETCH(int, exitCode);
        QFETCH(int, records);
        QVERIFY(AddBuffer(*m_sim, 1, {.records = 100, .leqEvery = 0}));
        if (vanish)
            m_sim->setFault(LoggerSimulator::Fault::Vanish, 40);
        QFile taken(base("taken"));
        QVERIFY(taken.open(QIODevice::WriteOnly));
        QVERIFY(StartSimulatorOnPort(*m_sim));
        const Run run = Fetch({"--buffer", "1", "--base", base(folder + "site"), "--json"});
        QCOMPARE(run.exitCode, exitCode);
        QCOMPARE(run.err.count('\n'), 1); // one line for the one error
        QCOMPARE(StatisticalRecords(base(folder + "site_Sta.csv.part")), records);
    }

    // Only a complete download clears, and only the buffers it downloaded.
    void clearsOnlyAfterCompleteDownload_data() {
        QTest::addColumn<int>("terminatorAfter");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<int>("buffersLeft");
        QTest::newRow("complete") << 0 << 0 << 1;
        QTest::newRow("incomplete") << 10 << 7 << 2;
    }
    void clearsOnlyAfterCompleteDownload() {
        QFETCH(int, terminatorAfter);
        QFETCH(int, exitCode);
        QFETCH(int, buffersLeft);
        QVERIFY(AddBuffer(*m_sim, 1, {.records = 5}));
        QVERIFY(AddBuffer(*m_sim, 2, {.records = 20, .terminatorAfter = terminatorAfter}));
        QVERIFY(StartSimulatorOnPort(*m_sim));
        const Run run = Fetch({"--buffer", "2", "--base", base("site"), "--clear-after"});
        QCOMPARE(run.exitCode, exitCode);
        QCOMPARE(m_sim->model().bufferCount(), buffersLeft);
        QCOMPARE(m_sim->hostBytes().find("\x01"
                                         "C") == std::string::npos,
                 exitCode != 0);
    }

    // A port that will not open ends the run with its cause: no message box
    // waits for an answer, and no display is needed to tell it.
    void portThatWillNotOpen_data() {
        QTest::addColumn<QString>("device");
        QTest::newRow("no such device") << QStringLiteral("/dev/qn7x-none");
        QTest::newRow("not a serial port") << QStringLiteral("/dev/null");
    }
    void portThatWillNotOpen() {
        QFETCH(QString, device);
        QProcess process;
        process.setProcessEnvironment(SchedulerEnvironment("en_GB.UTF-8"));
        process.start(Program(), {device, "--status", "--json"});
        const Run run = Finish(process);
        QCOMPARE(run.exitCode, 4);
        QVERIFY2(run.err.contains(device.toUtf8()), run.err.constData());
        QCOMPARE(run.json().value("exitCode").toInt(), 4);
    }
};

QTEST_GUILESS_MAIN(TestFetch)
#include "test_fetch.moc"
