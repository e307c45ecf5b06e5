// OrvComms over a real pseudo-terminal to the logger simulator: the settings
// text, opening ports, the four receive waits, the lost link and a stalled one.
#include "CommsFixture.h"
#include "ModalAnswerer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

namespace {
const QByteArray Soh("\x01", 1);
const QByteArray Stx("\x02", 1);
} // namespace

class TestOrvComms : public QObject {
    Q_OBJECT

private slots:
    // Settings text: BaudRate and StopBits replace the first and last fields.
    void settingsText() {
        auto comms = CreateOrvComms();
        QVERIFY(comms);
        QCOMPARE(comms->Settings(), QString("9600,n,8,1"));
        QCOMPARE(comms->BaudRate(), 9600);
        QCOMPARE(comms->StopBits(), 1.0f);
        comms->setBaudRate(19200);
        QCOMPARE(comms->Settings(), QString("19200,n,8,1"));
        comms->setBaudRate(9600);
        comms->setStopBits(2);
        QCOMPARE(comms->Settings(), QString("9600,n,8,2"));
        QCOMPARE(comms->StopBits(), 2.0f);
        // Values a port cannot take are ignored, as a failed store is.
        comms->setBaudRate(-5);
        comms->setStopBits(7);
        QCOMPARE(comms->Settings(), QString("9600,n,8,2"));
    }

    void initialState() {
        auto comms = CreateOrvComms();
        QCOMPARE(comms->TimeOut(), 500);
        QCOMPARE(comms->CommMethod(), qint16(1));
        QCOMPARE(comms->ReceiveInterrupt(), false);
    }

    // Port n opens settings "Comms"/"Device"+n, else /dev/ttyS(n-1).
    void portDevice() {
        auto comms = CreateOrvComms();
        QSettings store(QSettings::IniFormat, QSettings::UserScope, "OrvType1", "OrvType1");
        store.remove("Comms/Device3");
        store.sync();
        QCOMPARE(comms->PortDevice(3), QString("/dev/ttyS2"));
        store.setValue("Comms/Device3", "/dev/ttyUSB0");
        store.sync();
        QCOMPARE(comms->PortDevice(3), QString("/dev/ttyUSB0"));
        QVERIFY(comms->PortDevice(0).isEmpty());
    }

    void handshakeAndReopen() {
        CommsFixture f;
        QVERIFY(f.setUp());
        {
            ModalAnswerer answerer; // already open: refused with the same box
            QCOMPARE(f.comms->OpenComms(), qint16(8005));
            QCOMPARE(answerer.lastText(), QString("Invalid port number"));
        }
        f.comms->Send(Soh + "/");
        f.comms->Send(Stx);
        QCOMPARE(f.comms->Receive(1), QByteArray("k"));
        QCOMPARE(f.comms->CloseComms(), qint16(0));
        // A closed port can be opened again (the exclusive lock was released).
        QCOMPARE(f.comms->OpenComms(), qint16(0));
        f.comms->Send(Soh + "/" + Stx);
        QCOMPARE(f.comms->Receive(1), QByteArray("k"));
        QVERIFY(f.sim.hostBytes().find("\x01/\x02") != std::string::npos);
    }

    // Bytes 0 to 255 cross the line unchanged: no translation, no flow control.
    void everyByteValuePasses() {
        CommsFixture f;
        QVERIFY(f.setUp());
        f.sim.clearHostBytes();
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        // Framed as a title-like data block nobody answers; the wire record is what counts.
        f.comms->Send(all);
        QTRY_COMPARE_WITH_TIMEOUT(f.sim.hostBytes().size(), size_t(256), 2000);
        QCOMPARE(QByteArray::fromStdString(f.sim.hostBytes()), all);
    }

    // Direct link: a short reply is not returned and stays in the buffer.
    void partialReplyDirectStaysBuffered() {
        CommsFixture f;
        QVERIFY(f.setUp());
        f.sim.setFault(LoggerSimulator::Fault::DropByte);
        f.comms->setTimeOut(300);
        f.comms->Send(Soh + "s" + Stx); // Get SPL: 2 bytes, one dropped
        QElapsedTimer elapsed;
        elapsed.start();
        QVERIFY(f.comms->Receive(2).isEmpty());
        QVERIFY(elapsed.elapsed() >= 290);
        QCOMPARE(f.comms->Flush().size(), 1);
    }

    // Modem method: the short reply is read and thrown away.
    void partialReplyModemIsDiscarded() {
        CommsFixture f;
        QVERIFY(f.setUp());
        f.sim.setFault(LoggerSimulator::Fault::DropByte);
        f.comms->setCommMethod(2);
        f.comms->setTimeOut(300);
        f.comms->Send(Soh + "s" + Stx);
        QVERIFY(f.comms->Receive(2).isEmpty());
        QTest::qWait(50);
        QVERIFY(f.comms->Flush().isEmpty());
    }

    void receiveReturnsAllThatWaits() {
        CommsFixture f;
        QVERIFY(f.setUp());
        f.comms->Send(Soh + "1" + Stx); // Get Update: 9 bytes
        QTest::qWait(200);
        QCOMPARE(f.comms->Receive(1).size(), 9);
    }

    void receiveReturnsAsSoonAsEnoughArrived() {
        CommsFixture f;
        QVERIFY(f.setUp());
        f.comms->setTimeOut(5000);
        f.sim.setLatencyMs(50);
        QElapsedTimer elapsed;
        elapsed.start();
        f.comms->Send(Soh + "/" + Stx);
        QCOMPARE(f.comms->Receive(1), QByteArray("k"));
        QVERIFY2(elapsed.elapsed() < 2000, "the wait ran on after the reply arrived");
    }

    void silentLoggerTimesOutAfterTimeOut() {
        CommsFixture f;
        QVERIFY(f.setUp());
        f.sim.setFault(LoggerSimulator::Fault::Silent);
        f.comms->setTimeOut(400);
        f.comms->Send(Soh + "/" + Stx);
        QElapsedTimer elapsed;
        elapsed.start();
        QVERIFY(f.comms->Receive(1).isEmpty());
        QVERIFY(elapsed.elapsed() >= 390);
        QVERIFY(!f.comms->LinkLost());
    }

    // A terminator that never comes: empty after TimeOut, everything consumed.
    void receiveLineWithoutTerminator() {
        CommsFixture f;
        QVERIFY(f.setUp());
        f.comms->setTimeOut(300);
        f.comms->Send(Soh + "1" + Stx);
        QVERIFY(f.comms->ReceiveLine("\xEE\xEF").isEmpty());
        QVERIFY(f.comms->Flush().isEmpty());
    }

    void receiveLineKeepsWhatFollowsTheTerminator() {
        CommsFixture f;
        f.sim.setModemMode(true);
        QVERIFY(f.setUp());
        f.comms->Send("AT\r"); // echo "AT\r" then "\r\nOK\r\n"
        QTest::qWait(200);
        const QByteArray line = f.comms->ReceiveLine("\r");
        QVERIFY(line.startsWith("AT\r"));
        QVERIFY(line.contains("OK")); // everything that had arrived came with the line
    }

    void receiveWithEventsKeepsTheLoopRunning() {
        CommsFixture f;
        QVERIFY(f.setUp());
        f.sim.setLatencyMs(300);
        int ticks = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
        ticker.start(20);
        f.comms->setTimeOut(3000);
        f.comms->Send(Soh + "/" + Stx);
        QCOMPARE(f.comms->ReceiveWithEvents(1), QByteArray("k"));
        QVERIFY2(ticks >= 5, "timers did not run during the wait");
    }

    void receiveLineWithEventsReturnsTheLine() {
        CommsFixture f;
        f.sim.setModemMode(true);
        QVERIFY(f.setUp());
        f.comms->setTimeOut(2000);
        f.comms->Send("AT\r");
        const QByteArray line = f.comms->ReceiveLineWithEvents("\r");
        QVERIFY(line.contains("\r"));
    }

    void interruptBeforeWaitEndsItAtOnce() {
        CommsFixture f;
        QVERIFY(f.setUp());
        f.comms->setTimeOut(5000);
        f.comms->setReceiveInterrupt(true);
        QElapsedTimer elapsed;
        elapsed.start();
        QVERIFY(f.comms->ReceiveWithEvents(1).isEmpty());
        QVERIFY(elapsed.elapsed() < 1000);
        QCOMPARE(f.comms->ReceiveInterrupt(), false);
        f.comms->setReceiveInterrupt(true);
        QVERIFY(f.comms->ReceiveLineWithEvents("\r").isEmpty());
        QCOMPARE(f.comms->ReceiveInterrupt(), false);
    }

    void interruptDuringWait() {
        CommsFixture f;
        QVERIFY(f.setUp());
        f.sim.setFault(LoggerSimulator::Fault::Silent);
        f.comms->setTimeOut(10000);
        OrvCommsInterface* comms = f.comms.get();
        QTimer::singleShot(150, [comms] { comms->setReceiveInterrupt(true); });
        QElapsedTimer elapsed;
        elapsed.start();
        f.comms->Send(Soh + "/" + Stx);
        QVERIFY(f.comms->ReceiveWithEvents(1).isEmpty());
        QVERIFY(elapsed.elapsed() < 5000);
        QCOMPARE(f.comms->ReceiveInterrupt(), false);
    }

    void eventWaitTimesOut() {
        CommsFixture f;
        QVERIFY(f.setUp());
        f.sim.setFault(LoggerSimulator::Fault::Silent);
        f.comms->setTimeOut(300);
        QElapsedTimer elapsed;
        elapsed.start();
        QVERIFY(f.comms->ReceiveWithEvents(1).isEmpty());
        QVERIFY(elapsed.elapsed() >= 290);
        QVERIFY(f.comms->ReceiveLineWithEvents("\r").isEmpty());
    }

    // A vanished far end is a lost link: receives stop waiting at once.
    void vanishedPortIsALostLink() {
        CommsFixture f;
        QVERIFY(f.setUp());
        f.sim.setFault(LoggerSimulator::Fault::Vanish);
        f.comms->setTimeOut(3000);
        QElapsedTimer elapsed;
        elapsed.start();
        f.comms->Send(Soh + "/" + Stx);
        for (int i = 0; i < 3; ++i)
            QVERIFY(f.comms->Receive(1).isEmpty());
        QVERIFY(f.comms->LinkLost());
        QVERIFY2(elapsed.elapsed() < 3000, "a lost link was waited out");
        f.comms->setCommMethod(2); // character sends with drains must not hang either
        f.comms->Send("ATH\r");
        QVERIFY(f.comms->ReceiveWithEvents(1).isEmpty());
        QVERIFY(elapsed.elapsed() < 6000);
    }

    // A far end that stops reading: a character-by-character send gives up
    // within a couple of seconds for the whole string, not TimeOut (20 s in a
    // hang-up) for each character, and a full line is no lost link.
    void stalledLineBoundsTheSend() {
        CommsFixture f;
        QVERIFY(f.setUp());
        f.sim.setFault(LoggerSimulator::Fault::Stalled);
        f.comms->setCommMethod(2);
        f.comms->setTimeOut(20000);
        QElapsedTimer elapsed;
        elapsed.start();
        f.comms->Send(QByteArray(64 * 1024, 'x')); // more than the pty holds
        QVERIFY2(elapsed.elapsed() < 5000, qPrintable(QString::number(elapsed.elapsed())));
        QVERIFY(!f.comms->LinkLost());
        // Once the logger reads again, the backlog goes out and it answers.
        f.sim.setFault(LoggerSimulator::Fault::None);
        f.comms->setCommMethod(1);
        f.comms->setTimeOut(5000);
        f.comms->Send(Soh + "/" + Stx);
        QCOMPARE(f.comms->Receive(1), QByteArray("k"));
    }

    // Closing waits for what was sent to leave, but not for a line that does
    // not take it.
    void closeOnAStalledLineReturns() {
        CommsFixture f;
        QVERIFY(f.setUp());
        f.sim.setFault(LoggerSimulator::Fault::Stalled);
        f.comms->Send(QByteArray(64 * 1024, 'x'));
        QElapsedTimer elapsed;
        elapsed.start();
        QCOMPARE(f.comms->CloseComms(), qint16(0));
        QVERIFY2(elapsed.elapsed() < 5000, qPrintable(QString::number(elapsed.elapsed())));
    }
};

QTEST_MAIN(TestOrvComms)
#include "test_orvcomms.moc"
