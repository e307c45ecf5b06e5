// qn7x-fetch as one scheduler line per logger of a fleet: names from fields,
// a second run that reads no block of what is done, the wrong logger refused,
// the logger's health, retries of a busy modem, a deadline, and the one JSON
// line a monitor parses, on success and on failure.
#include "FetchRun.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonArray>

namespace {

using namespace fetchrun;

QStringList Keys(const QJsonValue& value) {
    QStringList keys = value.toObject().keys();
    keys.sort();
    return keys;
}

const QStringList SummaryKeys = {"buffers", "cleared",  "device",  "downloads",
                                 "error",   "exitCode", "logger",  "result",
                                 "seconds", "serial",   "started", "version"};
const QStringList DownloadKeys = {"announced", "blockSeconds", "buffer",  "error",
                                  "files",     "manifest",     "records", "result",
                                  "seconds",   "start",        "stop",    "title"};
const QStringList LoggerKeys = {"batteryVolts",
                                "buffers",
                                "clock",
                                "clockOffsetSeconds",
                                "freeMemoryBytes",
                                "loggingLimitedBy",
                                "loggingSecondsLeft",
                                "measurementVersion",
                                "mode",
                                "processorVersion",
                                "serial",
                                "temperatureCelsius"};

} // namespace

class TestFetchFleet : public QObject, FetchScene {
    Q_OBJECT

private slots:
    void init() { newScene(); }
    void cleanup() { endScene(); }

    // Names come from the buffers' fields, in folders made as needed; a base
    // without {buffer} or {start} gets _B<n> whenever several buffers are asked
    // for, even from a logger that holds one today.
    void namesFromFields_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<int>("held");
        QTest::addColumn<QStringList>("manifests");
        QTest::newRow("serial, start and title")
            << "{serial}/{start}_{title}" << 2
            << QStringList{"12-345-678/20040301-080000_Site_1_Manifest.json",
                           "12-345-678/20040302-080000_Site_2_Manifest.json"};
        QTest::newRow("one buffer held, all asked for")
            << "night/site" << 1 << QStringList{"night/site_B1_Manifest.json"};
    }
    void namesFromFields() {
        QFETCH(QString, pattern);
        QFETCH(int, held);
        QFETCH(QStringList, manifests);
        startLogger(held);
        const Run run = Fetch({"--buffer", "all", "--base", path(pattern), "--json"});
        QCOMPARE(run.exitCode, 0);
        for (const QString& manifest : manifests)
            QVERIFY2(QFileInfo::exists(path(manifest)), qPrintable(manifest));
        const QJsonObject first = run.json()["downloads"].toArray().at(0).toObject();
        QCOMPARE(first["manifest"].toString(), path(manifests.first()));
    }

    // A buffer whose recording has ended and whose complete download is there
    // is not read again; one still recording is, each time; --overwrite reads
    // everything again.
    void runsAgainWithoutHarm_data() {
        QTest::addColumn<bool>("overwrite");
        QTest::addColumn<QStringList>("results");
        QTest::addColumn<int>("counts");
        QTest::newRow("again") << false << QStringList{"skipped", "complete"} << 1;
        QTest::newRow("overwrite") << true << QStringList{"complete", "complete"} << 2;
    }
    void runsAgainWithoutHarm() {
        QFETCH(bool, overwrite);
        QFETCH(QStringList, results);
        QFETCH(int, counts);
        m_sim = std::make_unique<LoggerSimulator>();
        m_sim->model().clearBuffers();
        QVERIFY(AddBuffer(*m_sim, 1));
        QVERIFY(AddBuffer(*m_sim, 2, {.recording = true}));
        QVERIFY(StartSimulatorOnPort(*m_sim));
        const QStringList arguments{"--buffer", "all", "--base", path("site"), "--json"};
        QCOMPARE(Fetch(arguments).exitCode, 0);
        const QByteArray earlier = Contents(path("site_B1_Sta.csv"));
        m_sim->clearHostBytes();

        const Run run = Fetch(arguments + (overwrite ? QStringList{"--overwrite"} : QStringList()));
        QCOMPARE(run.exitCode, 0);
        QStringList got;
        for (const QJsonValue& download : run.json()["downloads"].toArray())
            got << download["result"].toString();
        QCOMPARE(got, results);
        QCOMPARE(Commands(m_sim->hostBytes(), '#'), counts);
        const QJsonObject first = run.json()["downloads"].toArray().at(0).toObject();
        QCOMPARE(Keys(first), DownloadKeys);
        QCOMPARE(first["files"].toArray().at(0).toString(), path("site_B1_Sta.csv"));
        QCOMPARE(Contents(path("site_B1_Sta.csv")), earlier);
    }

    // Buffer numbers come back after a clear: the next recording under the
    // same name must not replace the only copy of one the logger has erased.
    void keepsARecordingTheLoggerNoLongerHolds() {
        const QStringList arguments{"--buffer", "all", "--base", path("site"), "--json"};
        startLogger(1, {.records = 5});
        QCOMPARE(Fetch(arguments + QStringList{"--clear-after"}).exitCode, 0);
        QCOMPARE(m_sim->model().bufferCount(), 0);
        const QByteArray erased = Contents(path("site_B1_Sta.csv"));

        startLogger(1, {.records = 7, .day = 9});
        const Run kept = Fetch(arguments);
        QCOMPARE(kept.exitCode, 6);
        QVERIFY(kept.err.contains("that this logger no longer holds: it is kept"));
        QCOMPARE(Contents(path("site_B1_Sta.csv")), erased);
        QCOMPARE(Commands(m_sim->hostBytes(), '#'), 0);
        QCOMPARE(kept.json()["downloads"].toArray().at(0)["result"].toString(),
                 QString("file error"));

        QCOMPARE(Fetch(arguments + QStringList{"--overwrite"}).exitCode, 0);
        QCOMPARE(StatisticalRecords(path("site_B1_Sta.csv")), 7);
    }

    // Another logger on the line is named and left alone.
    void wrongLoggerIsRefused_data() {
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("another") << "16-498-400" << 10;
        QTest::newRow("this one, without dashes") << "12345678" << 0;
    }
    void wrongLoggerIsRefused() {
        QFETCH(QString, expected);
        QFETCH(int, exitCode);
        startLogger(1);
        const Run run = Fetch({"--buffer", "1", "--base", path("site"), "--clear-after",
                               "--expect-serial", expected, "--json"});
        QCOMPARE(run.exitCode, exitCode);
        QCOMPARE(run.json()["serial"].toString(), QString("12-345-678"));
        if (exitCode != 0) {
            QVERIFY(run.err.contains("the logger that answered is 12-345-678, not 16-498-400"));
            QCOMPARE(Commands(m_sim->hostBytes(), '#'), 0);
            QCOMPARE(run.json()["result"].toString(), QString("wrong logger"));
            QVERIFY(m_sim->hostBytes().ends_with(Unlink));
        }
    }

    // The logger's health, for a monitor and for a person.
    void reportsTheLoggersState() {
        startLogger(2);
        m_sim->model().setBattery(112);
        const Run json = Fetch({"--status", "--json"});
        QCOMPARE(json.exitCode, 0);
        const QJsonObject logger = json.json()["logger"].toObject();
        QCOMPARE(logger["serial"].toString(), QString("12-345-678"));
        QCOMPARE(logger["processorVersion"].toString(), QString("4.2"));
        QCOMPARE(logger["measurementVersion"].toString(), QString("2.1"));
        QCOMPARE(logger["mode"].toString(), QString("standby"));
        QCOMPARE(logger["batteryVolts"].toDouble(), 11.2);
        QCOMPARE(logger["temperatureCelsius"].toDouble(), 21.5);
        QCOMPARE(logger["freeMemoryBytes"].toInteger(), qint64(m_sim->model().freeMemory()));
        QCOMPARE(logger["buffers"].toInt(), 2);
        QVERIFY(qAbs(logger["clockOffsetSeconds"].toInteger()) <= 2);
        QVERIFY(!logger["clock"].toString().isEmpty());
        // 11.2 V leaves 0.4348 days (3.37 x 0.2² + 1.5 x 0.2), before the memory
        // fills at a record a minute and a Leq block each 12 s (about 0.9 days).
        QCOMPARE(logger["loggingLimitedBy"].toString(), QString("battery"));
        QCOMPARE(logger["loggingSecondsLeft"].toInteger(), 37567);
        QCOMPARE(Commands(m_sim->hostBytes(), '#'), 0);

        m_sim->model().setTemperature(LoggerModel::kTemperatureNotFitted);
        const Run text = Fetch({"--status"});
        QCOMPARE(text.exitCode, 0);
        for (const char* line :
             {"Logger 12-345-678, firmware 4.2 (processor), 2.1 (measurement "
              "unit)\n",
              "Mode: standby\n", "Battery: 11.2 V\n", "Temperature: not fitted\n", "Buffers: 2\n"})
            QVERIFY2(text.out.contains(line), line);
    }

    // A busy modem is tried again, each try logged; a deadline ends a slow
    // transfer as a signal would.
    void triesAgainWhenBusy() {
        m_sim = std::make_unique<LoggerSimulator>();
        m_sim->setModemMode(true);
        m_sim->setDialOutcome("5550100", LoggerSimulator::DialOutcome::Busy);
        QVERIFY(StartSimulatorOnPort(*m_sim));
        const Run run = Fetch(
            {"--modem", "5550100", "--list", "--retries", "2", "--retry-delay", "0", "--json"});
        QCOMPARE(run.exitCode, 3);
        QCOMPARE(QByteArray::fromStdString(m_sim->hostBytes()).count("ATDT5550100\r"), 3);
        QVERIFY(run.err.contains("try 1 of 3 failed"));
        QVERIFY(run.err.contains("try 2 of 3 failed"));
        QCOMPARE(run.json()["result"].toString(), QString("no logger"));
    }

    // The deadline holds in a wait between tries too.
    void deadlineEndsARetryWait() {
        m_sim = std::make_unique<LoggerSimulator>();
        m_sim->setModemMode(true);
        m_sim->setDefaultDialOutcome(LoggerSimulator::DialOutcome::Busy);
        QVERIFY(StartSimulatorOnPort(*m_sim));
        QElapsedTimer clock;
        clock.start();
        const Run run = Fetch({"--modem", "5550100", "--status", "--retries", "5", "--retry-delay",
                               "20", "--max-time", "2", "--json"});
        QVERIFY(clock.elapsed() < 5000);
        QCOMPARE(run.exitCode, 8);
        QCOMPARE(run.json()["result"].toString(), QString("time limit"));
        QCOMPARE(run.json()["error"].toString(), QString("the time limit of 2 s ended the run"));
    }

    void deadlineEndsASlowTransfer() {
        startLogger(1, {.records = 300, .leqEvery = 0});
        m_sim->setBaudRate(19200); // about six seconds of blocks
        QElapsedTimer clock;
        clock.start();
        const Run run =
            Fetch({"--buffer", "1", "--base", path("site"), "--max-time", "2", "--json"});
        QVERIFY(clock.elapsed() < 5000);
        QCOMPARE(run.exitCode, 8);
        QCOMPARE(run.json()["result"].toString(), QString("time limit"));
        QVERIFY(run.json()["error"].toString().contains("time limit of 2 s"));
        const QJsonObject download = run.json()["downloads"].toArray().at(0).toObject();
        QCOMPARE(download["result"].toString(), QString("time limit"));
        QCOMPARE(StatisticalRecords(path("site_Sta.csv.part")), download["records"].toInt());
        QVERIFY(m_sim->hostBytes().ends_with(Unlink));
    }

    // Exactly one line of JSON whatever happens, with the same keys.
    void oneJsonLine_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("vanish");
        QTest::addColumn<QString>("result");
        QTest::newRow("complete") << QStringList{"--buffer", "1", "--status"} << false
                                  << "complete";
        QTest::newRow("usage error") << QStringList{"--buffer", "9"} << false << "usage error";
        QTest::newRow("link lost") << QStringList{"--buffer", "1"} << true << "link lost";
        QTest::newRow("wrong logger")
            << QStringList{"--buffer", "1", "--expect-serial", "1"} << false << "wrong logger";
        QTest::newRow("version") << QStringList{"--version"} << false << "complete";
    }
    void oneJsonLine() {
        QFETCH(QStringList, arguments);
        QFETCH(bool, vanish);
        QFETCH(QString, result);
        startLogger(1, {.records = 20});
        if (vanish)
            m_sim->setFault(LoggerSimulator::Fault::Vanish, 5);
        const Run run = Fetch(arguments + QStringList{"--base", path("site"), "--json"});
        QCOMPARE(run.out.count('\n'), 1);
        QVERIFY(run.out.endsWith('\n'));
        const QJsonObject summary = run.json();
        QCOMPARE(Keys(summary), SummaryKeys);
        QCOMPARE(summary["version"].toInt(), 1);
        QCOMPARE(summary["result"].toString(), result);
        QCOMPARE(summary["exitCode"].toInt(), run.exitCode);
        QCOMPARE(summary["error"].isNull(), run.exitCode == 0);
        QVERIFY(QDateTime::fromString(summary["started"].toString(), Qt::ISODate).isValid());
        QVERIFY(summary["seconds"].isDouble());
        QVERIFY(summary["buffers"].isArray());
        QVERIFY(summary["cleared"].isNull());
        if (summary["serial"].isNull()) { // no logger was linked
            QVERIFY(summary["logger"].isNull() && summary["device"].isNull());
            QVERIFY(run.exitCode == 0 || summary["error"].toString().contains("no buffer 9"));
            return;
        }
        QCOMPARE(summary["device"].toString(), QString::fromStdString(m_sim->devicePath()));
        QCOMPARE(summary["serial"].toString(), QString("12-345-678"));
        QCOMPARE(Keys(summary["logger"]), LoggerKeys);
        for (const QJsonValue& download : summary["downloads"].toArray()) {
            QCOMPARE(Keys(download), DownloadKeys);
            QCOMPARE(download["result"].toString(), result);
            QCOMPARE(download["title"].toString(), QString("Site 1"));
        }
    }

    // Under the C locale, as cron runs it, the program says which dates it writes.
    void saysTheDateFormatUnderTheCLocale() {
        startLogger(1, {.records = 2});
        QProcess process;
        Start(process, {"--buffer", "1", "--base", path("site")}, "C");
        const Run run = Finish(process);
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.err.contains("dates are written in the C locale's short format, d MMM yyyy"));
        QVERIFY(Contents(path("site_Sta.csv")).contains("\"1 Mar 2004\""));
    }
};

QTEST_GUILESS_MAIN(TestFetchFleet)
#include "test_fetch_fleet.moc"
