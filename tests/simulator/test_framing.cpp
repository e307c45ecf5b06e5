// Command framing from the logger's side: byte 1 + letter, the ready character
// before data blocks, byte 3 + data, byte 2 for each reply, and recovery from
// line noise and frames that stop halfway.

#include "LoggerSimulator.h"
#include "SimClient.h"

#include <QtTest>

class TestFraming : public QObject {
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

    // The handshake: "/" answered by "k", and only when the reply is asked for.
    void handshakeAnswersKOnlyOnRequest() {
        QVERIFY(client_->command('/'));
        QCOMPARE(client_->drain(150), QByteArray());
        QCOMPARE(client_->request(1), QByteArray("k"));
    }

    // Each reply goes out once; a second byte 2 gets nothing.
    void replyIsGivenOnce() {
        QCOMPARE(client_->query('/', 1), QByteArray("k"));
        QCOMPARE(client_->request(1, 200), QByteArray());
    }

    // Byte 2 with no command before it gets nothing.
    void replyRequestWithoutCommandIsIgnored() { QCOMPARE(client_->request(1, 200), QByteArray()); }

    // The ready character comes at once after a letter that takes data, and
    // nothing is replied before the data block has arrived.
    void dataCommandSendsReadyCharacter() {
        QVERIFY(client_->command('R'));
        QCOMPARE(client_->receive(1), QByteArray(1, sim::LoggerCommands::kReadyCharacter));
        QVERIFY(client_->send(bytes({3, 1})));
        QCOMPARE(client_->request(1), QByteArray("R"));
        QVERIFY(sim_->model().powerDownDisabled());
    }

    // Line noise before a command does not stop the command being understood;
    // an unknown letter is ignored.
    void garbageBeforeCommandIsSkipped_data() {
        QTest::addColumn<QByteArray>("noise");
        QTest::newRow("printable") << QByteArray("hello");
        QTest::newRow("stray data start") << bytes({3, 3, 0x55});
        QTest::newRow("unknown letter") << bytes({1, 'Y'});
        QTest::newRow("double start") << bytes({1});
        QTest::newRow("high bytes") << bytes({0xFF, 0x80, 0x00});
    }
    void garbageBeforeCommandIsSkipped() {
        QFETCH(QByteArray, noise);
        QVERIFY(client_->send(noise));
        QCOMPARE(client_->query('/', 1), QByteArray("k"));
        QCOMPARE(client_->drain(100), QByteArray());
    }

    // Data bytes are taken literally, even the framing bytes 1, 2 and 3.
    void dataBlockMayHoldFramingBytes() {
        QVERIFY(client_->commandWithData('I', bytes({1, 2, 3, 1})));
        QCOMPARE(client_->request(1), QByteArray("O"));
        QCOMPARE(sim_->model().serialNumber(), 0x01020301);
    }

    // A new command while the logger waits for a data block starts over.
    void newCommandAbandonsMissingDataBlock() {
        QVERIFY(client_->command('F'));
        QCOMPARE(client_->receive(1).size(), 1);
        QCOMPARE(client_->query('/', 1), QByteArray("k"));
    }

    // A data block that stops halfway is given up after a pause; the next
    // command is understood and the half block changed nothing.
    void stalledDataBlockIsDropped() {
        sim_->model().setSerialNumber(42);
        QVERIFY(client_->command('I'));
        QCOMPARE(client_->receive(1).size(), 1);
        QVERIFY(client_->send(bytes({3, 9, 9})));
        QTest::qWait(static_cast<int>(sim::Framer::kDataPause.count()) + 300);
        QCOMPARE(client_->query('/', 1), QByteArray("k"));
        QCOMPARE(sim_->model().serialNumber(), 42);
    }

    // Byte 2 instead of the data block (the host saw no ready character): the
    // command is dropped without a reply.
    void replyRequestInsteadOfDataDropsCommand() {
        QVERIFY(client_->command('L'));
        QCOMPARE(client_->receive(1).size(), 1);
        QCOMPARE(client_->request(1, 200), QByteArray());
        QCOMPARE(client_->query('/', 1), QByteArray("k"));
    }

    // A command with two data blocks gets a ready character before each.
    void twoBlockCommandGetsTwoReadyCharacters() {
        QVERIFY(client_->command('>'));
        QCOMPARE(client_->receive(1), QByteArray(1, sim::LoggerCommands::kReadyCharacter));
        QVERIFY(client_->send(bytes({3, 77})));
        QCOMPARE(client_->receive(1), QByteArray(1, sim::LoggerCommands::kReadyCharacter));
        QVERIFY(client_->send(bytes({3, 88})));
        QCOMPARE(client_->drain(150), QByteArray());
        QCOMPARE(sim_->model().filterA(), 77);
        QCOMPARE(sim_->model().filterB(), 88);
    }

    // Commands without a reply ("n", "v") leave nothing to ask for.
    void commandsWithoutReplyAnswerNothing_data() {
        QTest::addColumn<char>("letter");
        QTest::newRow("unlink") << 'n';
        QTest::newRow("clear overload") << 'v';
    }
    void commandsWithoutReplyAnswerNothing() {
        QFETCH(char, letter);
        QCOMPARE(client_->query(letter, 1, 200), QByteArray());
    }

    // Every byte the host sent is kept for wire checks, noise included.
    void hostBytesRecordEverything() {
        QVERIFY(client_->send("xy"));
        QCOMPARE(client_->query('/', 1), QByteArray("k"));
        QTRY_COMPARE(QByteArray::fromStdString(sim_->hostBytes()), QByteArray("xy\x01/\x02"));
        sim_->clearHostBytes();
        QCOMPARE(sim_->hostBytes(), std::string());
    }

private:
    std::unique_ptr<LoggerSimulator> sim_;
    std::unique_ptr<SimClient> client_;
};

QTEST_GUILESS_MAIN(TestFraming)
#include "test_framing.moc"
