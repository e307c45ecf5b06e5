// The serial line the simulator models on its pseudo-terminal: pacing at a
// baud rate, a host at another rate going unheard, a fixed latency, reading
// the host while paced output runs, and a port that can be opened again after
// every close, also by a serial library that takes exclusive access.

#include "LoggerSimulator.h"
#include "SimClient.h"
#include "WireBytes.h"

#include <QSerialPort>
#include <QtTest>

#include <sys/ioctl.h>

namespace {

// Whether the pty is still in exclusive mode (only an open descriptor can ask).
bool exclusive(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return true; // refused: exclusive for us
    int on = 0;
    ::ioctl(fd, TIOCGEXCL, &on);
    ::close(fd);
    return on != 0;
}

} // namespace

class TestLine : public QObject {
    Q_OBJECT

private slots:
    void init() {
        sim_ = std::make_unique<LoggerSimulator>();
        std::string error;
        QVERIFY2(sim_->start(&error), error.c_str());
    }
    void cleanup() { sim_.reset(); }

    void unpacedByDefault() { QCOMPARE(sim_->baudRate(), 0); }

    // 1938 bytes at 19200 baud take about a second (10 bits a byte); only a
    // lower bound is checked, a loaded machine may be slower.
    void pacingFollowsBaudRate() {
        sim::DayOfDataOptions day;
        day.hours = 1;
        sim_->model().fillMemory(day);
        sim_->setBaudRate(19200);
        QCOMPARE(sim_->baudRate(), 19200);
        SimClient client(sim_->devicePath(), 19200);
        QVERIFY(client.commandWithData('#', bytes({0})));
        QCOMPARE(client.request(2).size(), 2);
        QElapsedTimer timer;
        timer.start();
        qsizetype total = 0;
        for (int i = 0; i < 57; ++i)
            total += client.query('$', 34).size();
        QCOMPARE(total, qsizetype(1938));
        QVERIFY2(timer.elapsed() >= 950, qPrintable(QString::number(timer.elapsed())));
    }

    // A logger at a set rate hears only a host at that rate, and answers once
    // the host re-clocks; an unpaced one hears a host at any rate.
    void hearsOnlyItsOwnRate_data() {
        QTest::addColumn<int>("logger");
        QTest::addColumn<int>("host");
        QTest::addColumn<bool>("heard");
        QTest::newRow("host 9600, logger 19200") << 19200 << 9600 << false;
        QTest::newRow("both 19200") << 19200 << 19200 << true;
        QTest::newRow("host 9600, logger unpaced") << 0 << 9600 << true;
    }
    void hearsOnlyItsOwnRate() {
        QFETCH(int, logger);
        QFETCH(int, host);
        QFETCH(bool, heard);
        sim_->setBaudRate(logger);
        SimClient client(sim_->devicePath(), host);
        QCOMPARE(client.query('/', 1, 300), heard ? QByteArray("k") : QByteArray());
        if (!heard) {
            QVERIFY(client.setBaudRate(logger));
            QCOMPARE(client.query('/', 1), QByteArray("k"));
        }
    }

    // A reply comes no sooner than the latency after the request.
    void latencyBeforeEachReply() {
        sim_->setLatencyMs(250);
        SimClient client(sim_->devicePath());
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(client.query('/', 1), QByteArray("k"));
        QVERIFY2(timer.elapsed() >= 240, qPrintable(QString::number(timer.elapsed())));
    }

    // Bytes the host sends while a slow reply is still going out are read and
    // acted on, not lost.
    void hostBytesDuringPacedOutput() {
        sim_->setBaudRate(1200); // 34 bytes take about 0.28 s
        sim_->model().fillMemory();
        SimClient client(sim_->devicePath(), 1200);
        QVERIFY(client.commandWithData('#', bytes({0})));
        QCOMPARE(client.request(2).size(), 2);
        QVERIFY(client.command('$'));
        QVERIFY(client.send(bytes({2})));
        QVERIFY(client.send(bytes({1, 'I'}))); // sent while the block is going out
        const QByteArray both = client.receive(35);
        QCOMPARE(both.size(), 35); // the block, then the ready character for "I"
        QCOMPARE(both.at(34), sim::LoggerCommands::kReadyCharacter);
        QVERIFY(client.send(bytes({3, 0, 0, 0, 77, 2})));
        QCOMPARE(client.receive(1), QByteArray("O"));
        QCOMPARE(sim_->model().serialNumber(), 77);
    }

    // The pty can be opened again after each close, and a reply the last client
    // never read does not greet the next one once the simulator has seen the
    // close (as a real port drops its buffer at the last close).
    void reopenAfterClose() {
        for (int round = 0; round < 3; ++round) {
            {
                SimClient client(sim_->devicePath());
                QVERIFY(client.isOpen());
                QCOMPARE(client.query('/', 1), QByteArray("k"));
                QVERIFY(client.command('2'));
                QVERIFY(client.send(bytes({2}))); // reply left unread
                QTest::qWait(50);
            }
            QTest::qWait(50);
        }
        SimClient last(sim_->devicePath());
        QCOMPARE(last.drain(200), QByteArray());
    }

    // QSerialPort takes exclusive access; after it closes, the simulator gives
    // the port up again, so the next QSerialPort (a re-link, the next test) opens
    // it, also for a user who is not root.
    void serialPortReopens() {
        const QString path = QString::fromStdString(sim_->devicePath());
        for (int round = 0; round < 3; ++round) {
            QSerialPort port(path);
            QVERIFY2(port.open(QIODevice::ReadWrite), qPrintable(port.errorString()));
            QVERIFY(port.write("\x01/\x02", 3) == 3);
            QVERIFY(port.waitForBytesWritten(1000));
            QByteArray reply;
            for (int i = 0; i < 20 && reply.isEmpty(); ++i) {
                port.waitForReadyRead(100);
                reply += port.readAll();
            }
            QCOMPARE(reply, QByteArray("k"));
            port.close();
            QTRY_VERIFY(!exclusive(sim_->devicePath()));
        }
    }

    // stop() ends the serving thread and removes the port; start() serves again
    // on a new one.
    void stopAndStartAgain() {
        const std::string first = sim_->devicePath();
        sim_->stop();
        SimClient gone(first);
        QVERIFY(!gone.isOpen() || gone.query('/', 1, 200).isEmpty());
        std::string error;
        QVERIFY2(sim_->start(&error), error.c_str());
        SimClient client(sim_->devicePath());
        QCOMPARE(client.query('/', 1), QByteArray("k"));
    }

private:
    std::unique_ptr<LoggerSimulator> sim_;
};

QTEST_GUILESS_MAIN(TestLine)
#include "test_line.moc"
