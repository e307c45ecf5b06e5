// qn7x-fetch run as a program against the simulated logger on a pseudo-terminal,
// its port named in a settings file of this test's own settings folder: the
// list, downloads compared byte for byte with the window's transfer, a modem
// dial, faults and a SIGTERM mid-transfer, and --clear-after.
#include "BufferList.h"
#include "BufferRecordLayout.h"
#include "BufferTransfer.h"
#include "CommandLibrary.h"
#include "Link.h"
#include "MemoryBlocks.h"
#include "SimulatorPort.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {

using sim::DateTime;
using DialOutcome = LoggerSimulator::DialOutcome;

const QString DateLocale = QStringLiteral("de_DE");
const std::string Unlink = "\x01n";

// Buffer n (1-based) holds statistical records a minute apart, every
// leqEvery-th followed by a short-term Leq record (none for 0), and a
// terminator after record terminatorAfter when that is above 0.
void AddBuffer(LoggerSimulator& sim, int n, int records, int leqEvery = 5,
               int terminatorAfter = 0) {
    sim::buffer_record::Settings settings;
    settings.title = "Site " + std::to_string(n);
    settings.intervalMinutes = 1;
    settings.leqMode = 1;
    settings.start = DateTime{2004, 3, n, 8, 0, 0};
    settings.stop = DateTime{2004, 3, n, 20, 0, 0};
    std::vector<std::string> data;
    for (int k = 1; k <= records; ++k) {
        const DateTime stamp{2004, 3, n, 8 + k / 60, k % 60, 0};
        sim::StatisticalValues values;
        values.leq = 400 + k;
        data.push_back(sim::statisticalBlock(stamp, values));
        if (leqEvery > 0 && k % leqEvery == 0)
            data.push_back(sim::shortTermLeqBlock(stamp, {500, 510, 520, 530}));
        if (k == terminatorAfter)
            data.push_back(sim::terminatorBlock(stamp));
    }
    QVERIFY(sim.model().addBuffer(sim::buffer_record::encode(settings), data));
}

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The statistical records of a file: the lines after its heading line.
int StatisticalRecords(const QString& path) {
    const QList<QByteArray> lines = Contents(path).split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i)
        if (lines[i].startsWith("\"Date\""))
            return int(lines.size() - i - 2); // the heading and the empty rest after the last CR LF
    return -1;
}

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
    QJsonObject json() const { return QJsonDocument::fromJson(out).object(); }
};

} // namespace

class TestFetch : public QObject {
    Q_OBJECT

    std::unique_ptr<LoggerSimulator> m_sim;
    std::unique_ptr<QTemporaryDir> m_dir;

    QString program() const { return QCoreApplication::applicationDirPath() + "/qn7x-fetch"; }
    QString base(const QString& name) const { return m_dir->filePath(name); }

    void start(QProcess& process, const QStringList& arguments) const {
        process.start(program(), QStringList{"1"} + arguments);
        QVERIFY(process.waitForStarted());
    }
    static Run finish(QProcess& process) {
        process.waitForFinished(180000);
        return {process.exitCode(), process.readAllStandardOutput(),
                process.readAllStandardError()};
    }
    Run fetch(const QStringList& arguments) const {
        QProcess process;
        start(process, arguments);
        return finish(process);
    }

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
        AddBuffer(*m_sim, 1, 12);
        AddBuffer(*m_sim, 2, 30);
        QVERIFY(StartSimulatorOnPort(*m_sim));
        const Run run = fetch({"--list"});
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
            AddBuffer(*m_sim, n, 10 * n);
        QVERIFY(StartSimulatorOnPort(*m_sim));
        const Run run = fetch(arguments + QStringList{"--base", base("fetch"), "--date-format",
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
        AddBuffer(*m_sim, 1, 5);
        m_sim->setModemMode(true);
        m_sim->setDialOutcome("5550100", outcome);
        QVERIFY(StartSimulatorOnPort(*m_sim));
        const Run run = fetch({"--modem", "5550100", "--init", "ATZ", "--list"});
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

    // The files keep every block that came before the fault.
    void faultMidTransfer_data() {
        QTest::addColumn<bool>("vanish");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<int>("records");
        QTest::newRow("logger gone at block 41") << true << QString() << 5 << 40;
        QTest::newRow("no such folder") << false << QString("missing/") << 6 << -1;
    }
    void faultMidTransfer() {
        QFETCH(bool, vanish);
        QFETCH(QString, folder);
        QFETCH(int, exitCode);
        QFETCH(int, records);
        AddBuffer(*m_sim, 1, 100, 0);
        if (vanish)
            m_sim->setFault(LoggerSimulator::Fault::Vanish, 40);
        QVERIFY(StartSimulatorOnPort(*m_sim));
        const Run run = fetch({"--buffer", "1", "--base", base(folder + "site"), "--json"});
        QCOMPARE(run.exitCode, exitCode);
        QCOMPARE(run.err.count('\n'), 1); // one line for the one error
        QCOMPARE(StatisticalRecords(base(folder + "site_Sta.csv")), records);
    }

    void stopsOnSigterm() {
        AddBuffer(*m_sim, 1, 300, 0);
        m_sim->setBaudRate(19200); // some seconds on the line, to be stopped in
        QVERIFY(StartSimulatorOnPort(*m_sim));
        QProcess process;
        start(process, {"--buffer", "1", "--base", base("site"), "--json"});
        QTRY_VERIFY_WITH_TIMEOUT(QByteArray::fromStdString(m_sim->hostBytes()).count("\x01$") > 20,
                                 60000);
        ::kill(pid_t(process.processId()), SIGTERM);
        const Run run = finish(process);
        QCOMPARE(run.exitCode, 8);
        const QJsonObject download = run.json()["downloads"].toArray().at(0).toObject();
        const int received = download["records"].toInt();
        QVERIFY(received > 0 && received < download["announced"].toInt());
        QCOMPARE(StatisticalRecords(base("site_Sta.csv")), received);
        QVERIFY(Contents(base("site_Sta.csv")).endsWith("\r\n"));
        const std::string wire = m_sim->hostBytes();
        QVERIFY(wire.rfind(Unlink) > wire.rfind("\x01$"));
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
        AddBuffer(*m_sim, 1, 5);
        AddBuffer(*m_sim, 2, 20, 5, terminatorAfter);
        QVERIFY(StartSimulatorOnPort(*m_sim));
        const Run run = fetch({"--buffer", "2", "--base", base("site"), "--clear-after"});
        QCOMPARE(run.exitCode, exitCode);
        QCOMPARE(m_sim->model().bufferCount(), buffersLeft);
        QCOMPARE(m_sim->hostBytes().find("\x01"
                                         "C") == std::string::npos,
                 exitCode != 0);
    }
};

QTEST_GUILESS_MAIN(TestFetch)
#include "test_fetch.moc"
