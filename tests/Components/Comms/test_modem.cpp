// ConnectToModem and DisconnectFromModem against the simulator's Hayes front
// end: every result code, the feedback text and the TimeOut rules.
#include "CommsFixture.h"

#include <QElapsedTimer>
#include <QTimer>

using Outcome = LoggerSimulator::DialOutcome;

class TestModem : public QObject {
    Q_OBJECT

    struct ModemLink : CommsFixture {
        QObject feedback;
        bool setUpModem() {
            sim.setModemMode(true);
            if (!setUp())
                return false;
            comms->setCommMethod(2);
            return true;
        }
        QString text() const { return feedback.property("Text").toString(); }
    };

private slots:
    void directMethodDoesNothing() {
        CommsFixture f;
        QVERIFY(f.setUp());
        QObject feedback;
        feedback.setProperty("Text", "untouched");
        f.sim.clearHostBytes();
        QCOMPARE(f.comms->ConnectToModem("AT", "5550100", &feedback), qint16(1));
        QCOMPARE(feedback.property("Text").toString(), QString("untouched"));
        QVERIFY(f.sim.hostBytes().empty());
        QCOMPARE(f.comms->DisconnectFromModem(), qint16(0));
        QCOMPARE(f.comms->TimeOut(), 500); // untouched: the hang-up did not run
    }

    void connects_data() {
        QTest::addColumn<int>("outcome");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("replyText");
        QTest::newRow("connect") << int(Outcome::Connect) << 0 << "CONNECT";
        QTest::newRow("rings first") << int(Outcome::Ring) << 0 << "RING";
        QTest::newRow("ok, then connect") << int(Outcome::OkThenConnect) << 0 << "CONNECT";
        QTest::newRow("truncated connect") << int(Outcome::TruncatedConnect) << 0 << "CONN\r";
        QTest::newRow("busy") << int(Outcome::Busy) << 3 << "BUSY";
        QTest::newRow("no carrier") << int(Outcome::NoCarrier) << 3 << "NO CARRIER";
    }
    void connects() {
        QFETCH(int, outcome);
        QFETCH(int, result);
        QFETCH(QString, replyText);
        ModemLink m;
        QVERIFY(m.setUpModem());
        m.sim.setDialOutcome("5550100", Outcome(outcome));
        m.comms->setTimeOut(1234);
        QCOMPARE(m.comms->ConnectToModem("ATX4", "5550100", &m.feedback), qint16(result));
        QCOMPARE(m.comms->TimeOut(), 1234); // restored after the 60-second dial wait
        QVERIFY(m.text().startsWith("ATE0\r\n"));
        QVERIFY(m.text().contains("ATX4\r\n"));
        QVERIFY(m.text().contains("ATDT5550100\r\n"));
        QVERIFY2(m.text().contains(replyText), qPrintable(m.text()));
        const std::string wire = m.sim.hostBytes();
        QVERIFY(wire.find("ATE0\rATX4\rATDT5550100\r") != std::string::npos);
    }

    // "NO DIALTONE" and "ERROR" decide nothing: the dial wait goes on after
    // them (to 2 after 60 s); here Cancel ends it.
    void otherRepliesKeepWaiting_data() {
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QString>("replyText");
        QTest::newRow("no dialtone") << int(Outcome::NoDialtone) << "NO DIALTONE";
        QTest::newRow("error") << int(Outcome::Error) << "ERROR";
    }
    void otherRepliesKeepWaiting() {
        QFETCH(int, outcome);
        QFETCH(QString, replyText);
        ModemLink m;
        QVERIFY(m.setUpModem());
        m.sim.setDialOutcome("5550123", Outcome(outcome));
        bool waitingAfterReply = false;
        QTimer cancel; // a local timer: it cannot fire after the call has returned
        cancel.setSingleShot(true);
        connect(&cancel, &QTimer::timeout, [&] {
            waitingAfterReply = m.text().contains(replyText);
            m.comms->setReceiveInterrupt(true);
        });
        cancel.start(1500);
        QElapsedTimer elapsed;
        elapsed.start();
        QCOMPARE(m.comms->ConnectToModem("AT", "5550123", &m.feedback), qint16(2));
        QVERIFY2(waitingAfterReply, qPrintable(m.text()));
        QVERIFY(elapsed.elapsed() < 30000);
        QVERIFY(m.text().endsWith("ATH\r\n\r\nOK\r\n"));
    }

    void connectedLinkCarriesTheProtocolAndHangsUp() {
        ModemLink m;
        QVERIFY(m.setUpModem());
        QCOMPARE(m.comms->ConnectToModem("AT", "5550100", &m.feedback), qint16(0));
        m.comms->Flush();
        m.comms->setTimeOut(2000);
        m.comms->Send(QByteArray("\x01/\x02", 3));
        QCOMPARE(m.comms->Receive(1), QByteArray("k"));
        m.comms->setTimeOut(7000);
        m.sim.clearHostBytes();
        QCOMPARE(m.comms->DisconnectFromModem(), qint16(0));
        QCOMPARE(m.comms->TimeOut(), 500); // the initial value, not the one before
        QCOMPARE(QByteArray::fromStdString(m.sim.hostBytes()), QByteArray("+++ATH\r"));
    }

    // On a paced line the connect line's line feed arrives after "CONN" was
    // seen; it must not be left for the logger's first reply.
    void connectLineEndIsConsumed_data() {
        QTest::addColumn<int>("outcome");
        QTest::newRow("connect") << int(Outcome::Connect);
        QTest::newRow("truncated connect") << int(Outcome::TruncatedConnect);
    }
    void connectLineEndIsConsumed() {
        QFETCH(int, outcome);
        ModemLink m;
        m.sim.setBaudRate(1200);
        QVERIFY(m.setUpModem());
        m.comms->setBaudRate(1200);
        m.sim.setDialOutcome("5550100", Outcome(outcome));
        QCOMPARE(m.comms->ConnectToModem("AT", "5550100", &m.feedback), qint16(0));
        QTest::qWait(50);
        QCOMPARE(m.comms->Flush(), QByteArray());
        QVERIFY(m.text().endsWith("\r\n"));
    }

    // A modem that never answers the dial: 60 s, then "ATH" and result 2.
    void silentModemGivesTwo() {
        ModemLink m;
        QVERIFY(m.setUpModem());
        m.sim.setDialOutcome("5550199", Outcome::Silent);
        QElapsedTimer elapsed;
        elapsed.start();
        QCOMPARE(m.comms->ConnectToModem("AT", "5550199", &m.feedback), qint16(2));
        QVERIFY(elapsed.elapsed() >= 59000);
        QVERIFY(m.text().contains("ATH\r\n"));
        QVERIFY(m.sim.hostBytes().find("ATDT5550199\rATH\r") != std::string::npos);
        QCOMPARE(m.comms->TimeOut(), 500);
    }

    // Cancel during a dial: the interrupt ends the wait like silence would.
    void interruptDuringDial() {
        ModemLink m;
        QVERIFY(m.setUpModem());
        m.sim.setDialOutcome("5550199", Outcome::Silent);
        OrvCommsInterface* comms = m.comms.get();
        QTimer::singleShot(1500, [comms] { comms->setReceiveInterrupt(true); });
        QElapsedTimer elapsed;
        elapsed.start();
        QCOMPARE(m.comms->ConnectToModem("AT", "5550199", &m.feedback), qint16(2));
        QVERIFY(elapsed.elapsed() < 30000);
    }
};

QTEST_MAIN(TestModem)
#include "test_modem.moc"
