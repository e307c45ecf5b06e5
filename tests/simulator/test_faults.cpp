// Every way the logger can be told to misbehave, each checked on the wire:
// silence, late replies, wrong echoes, corrupted and dropped bytes, a download
// that stops halfway, a logger that has powered down, one that stops reading,
// and a port that vanishes.

#include "BufferRecordLayout.h"
#include "LoggerSimulator.h"
#include "SimClient.h"
#include "WireBytes.h"

#include <QtTest>

using Fault = LoggerSimulator::Fault;

class TestFaults : public QObject {
    Q_OBJECT

private slots:
    void init() {
        const QString error = StartSession(sim_, client_);
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }
    void cleanup() {
        client_.reset();
        sim_.reset();
    }

    // Silent: no replies and no ready characters, but commands still act.
    void silent() {
        sim_->setFault(Fault::Silent);
        QCOMPARE(sim_->fault(), Fault::Silent);
        QCOMPARE(client_->query('/', 1, 300), QByteArray());
        QVERIFY(client_->command('F'));
        QCOMPARE(client_->receive(1, 300), QByteArray()); // no ready character
        QVERIFY(client_->send(bytes({3, 0})));
        QCOMPARE(client_->request(1, 300), QByteArray());
        QTRY_COMPARE(sim_->model().frequencyWeighting(), 0);
        sim_->setFault(Fault::None);
        QCOMPARE(client_->query('/', 1), QByteArray("k"));
    }

    // Late: every reply comes param milliseconds late; ready characters do not.
    void late() {
        sim_->setFault(Fault::Late, 400);
        QVERIFY(client_->command('/'));
        QVERIFY(client_->send(bytes({2})));
        QCOMPARE(client_->receive(1, 250), QByteArray());
        QCOMPARE(client_->receive(1, 1000), QByteArray("k"));
        QVERIFY(client_->command('R'));
        QCOMPARE(client_->receive(1, 250).size(), 1);
    }

    // WrongEcho: the echo settings answer a different letter; other replies are
    // untouched.
    void wrongEcho_data() {
        QTest::addColumn<char>("letter");
        QTest::addColumn<QByteArray>("data");
        QTest::newRow("R") << 'R' << bytes({0});
        QTest::newRow("F") << 'F' << bytes({1});
        QTest::newRow("W") << 'W' << bytes({0});
        QTest::newRow("L") << 'L' << bytes({2});
        QTest::newRow("D") << 'D' << bytes({1, 8, 3, 1, 0, 0, 0});
    }
    void wrongEcho() {
        QFETCH(char, letter);
        QFETCH(QByteArray, data);
        sim_->setFault(Fault::WrongEcho);
        QVERIFY(client_->commandWithData(letter, data));
        const QByteArray reply = client_->request(1);
        QCOMPARE(reply.size(), 1);
        QVERIFY(reply.at(0) != letter);
        QCOMPARE(client_->query('/', 1), QByteArray("k"));
    }

    // Corrupt: every n-th reply byte is flipped; the rest arrive intact.
    void corrupt() {
        const QByteArray clean = client_->query('2', 26).left(9); // no clock fields
        sim_->setFault(Fault::Corrupt, 3);
        const QByteArray dirty = client_->query('2', 26).left(9);
        for (int i = 0; i < 9; ++i) {
            if ((i + 1) % 3 == 0)
                QCOMPARE(char(~dirty.at(i)), clean.at(i));
            else
                QCOMPARE(dirty.at(i), clean.at(i));
        }
        sim_->setFault(Fault::Corrupt, 1);
        QCOMPARE(client_->query('/', 1), QByteArray(1, char(~'k')));
    }

    // DropByte: each reply comes one byte short; a one-byte reply not at all.
    void dropByte() {
        sim_->setFault(Fault::DropByte);
        QCOMPARE(client_->query('2', 26, 300).size(), 25);
        QCOMPARE(client_->query('d', 6, 300).size(), 5);
        QCOMPARE(client_->query('/', 1, 300), QByteArray());
    }

    // Faults that wait for a download block: param blocks are served, the next
    // "$" gets nothing, and the logger stays silent (a vanished port is gone)
    // until the fault is cleared or the logger woken.
    void faultAtBlock_data() {
        QTest::addColumn<Fault>("fault");
        QTest::newRow("stop mid transfer") << Fault::StopMidTransfer;
        QTest::newRow("powered down") << Fault::PoweredDown;
        QTest::newRow("vanish") << Fault::Vanish;
    }
    void faultAtBlock() {
        QFETCH(Fault, fault);
        sim_->model().fillMemory();
        sim_->setFault(fault, 3);
        QCOMPARE(client_->query('/', 1), QByteArray("k"));
        QVERIFY(client_->commandWithData('#', bytes({0})));
        QVERIFY(sim::readU16(client_->request(2).toStdString(), 0) > 3);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(client_->query('$', 34).size(), 34);
        QCOMPARE(client_->query('$', 34, 300), QByteArray());
        if (fault == Fault::Vanish) {
            if (client_->command('/')) {
                QCOMPARE(client_->request(1, 500), QByteArray());
                QVERIFY(client_->hungUp());
            }
            return;
        }
        QCOMPARE(client_->query('/', 1, 300), QByteArray());
        if (fault == Fault::PoweredDown)
            sim_->wake();
        else
            sim_->setFault(Fault::None);
        QCOMPARE(client_->query('/', 1), QByteArray("k"));
    }

    // PoweredDown: nothing is heard or answered until wake(); then the next
    // "/" gets "k".
    void poweredDown() {
        sim_->setFault(Fault::PoweredDown);
        QCOMPARE(client_->query('/', 1, 300), QByteArray());
        QVERIFY(client_->command('F'));
        QCOMPARE(client_->receive(1, 300), QByteArray());
        QVERIFY(client_->send(bytes({3, 0})));
        QTest::qWait(100);
        QCOMPARE(sim_->model().frequencyWeighting(), 1); // not heard, not changed
        QTRY_VERIFY(sim_->hostBytes().find("\x01/") != std::string::npos);
        sim_->wake();
        QCOMPARE(sim_->fault(), Fault::None);
        QCOMPARE(client_->query('/', 1), QByteArray("k"));
    }

    // wake() does not clear other faults.
    void wakeLeavesOtherFaults() {
        sim_->setFault(Fault::Silent);
        sim_->wake();
        QCOMPARE(sim_->fault(), Fault::Silent);
    }

    // Stalled: the logger stops reading, so the host's bytes wait in the line;
    // once cleared, it reads them and answers.
    void stalled() {
        sim_->setFault(Fault::Stalled);
        QCOMPARE(client_->query('/', 1, 300), QByteArray());
        QVERIFY(sim_->hostBytes().empty());
        sim_->setFault(Fault::None);
        QCOMPARE(client_->receive(1), QByteArray("k"));
    }

    // Vanish: the port dies under the host.
    void vanish() {
        QCOMPARE(client_->query('/', 1), QByteArray("k"));
        sim_->setFault(Fault::Vanish);
        // Writing fails, or reading reports the hang-up.
        if (client_->command('/')) {
            QCOMPARE(client_->request(1, 500), QByteArray());
            QVERIFY(client_->hungUp());
        }
        SimClient again(sim_->devicePath());
        QVERIFY(!again.isOpen() || again.query('/', 1, 300).isEmpty());
    }

    // A command fault strikes one letter (with one first data byte when
    // given) for a number of arrivals, and the command is not carried out.
    void commandFault() {
        using Kind = sim::CommandFault::Kind;
        sim_->model().clearBuffers();
        for (const char* title : {"first", "second"}) {
            sim::buffer_record::Settings settings;
            settings.title = title;
            QVERIFY(sim_->model().addBuffer(sim::buffer_record::encode(settings)));
        }
        const auto programRead = [this](int buffer) {
            return client_->commandWithData('B', bytes({buffer})) ? client_->request(99, 300)
                                                                  : QByteArray("not sent");
        };
        sim_->setCommandFault({Kind::Ignore, 'B', 1, 2});
        QCOMPARE(programRead(0).size(), 99);
        QCOMPARE(programRead(1), QByteArray());
        QCOMPARE(programRead(1), QByteArray());
        QCOMPARE(programRead(1).size(), 99);

        sim_->setCommandFault({Kind::Refuse, 'C'});
        QCOMPARE(client_->query('C', 1), QByteArray("?"));
        QCOMPARE(client_->query('C', 1), QByteArray("?"));
        QCOMPARE(sim_->model().bufferCount(), 2);
        sim_->setCommandFault({});
        QCOMPARE(client_->query('C', 1), QByteArray("C"));
        QCOMPARE(sim_->model().bufferCount(), 1);
    }

    // Fault::None clears every fault.
    void noneClears() {
        sim_->setFault(Fault::DropByte);
        sim_->setFault(Fault::None);
        QCOMPARE(client_->query('2', 26).size(), 26);
    }

private:
    std::unique_ptr<LoggerSimulator> sim_;
    std::unique_ptr<SimClient> client_;
};

QTEST_GUILESS_MAIN(TestFaults)
#include "test_faults.moc"
