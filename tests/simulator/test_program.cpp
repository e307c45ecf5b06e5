// qn7x-sim, the program: its options, its control lines, and the program run
// as the demo and the benchmarks run it (device path on the first line, a link
// to the device, control on standard input, no control channel at all).

#include "ControlLine.h"
#include "LoggerSimulator.h"
#include "ProgramOptions.h"
#include "SimClient.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

using Fault = LoggerSimulator::Fault;

namespace {

QString programPath() {
    return QCoreApplication::applicationDirPath() + "/qn7x-sim";
}

// Starts the program and reads the device path from its first line.
QString startProgram(QProcess& process, const QStringList& args) {
    process.start(programPath(), args);
    if (!process.waitForStarted(5000))
        return {};
    for (int i = 0; i < 50 && !process.canReadLine(); ++i)
        process.waitForReadyRead(100);
    return QString::fromLocal8Bit(process.readLine()).trimmed();
}

} // namespace

class TestProgram : public QObject {
    Q_OBJECT

private slots:
    void options_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("baud");
        QTest::addColumn<int>("fault");
        QTest::addColumn<int>("param");
        QTest::newRow("none") << QStringList{} << true << 0 << int(Fault::None) << 0;
        QTest::newRow("baud") << QStringList{"--baud", "9600"} << true << 9600 << int(Fault::None)
                              << 0;
        QTest::newRow("fault with param")
            << QStringList{"--fault", "late:250"} << true << 0 << int(Fault::Late) << 250;
        QTest::newRow("fault spelt out") << QStringList{"--fault", "Stop-Mid-Transfer:5"} << true
                                         << 0 << int(Fault::StopMidTransfer) << 5;
        QTest::newRow("fault without param")
            << QStringList{"--fault", "powered_down"} << true << 0 << int(Fault::PoweredDown) << 0;
        QTest::newRow("stalled") << QStringList{"--fault", "stalled"} << true << 0
                                 << int(Fault::Stalled) << 0;
        QTest::newRow("unknown fault")
            << QStringList{"--fault", "gremlins"} << false << 0 << 0 << 0;
        QTest::newRow("bad param") << QStringList{"--fault", "late:soon"} << false << 0 << 0 << 0;
        QTest::newRow("negative baud") << QStringList{"--baud", "-1"} << false << 0 << 0 << 0;
        QTest::newRow("baud not a number") << QStringList{"--baud", "fast"} << false << 0 << 0 << 0;
        QTest::newRow("missing value") << QStringList{"--latency"} << false << 0 << 0 << 0;
        QTest::newRow("unknown option") << QStringList{"--colour"} << false << 0 << 0 << 0;
    }
    void options() {
        QFETCH(QStringList, args);
        QFETCH(bool, valid);
        std::vector<std::string> argv;
        for (const QString& a : args)
            argv.push_back(a.toStdString());
        std::string error;
        const auto parsed = sim::parseProgramOptions(argv, &error);
        QCOMPARE(parsed.has_value(), valid);
        if (!valid) {
            QVERIFY(!error.empty());
            return;
        }
        QFETCH(int, baud);
        QFETCH(int, fault);
        QFETCH(int, param);
        QCOMPARE(parsed->baud, baud);
        QCOMPARE(int(parsed->fault), fault);
        QCOMPARE(parsed->faultParam, param);
    }

    void flagOptions() {
        const auto parsed = sim::parseProgramOptions(
            {"--modem", "--fill-memory", "--latency", "16", "--link", "/tmp/qn7x"}, nullptr);
        QVERIFY(parsed);
        QVERIFY(parsed->modem);
        QVERIFY(parsed->fillMemory);
        QCOMPARE(parsed->latencyMs, 16);
        QCOMPARE(parsed->link, std::string("/tmp/qn7x"));
    }

    // --dial: an outcome for every number, or NUMBER=OUTCOME for one.
    void dialOptions() {
        const auto parsed = sim::parseProgramOptions(
            {"--modem", "--dial", "no-dialtone", "--dial", "555 0100=Ring"}, nullptr);
        QVERIFY(parsed);
        QCOMPARE(parsed->dialRules.size(), std::size_t(2));
        QCOMPARE(parsed->dialRules[0].number, std::string());
        QVERIFY(parsed->dialRules[0].outcome == LoggerSimulator::DialOutcome::NoDialtone);
        QCOMPARE(parsed->dialRules[1].number, std::string("555 0100"));
        QVERIFY(parsed->dialRules[1].outcome == LoggerSimulator::DialOutcome::Ring);
        for (const char* bad : {"engaged", "=ring", "555="}) {
            std::string error;
            QVERIFY2(!sim::parseProgramOptions({"--dial", bad}, &error), bad);
            QVERIFY(!error.empty());
        }
        QVERIFY(!sim::parseProgramOptions({"--dial"}, nullptr));
    }

    // Control lines act on the simulator; bad ones are reported and change nothing.
    void controlLines() {
        LoggerSimulator simulator;
        QVERIFY(sim::applyControlLine(simulator, "level 723").error.empty());
        QCOMPARE(simulator.model().level(), 723);
        QVERIFY(sim::applyControlLine(simulator, "overload").error.empty());
        QVERIFY(simulator.model().overload());
        QVERIFY(sim::applyControlLine(simulator, "baud 4800").error.empty());
        QCOMPARE(simulator.baudRate(), 4800);
        QVERIFY(sim::applyControlLine(simulator, "fault powered-down").error.empty());
        QCOMPARE(simulator.fault(), Fault::PoweredDown);
        QVERIFY(sim::applyControlLine(simulator, "wake").error.empty());
        QCOMPARE(simulator.fault(), Fault::None);
        QVERIFY(sim::applyControlLine(simulator, "fault corrupt 7").error.empty());
        QCOMPARE(simulator.fault(), Fault::Corrupt);
        QVERIFY(sim::applyControlLine(simulator, "  ").error.empty());
        QVERIFY(sim::applyControlLine(simulator, "quit").quit);

        for (const char* bad :
             {"level", "level loud", "level -5", "baud", "fault", "fault late x", "fault unknown",
              "dial", "dial engaged", "dial 1 busy", "jump", "quit now"}) {
            const sim::ControlResult result = sim::applyControlLine(simulator, bad);
            QVERIFY2(!result.error.empty(), bad);
            QVERIFY(!result.quit);
        }
        QCOMPARE(simulator.model().level(), 723);
        QCOMPARE(simulator.baudRate(), 4800);
        QCOMPARE(simulator.fault(), Fault::Corrupt);
    }

    // "wire" shows a script what the host sent, in hex.
    void wireControlLine() {
        std::unique_ptr<LoggerSimulator> simulator;
        std::unique_ptr<SimClient> client;
        QCOMPARE(StartSession(simulator, client), QString());
        QCOMPARE(sim::applyControlLine(*simulator, "wire").output, std::optional<std::string>(""));
        QVERIFY(client->send(QByteArray("\x01/", 2)));
        QTRY_VERIFY(simulator->hostBytes().size() == 2);
        QCOMPARE(sim::applyControlLine(*simulator, "wire").output,
                 std::optional<std::string>("012f"));
    }

    // "dial" control lines set the modem's answer to a dial.
    void dialControlLine() {
        LoggerSimulator simulator;
        simulator.setModemMode(true);
        std::string error;
        QVERIFY2(simulator.start(&error), error.c_str());
        QVERIFY(sim::applyControlLine(simulator, "dial error").error.empty());
        QVERIFY(sim::applyControlLine(simulator, "dial 123=busy").error.empty());
        SimClient client(simulator.devicePath());
        QVERIFY(client.send("ATE0\r"));
        client.receive(11);
        QVERIFY(client.send("ATDT777\r"));
        QCOMPARE(client.receive(9), QByteArray("\r\nERROR\r\n"));
        QVERIFY(client.send("ATDT123\r"));
        QCOMPARE(client.receive(8), QByteArray("\r\nBUSY\r\n"));
    }

    // The program prints the device path, links it, serves a filled memory, takes
    // control lines and quits, removing its link.
    void runsWithControlChannel() {
        QTemporaryDir dir;
        const QString link = dir.filePath("logger");
        QProcess process;
        const QString device = startProgram(process, {"--fill-memory", "--link", link});
        QVERIFY2(device.startsWith("/dev/pts/"), qPrintable(device));
        QCOMPARE(QFileInfo(link).symLinkTarget(), device);

        SimClient client(link.toStdString());
        QCOMPARE(client.query('/', 1), QByteArray("k"));
        QCOMPARE(client.query('b', 1), bytes({1}));

        process.write("fault silent\n");
        QTRY_VERIFY(client.query('/', 1, 200).isEmpty());
        process.write("fault none\nlevel 812\n");
        QTRY_COMPARE(client.query('s', 2, 200), bytes({0x03, 0x2C}));

        process.write("quit\n");
        QVERIFY(process.waitForFinished(5000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
        QVERIFY(!QFileInfo::exists(link) && !QFileInfo(link).isSymLink());
    }

    // Started with standard input at its end (in the background, </dev/null) the
    // program keeps serving until a signal.
    void runsWithoutControlChannel() {
        QProcess process;
        process.setStandardInputFile(QProcess::nullDevice());
        const QString device = startProgram(process, {"--modem", "--dial", "no-carrier"});
        QVERIFY(device.startsWith("/dev/pts/"));
        QVERIFY(!process.waitForFinished(500));
        SimClient client(device.toStdString());
        QVERIFY(client.send("AT\r"));
        QCOMPARE(client.receive(9), QByteArray("AT\r\r\nOK\r\n"));
        QVERIFY(client.send("ATDT5\r"));
        QCOMPARE(client.receive(20), QByteArray("ATDT5\r\r\nNO CARRIER\r\n"));
        ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
        QVERIFY(process.waitForFinished(5000));
        QCOMPARE(process.exitCode(), 0);
    }

    // End of input after a control line ends the program.
    void endOfInputAfterLineQuits() {
        QProcess process;
        QVERIFY(startProgram(process, {}).startsWith("/dev/pts/"));
        process.write("level 500\n");
        process.closeWriteChannel();
        QVERIFY(process.waitForFinished(5000));
        QCOMPARE(process.exitCode(), 0);
    }

    // A bad command line is refused with a message and exit code 2.
    void badCommandLine() {
        QProcess process;
        process.start(programPath(), {"--fault", "gremlins"});
        QVERIFY(process.waitForFinished(5000));
        QCOMPARE(process.exitCode(), 2);
        QVERIFY(process.readAllStandardError().contains("unknown fault"));
        QVERIFY(process.readAllStandardOutput().isEmpty());
    }

    // A link path that is a real file is not overwritten.
    void linkDoesNotReplaceFiles() {
        QTemporaryDir dir;
        const QString path = dir.filePath("keep.txt");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("data");
        file.close();
        QProcess process;
        process.start(programPath(), {"--link", path});
        QVERIFY(process.waitForFinished(5000));
        QCOMPARE(process.exitCode(), 1);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("data"));
    }
};

QTEST_GUILESS_MAIN(TestProgram)
#include "test_program.moc"
