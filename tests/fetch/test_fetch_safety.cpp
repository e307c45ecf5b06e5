// qn7x-fetch where nobody watches: no fault, signal or logger behaviour may
// erase an unread block, destroy an earlier complete download, or pass a
// partial or guessed download for a whole one.
//  - clearing: a buffer still recording when listed, a clear refused or
//    unanswered, a parameter read unanswered (once, twice, for the memory);
//  - earlier files after a run with no block count and one cut short, and a
//    complete run replacing them with no ".part" left;
//  - the manifest checked with sha256sum;
//  - the clear stopping at a buffer not downloaded, and after the whole
//    memory only when its blocks are exactly the buffers';
//  - SIGTERM between buffers, SIGHUP inside a transfer, on a cable, and a
//    signal in the handshake, the buffer list and before a clear;
//  - output nobody reads, repeated options and an empty logger.
#include "BufferList.h"
#include "FetchRun.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonArray>

#include <csignal>

namespace {

using namespace fetchrun;
using Kind = sim::CommandFault::Kind;

const QString SerialNumber = QStringLiteral("12-345-678"); // the simulator's 12345678

// Commands the host began after the wire had this many bytes, the unlink
// that ends the session left out.
qsizetype CommandsAfter(const std::string& wire, std::size_t offset) {
    const std::string tail = wire.substr(std::min(offset, wire.size()));
    return QByteArray::fromStdString(tail).count('\x01') - (tail.ends_with(Unlink) ? 1 : 0);
}

QJsonObject ReadJson(const QString& path) {
    return QJsonDocument::fromJson(Contents(path)).object();
}

} // namespace

class TestFetchSafety : public QObject, FetchScene {
    Q_OBJECT

    QStringList filesLike(const QString& pattern) const {
        return QDir(m_dir->path()).entryList({pattern}, QDir::Files, QDir::Name);
    }

private slots:
    void init() { newScene(); }
    void cleanup() { endScene(); }

    // Logging that stops during the download (someone on site, a one-shot
    // timer) leaves a buffer whose count was taken while it still grew.
    void bufferRecordingWhenListedIsNotCleared() {
        m_sim = std::make_unique<LoggerSimulator>();
        m_sim->model().clearBuffers();
        QVERIFY(AddBuffer(*m_sim, 1, {.records = 5}));
        QVERIFY(AddBuffer(*m_sim, 2, {.records = 150, .leqEvery = 0, .recording = true}));
        m_sim->model().setMode(LoggerModel::kModeLogging);
        m_sim->setBaudRate(19200);
        QVERIFY(StartSimulatorOnPort(*m_sim));
        QProcess process;
        Start(process, {"--buffer", "all", "--base", path("site"), "--clear-after", "--json"});
        QTRY_VERIFY_WITH_TIMEOUT(Commands(m_sim->hostBytes(), '$') > 20, 60000);
        m_sim->model().setMode(0);
        const Run run = Finish(process);
        QCOMPARE(run.exitCode, 9);
        QVERIFY(run.err.contains("buffer 2 is not cleared, nor any older one: it was still "
                                 "recording when it was listed"));
        QCOMPARE(run.json()["cleared"].toInt(), 0);
        QCOMPARE(Commands(m_sim->hostBytes(), 'C'), 0);
        QCOMPARE(m_sim->model().bufferCount(), 2);
        QCOMPARE(filesLike("*_Manifest.json"),
                 QStringList({"site_B1_Manifest.json", "site_B2_Manifest.json"}));
    }

    // Only the logger's "C" in answer is a clear.
    void clearNotAcknowledged_data() {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QByteArray>("reason");
        QTest::newRow("refused") << Kind::Refuse << QByteArray("answered the clear with byte 63");
        QTest::newRow("unanswered") << Kind::Ignore << QByteArray("did not answer the clear");
    }
    void clearNotAcknowledged() {
        QFETCH(Kind, kind);
        QFETCH(QByteArray, reason);
        startLogger(1);
        m_sim->setCommandFault({kind, 'C'});
        const Run run = Fetch({"--buffer", "1", "--base", path("site"), "--clear-after", "--json"});
        QCOMPARE(run.exitCode, 9);
        QVERIFY(run.err.startsWith("qn7x-fetch: buffer 1 is not cleared: the logger"));
        QVERIFY(run.err.contains(reason));
        QCOMPARE(run.json()["cleared"].toInt(), 0);
        QCOMPARE(Commands(m_sim->hostBytes(), 'C'), 1);
        QCOMPARE(m_sim->model().bufferCount(), 1);
    }

    // A buffer not asked for keeps every older one, asked for or not.
    void bufferNotDownloadedKeepsTheOlderOnes() {
        startLogger(3);
        const Run run =
            Fetch({"--buffer", "1,3", "--base", path("site"), "--clear-after", "--json"});
        QCOMPARE(run.exitCode, 9);
        QVERIFY(run.err.contains(
            "buffer 2 is not cleared, nor any older one: it was not downloaded whole in this run"));
        QCOMPARE(run.json()["cleared"].toInt(), 1);
        QCOMPARE(m_sim->model().bufferCount(), 2);
    }

    // After the whole memory, buffers go only when the blocks before its
    // terminator are exactly theirs: a terminator inside a buffer ends the
    // memory early, and the buffers after it were never read.
    void memoryClearedOnlyWhenItHeldEveryBlock_data() {
        QTest::addColumn<int>("terminatorAfter");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<int>("cleared");
        QTest::newRow("every block") << 0 << 0 << int(MaxBuffers);
        QTest::newRow("a terminator inside") << 4 << 9 << 0;
    }
    void memoryClearedOnlyWhenItHeldEveryBlock() {
        QFETCH(int, terminatorAfter);
        QFETCH(int, exitCode);
        QFETCH(int, cleared);
        // Every buffer held: no record is waited for that the logger does not hold.
        startLogger(MaxBuffers, {.records = 10, .terminatorAfter = terminatorAfter});
        const Run run = Fetch({"--all", "--base", path("site"), "--clear-after", "--json"});
        QCOMPARE(run.exitCode, exitCode);
        QCOMPARE(run.json()["cleared"].toInt(), cleared);
        QCOMPARE(m_sim->model().bufferCount(), MaxBuffers - cleared);
        QVERIFY(QFileInfo::exists(path("site_Manifest.json")));
        if (exitCode != 0)
            QVERIFY(run.err.contains("no buffer is cleared: the logger's buffers hold"));
    }

    // An unanswered "Program read" is asked once more; a buffer whose record
    // never came is not downloaded (its headings would be guesses) and nothing
    // is cleared after such a run.
    void parameterReadUnanswered_data() {
        QTest::addColumn<int>("misses");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("manifests");
        QTest::addColumn<int>("cleared");
        QTest::newRow("missed once")
            << 1 << 0
            << QStringList{"site_B1_Manifest.json", "site_B2_Manifest.json",
                           "site_B3_Manifest.json"}
            << 3;
        QTest::newRow("missed twice")
            << 2 << 5 << QStringList{"site_B1_Manifest.json", "site_B3_Manifest.json"} << 0;
    }
    void parameterReadUnanswered() {
        QFETCH(int, misses);
        QFETCH(int, exitCode);
        QFETCH(QStringList, manifests);
        QFETCH(int, cleared);
        startLogger(3);
        m_sim->setCommandFault({Kind::Ignore, 'B', 1, misses});
        const Run run =
            Fetch({"--buffer", "all", "--base", path("site"), "--clear-after", "--json"});
        QCOMPARE(run.exitCode, exitCode);
        QCOMPARE(Commands(m_sim->hostBytes(), 'B'), 3 + std::min(misses, 1));
        QCOMPARE(filesLike("*_Manifest.json"), manifests);
        QCOMPARE(run.json()["cleared"].toInt(), cleared);
        QCOMPARE(m_sim->model().bufferCount(), 3 - cleared);
        if (exitCode != 0) {
            QCOMPARE(filesLike("site_B2*"), QStringList());
            const QJsonObject unread = run.json()["downloads"].toArray().at(1).toObject();
            QCOMPARE(unread["result"].toString(), QString("link lost"));
            QVERIFY(unread["error"].toString().contains("did not send its parameters"));
        }
    }

    // The whole memory's header file would describe a buffer by guesswork.
    void memoryWithUnreadParametersIsNotDownloaded() {
        startLogger(3);
        m_sim->setCommandFault({Kind::Ignore, 'B', 1, 2});
        const Run run = Fetch({"--all", "--base", path("site"), "--clear-after"});
        QCOMPARE(run.exitCode, 5);
        QCOMPARE(filesLike("*"), QStringList());
        QCOMPARE(Commands(m_sim->hostBytes(), '#'), 0);
        QCOMPARE(Commands(m_sim->hostBytes(), 'C'), 0);
    }

    // A run that does not complete leaves an earlier complete download under
    // the same base as it was; a complete one replaces it and leaves no
    // ".part" behind. (--overwrite: otherwise the earlier download is kept
    // without a block read.)
    void earlierDownloadSurvivesAFailedRun_data() {
        QTest::addColumn<bool>("cutShort");
        QTest::addColumn<int>("partRecords");
        QTest::newRow("no block count") << false << -1;
        QTest::newRow("link gone after block 25") << true << 25;
    }
    void earlierDownloadSurvivesAFailedRun() {
        QFETCH(bool, cutShort);
        QFETCH(int, partRecords);
        const QStringList arguments{"--buffer", "1", "--base", path("site"), "--overwrite"};
        startLogger(1, {.records = 60, .leqEvery = 0});
        QCOMPARE(Fetch(arguments).exitCode, 0);
        const QStringList earlierFiles = filesLike("*");
        QCOMPARE(earlierFiles,
                 QStringList({"site.log", "site_Leq0.csv", "site_Manifest.json", "site_Sta.csv"}));
        QMap<QString, QByteArray> earlier;
        for (const QString& name : earlierFiles)
            earlier.insert(name, Contents(path(name)));

        if (cutShort)
            m_sim->setFault(LoggerSimulator::Fault::Vanish, 25);
        else
            m_sim->setCommandFault({Kind::Ignore, '#'});
        QCOMPARE(Fetch(arguments).exitCode, 5);
        for (auto file = earlier.cbegin(); file != earlier.cend(); ++file)
            QCOMPARE(Contents(path(file.key())), file.value());
        QCOMPARE(StatisticalRecords(path("site_Sta.csv.part")), partRecords);
        if (!cutShort)
            QCOMPARE(filesLike("*.part"), QStringList()); // nothing begun without a count

        startLogger(1, {.records = 70, .leqEvery = 0});
        QCOMPARE(Fetch(arguments).exitCode, 0);
        QCOMPARE(filesLike("*"), earlierFiles);
        QCOMPARE(StatisticalRecords(path("site_Sta.csv")), 70);
        QCOMPARE(ReadJson(path("site_Manifest.json"))["blocksWritten"].toInt(), 70);
    }

    // Every complete download carries a manifest whose digests sha256sum
    // confirms on the files as they lie on the disk.
    void manifestProvesTheSet_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QJsonValue>("buffer");
        QTest::newRow("one buffer") << QStringList{"--buffer", "2"} << QJsonValue(2);
        QTest::newRow("whole memory") << QStringList{"--all"} << QJsonValue("memory");
    }
    void manifestProvesTheSet() {
        QFETCH(QStringList, arguments);
        QFETCH(QJsonValue, buffer);
        startLogger(8, {.records = 30});
        const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-1);
        const Run run = Fetch(arguments + QStringList{"--base", path("site"), "--json"});
        QCOMPARE(run.exitCode, 0);
        const QJsonObject download = run.json()["downloads"].toArray().at(0).toObject();
        QCOMPARE(download["manifest"].toString(), path("site_Manifest.json"));
        const QJsonObject manifest = ReadJson(path("site_Manifest.json"));
        QCOMPARE(manifest["serialNumber"].toString(), SerialNumber);
        QCOMPARE(manifest["buffer"], buffer);
        QVERIFY(!manifest["version"].toString().isEmpty());
        QCOMPARE(manifest["blocksAnnounced"].toInt(), download["announced"].toInt());
        QCOMPARE(manifest["blocksWritten"].toInt(), download["records"].toInt());
        const QDateTime downloaded =
            QDateTime::fromString(manifest["downloaded"].toString(), Qt::ISODate);
        QCOMPARE(downloaded.timeSpec(), Qt::UTC);
        QVERIFY(downloaded >= before && downloaded <= QDateTime::currentDateTimeUtc());
        if (buffer.isDouble()) {
            QCOMPARE(manifest["title"].toString(), QString("Site 2"));
            QCOMPARE(manifest["start"].toString(), QString("2004-03-02T08:00:00"));
            QCOMPARE(manifest["stop"].toString(), QString("2004-03-02T20:00:00"));
        } else {
            QCOMPARE(manifest["buffers"].toArray().size(), 8);
        }

        QByteArray sums;
        QStringList named;
        for (const QJsonValue& file : manifest["files"].toArray()) {
            const QString name = file["name"].toString();
            named << path(name);
            QCOMPARE(file["size"].toInteger(), QFileInfo(path(name)).size());
            sums += file["sha256"].toString().toLatin1() + "  " + name.toUtf8() + '\n';
        }
        QStringList fetched;
        for (const QJsonValue& file : download["files"].toArray())
            fetched << file.toString();
        QCOMPARE(named, fetched);
        QProcess check;
        check.setWorkingDirectory(m_dir->path());
        check.start("sha256sum", {"--check", "--strict", "--quiet"});
        check.write(sums);
        check.closeWriteChannel();
        QVERIFY(check.waitForFinished());
        QCOMPARE(check.exitCode(), 0);
    }

    // A stop between buffers: the one done is whole, the next is not begun
    // beyond the exchange under way, and the logger is unlinked.
    void sigtermBetweenBuffers() {
        startLogger(3, {.records = 3, .leqEvery = 0});
        m_sim->setFault(LoggerSimulator::Fault::Late, 100);
        QProcess process;
        Start(process, {"--buffer", "all", "--base", path("site"), "--json"});
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(path("site_B1_Manifest.json")), 60000);
        const std::size_t signalled = m_sim->hostBytes().size();
        ::kill(pid_t(process.processId()), SIGTERM);
        const Run run = Finish(process);
        QCOMPARE(run.exitCode, 8);
        QCOMPARE(run.json()["result"].toString(), QString("stopped"));
        const std::string wire = m_sim->hostBytes();
        QVERIFY(wire.ends_with(Unlink));
        QVERIFY(CommandsAfter(wire, signalled) <= 1);
        QCOMPARE(filesLike("*_Manifest.json"), QStringList{"site_B1_Manifest.json"});
    }

    // On a cable the transfer lets events run only every 30 blocks; a hang-up
    // still ends it at the block under way, its files left staged.
    void sighupInsideATransfer() {
        startLogger(1, {.records = 300, .leqEvery = 0});
        m_sim->setBaudRate(19200); // some seconds on the line, to be stopped in
        QProcess process;
        Start(process, {"--buffer", "1", "--base", path("site"), "--json"});
        // Just past an event pass, so that waiting for the next would show.
        QTRY_VERIFY_WITH_TIMEOUT(Commands(m_sim->hostBytes(), '$') > 32, 60000);
        const std::size_t signalled = m_sim->hostBytes().size();
        ::kill(pid_t(process.processId()), SIGHUP);
        const Run run = Finish(process);
        QCOMPARE(run.exitCode, 8);
        const std::string wire = m_sim->hostBytes();
        QVERIFY(wire.ends_with(Unlink));
        QVERIFY(CommandsAfter(wire, signalled) <= 2);
        const QJsonObject download = run.json()["downloads"].toArray().at(0).toObject();
        const int received = download["records"].toInt();
        QVERIFY(received > 0 && received < download["announced"].toInt());
        QCOMPARE(StatisticalRecords(path("site_Sta.csv.part")), received);
        QCOMPARE(download["files"].toArray().at(0).toString(), path("site_Sta.csv.part"));
        QCOMPARE(filesLike("site_Sta.csv"), QStringList());
    }

    // Wherever a signal finds the run, it ends within the exchange under way
    // and unlinks: in the handshake, the buffer list, or just before a clear.
    void stopsWhereverItIs_data() {
        QTest::addColumn<int>("signal");
        QTest::addColumn<char>("reached"); // sent when the command has been seen
        QTest::addColumn<bool>("answers");
        QTest::addColumn<char>("neverSent");
        QTest::newRow("SIGINT in the handshake") << SIGINT << '/' << false << 'b';
        QTest::newRow("SIGTERM in the buffer list") << SIGTERM << 'B' << true << '#';
        QTest::newRow("SIGHUP before a clear") << SIGHUP << 'h' << true << 'C';
    }
    void stopsWhereverItIs() {
        QFETCH(int, signal);
        QFETCH(char, reached);
        QFETCH(bool, answers);
        QFETCH(char, neverSent);
        startLogger(8, {.records = 2});
        m_sim->setFault(answers ? LoggerSimulator::Fault::Late : LoggerSimulator::Fault::Silent,
                        200);
        QProcess process;
        Start(process, {"--buffer", "8", "--base", path("site"), "--clear-after"});
        QTRY_VERIFY_WITH_TIMEOUT(Commands(m_sim->hostBytes(), reached) > 0, 60000);
        const std::size_t signalled = m_sim->hostBytes().size();
        ::kill(pid_t(process.processId()), signal);
        QElapsedTimer clock;
        clock.start();
        const Run run = Finish(process);
        QCOMPARE(run.exitCode, 8);
        QVERIFY(clock.elapsed() < 5000); // not the handshake's retries, nor the rest
        const std::string wire = m_sim->hostBytes();
        QVERIFY(CommandsAfter(wire, signalled) <= 1);
        QCOMPARE(Commands(wire, neverSent), 0);
        QCOMPARE(wire.ends_with(Unlink), answers);
        QCOMPARE(m_sim->model().bufferCount(), 8);
    }

    // Each buffer is read once, whatever the options say twice.
    void repeatedOptions_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<int>("downloads");
        QTest::newRow("a buffer and all")
            << QStringList{"--buffer", "3", "--buffer", "all"} << 0 << 3;
        QTest::newRow("a buffer twice")
            << QStringList{"--buffer", "2,2", "--buffer", "2"} << 0 << 1;
        QTest::newRow("one past the list and all")
            << QStringList{"--buffer", "5", "--buffer", "all"} << 2 << 0;
    }
    void repeatedOptions() {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(int, downloads);
        startLogger(3, {.records = 3});
        const Run run = Fetch(arguments + QStringList{"--base", path("site")});
        QCOMPARE(run.exitCode, exitCode);
        QCOMPARE(Commands(m_sim->hostBytes(), '#'), downloads);
        QCOMPARE(filesLike("*_Manifest.json").size(), downloads);
    }

    // A summary nobody reads is a failure to report, after the unlink, not a
    // death by SIGPIPE before it.
    void unreadOutputIsAnError() {
        startLogger(1);
        QProcess shell;
        shell.start("bash",
                    {"-c", R"("$0" 1 --list --json | true; exit "${PIPESTATUS[0]}")", Program()});
        QVERIFY(shell.waitForFinished(60000));
        QCOMPARE(shell.exitCode(), 6);
        QVERIFY(shell.readAllStandardError().contains("the output could not be written"));
        QVERIFY(m_sim->hostBytes().ends_with(Unlink));
    }

    void emptyLoggerHasNothingToClear() {
        startLogger(0);
        const Run run =
            Fetch({"--buffer", "all", "--base", path("site"), "--clear-after", "--json"});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.json()["cleared"].toInt(), 0);
        QCOMPARE(Commands(m_sim->hostBytes(), 'C'), 0);
        QCOMPARE(Commands(m_sim->hostBytes(), '#'), 0);
    }
};

QTEST_GUILESS_MAIN(TestFetchSafety)
#include "test_fetch_safety.moc"
