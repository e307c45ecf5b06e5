// The Hayes modem in front of the logger: echo until ATE0, OK for AT commands,
// dialling with each outcome (and a default one), the logger behind CONNECT,
// "+++" with its guard times, ATH, and the call ending when the port is closed.

#include "LoggerSimulator.h"
#include "SimClient.h"

#include <QtTest>

using DialOutcome = LoggerSimulator::DialOutcome;

namespace {

const QByteArray kOk("\r\nOK\r\n");
const QByteArray kConnect("\r\nCONNECT 19200\r\n");

} // namespace

class TestModem : public QObject {
    Q_OBJECT

private slots:
    void init() {
        const QString error = StartSession(sim_, client_, [](LoggerSimulator& sim) {
            sim.setModemMode(true);
            sim.setConnectDelayMs(100);
        });
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }
    void cleanup() {
        client_.reset();
        sim_.reset();
    }

    // Echo is on until ATE0; the OK comes after the echoed line.
    void echoUntilAte0() {
        QVERIFY(client_->send("AT\r"));
        QCOMPARE(client_->receive(9), QByteArray("AT\r") + kOk);
        QVERIFY(client_->send("ATE0\r"));
        QCOMPARE(client_->receive(11), QByteArray("ATE0\r") + kOk);
        QVERIFY(client_->send("AT&FV1X4\r"));
        QCOMPARE(client_->receive(6), kOk);
        QCOMPARE(client_->drain(100), QByteArray());
    }

    // In command mode the logger is not reachable.
    void loggerUnreachableInCommandMode() {
        QVERIFY(client_->send("ATE0\r"));
        client_->receive(11);
        QCOMPARE(client_->query('/', 1, 300), QByteArray());
    }

    // Dialling: each number gets its outcome; after a connecting one the
    // logger answers, after any other the host hangs up and the modem says OK.
    void dialOutcomes_data() {
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<bool>("connects");
        const QByteArray ring("\r\nRING\r\n");
        QTest::newRow("connect") << int(DialOutcome::Connect) << kConnect << true;
        QTest::newRow("ring") << int(DialOutcome::Ring) << ring + ring + kConnect << true;
        QTest::newRow("ok, connect") << int(DialOutcome::OkThenConnect) << kOk + kConnect << true;
        QTest::newRow("truncated connect")
            << int(DialOutcome::TruncatedConnect) << QByteArray("\r\nCONN\r\n") << true;
        QTest::newRow("busy") << int(DialOutcome::Busy) << QByteArray("\r\nBUSY\r\n") << false;
        QTest::newRow("no carrier")
            << int(DialOutcome::NoCarrier) << QByteArray("\r\nNO CARRIER\r\n") << false;
        QTest::newRow("no dialtone")
            << int(DialOutcome::NoDialtone) << QByteArray("\r\nNO DIALTONE\r\n") << false;
        QTest::newRow("error") << int(DialOutcome::Error) << QByteArray("\r\nERROR\r\n") << false;
        QTest::newRow("silent") << int(DialOutcome::Silent) << QByteArray() << false;
    }
    void dialOutcomes() {
        QFETCH(int, outcome);
        QFETCH(QByteArray, answer);
        QFETCH(bool, connects);
        sim_->setDialOutcome("01234 567", static_cast<DialOutcome>(outcome));
        QVERIFY(client_->send("ATE0\r"));
        client_->receive(11);
        QVERIFY(client_->send("ATDT01234567\r"));
        QCOMPARE(client_->receive(answer.size() + 1, 800), answer);
        if (connects) {
            QCOMPARE(client_->query('/', 1), QByteArray("k"));
        } else {
            QVERIFY(client_->send("ATH\r"));
            QCOMPARE(client_->receive(6), kOk);
        }
    }

    // A default outcome covers every number without one of its own.
    void defaultDialOutcome() {
        sim_->setDefaultDialOutcome(DialOutcome::Busy);
        sim_->setDialOutcome("555", DialOutcome::Connect);
        QVERIFY(client_->send("ATE0\r"));
        client_->receive(11);
        QVERIFY(client_->send("ATDT777\r"));
        QCOMPARE(client_->receive(9), QByteArray("\r\nBUSY\r\n"));
        QVERIFY(client_->send("ATDT555\r"));
        QCOMPARE(client_->receive(kConnect.size()), kConnect);
    }

    // CONNECT comes after the connect delay; then the logger answers.
    void connectThenLogger() {
        sim_->setConnectDelayMs(300);
        QVERIFY(client_->send("ATE0\r"));
        client_->receive(11);
        QElapsedTimer timer;
        timer.start();
        QVERIFY(client_->send("ATDT555\r"));
        QCOMPARE(client_->receive(kConnect.size()), kConnect);
        QVERIFY(timer.elapsed() >= 290);
        QCOMPARE(client_->query('/', 1), QByteArray("k"));
    }

    // The host's hang-up: guard time, "+++" one character at a time, guard
    // time, OK; then ATH and exactly "\r\nOK\r\n"; the logger is gone.
    void escapeAndHangUp() {
        connect();
        QTest::qWait(1100);
        for (char c : QByteArray("+++"))
            QVERIFY(client_->send(QByteArray(1, c)));
        QCOMPARE(client_->receive(6, 500), QByteArray()); // not before the guard time
        QCOMPARE(client_->receive(6, 1500), kOk);
        QVERIFY(client_->send("ATH\r"));
        QCOMPARE(client_->receive(6), kOk);
        QCOMPARE(client_->drain(100), QByteArray());
        QCOMPARE(client_->query('/', 1, 300), QByteArray());
    }

    // "+++" right after data (no guard time before it), or followed by data
    // within the guard time, is data: the call stays up.
    void plusesWithoutGuardAreData_data() {
        QTest::addColumn<int>("pauseBefore");
        QTest::addColumn<bool>("dataAfter");
        QTest::newRow("no guard before") << 0 << false;
        QTest::newRow("data after") << 1100 << true;
    }
    void plusesWithoutGuardAreData() {
        QFETCH(int, pauseBefore);
        QFETCH(bool, dataAfter);
        connect();
        QTest::qWait(pauseBefore);
        QVERIFY(client_->send("+++"));
        if (dataAfter) {
            QTest::qWait(200);
            QVERIFY(client_->send("x"));
        }
        QCOMPARE(client_->receive(6, 1500), QByteArray());
        QCOMPARE(client_->query('/', 1), QByteArray("k"));
    }

    // Closing the port ends the call: the next client meets the modem in
    // command mode with echo on.
    void closingThePortHangsUp() {
        connect();
        client_.reset();
        QTest::qWait(50);
        client_ = std::make_unique<SimClient>(sim_->devicePath());
        QVERIFY(client_->send("AT\r"));
        QCOMPARE(client_->receive(9), QByteArray("AT\r") + kOk);
    }

    // A line that is not a command is answered ERROR.
    void notACommand() {
        QVERIFY(client_->send("ATE0\r"));
        client_->receive(11);
        QVERIFY(client_->send("HELLO\r"));
        QCOMPARE(client_->receive(9), QByteArray("\r\nERROR\r\n"));
    }

private:
    void connect() {
        QVERIFY(client_->send("ATE0\r"));
        QCOMPARE(client_->receive(11), QByteArray("ATE0\r") + kOk);
        QVERIFY(client_->send("AT&F\r"));
        QCOMPARE(client_->receive(6), kOk);
        QVERIFY(client_->send("ATDT123\r"));
        QCOMPARE(client_->receive(kConnect.size()), kConnect);
    }

    std::unique_ptr<LoggerSimulator> sim_;
    std::unique_ptr<SimClient> client_;
};

QTEST_GUILESS_MAIN(TestModem)
#include "test_modem.moc"
