// The logger's memory: buffers with their 99-byte records, the 34-byte blocks
// served by "#" and "$", a logging run ("Q", "q", "p") and clearing buffers,
// over a seeded day of survey data.

#include "BufferRecordLayout.h"
#include "LoggerSimulator.h"
#include "MemoryBlocks.h"
#include "SimClient.h"
#include "WireBytes.h"

#include <QtTest>

namespace {

int word(const QByteArray& b, int at) {
    return sim::readU16(b.toStdString(), at);
}
int byteAt(const QByteArray& b, int at) {
    return static_cast<unsigned char>(b.at(at));
}

// The block the default start-logging set-up of the host holds, with a title.
QByteArray setupBlock(const std::string& title, int masterTimerType = 0) {
    sim::buffer_record::Settings settings;
    settings.title = title;
    settings.preReference = 940;
    std::string block = sim::buffer_record::encode(settings);
    block[sim::buffer_record::kMasterTimer] = static_cast<char>(masterTimerType);
    return QByteArray::fromStdString(block);
}

} // namespace

class TestMemory : public QObject {
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

    // A filled memory downloads block by block: the announced count, each block
    // exactly as the model holds it, and the terminator right after the data.
    void downloadWholeBuffer() {
        sim::DayOfDataOptions day;
        day.hours = 2;
        sim_->model().fillMemory(day);
        const std::vector<std::string> expected = sim_->model().bufferBlocks(0);
        QVERIFY(expected.size() > 600);

        QVERIFY(client_->commandWithData('#', bytes({0})));
        const QByteArray count = client_->request(2);
        QCOMPARE(word(count, 0), static_cast<int>(expected.size()));
        for (std::size_t i = 0; i < expected.size(); ++i) {
            const QByteArray block = client_->query('$', 34);
            QCOMPARE(block.size(), 34);
            if (block.toStdString() != expected[i])
                QFAIL(qPrintable(QString("block %1 differs").arg(i)));
        }
        // Reading on meets the end of the recorded data, stamped with the time of
        // the last record.
        const QByteArray terminator = client_->query('$', 34);
        QCOMPARE(byteAt(terminator, 0), int(sim::BlockType::Terminator));
        QCOMPARE(terminator.mid(1, 6), QByteArray::fromStdString(expected.back().substr(1, 6)));
        QCOMPARE(terminator.toStdString(), sim_->model().memoryBlock(int(expected.size())));
    }

    // The whole memory ("#" 8) announces every block of the memory: the data,
    // a terminator, then erased blocks.
    void downloadWholeMemory() {
        sim::DayOfDataOptions day;
        day.hours = 1;
        day.leqSeconds = 0;
        sim_->model().fillMemory(day);
        const int used = static_cast<int>(sim_->model().bufferBlocks(0).size());
        QVERIFY(client_->commandWithData('#', bytes({8})));
        QCOMPARE(word(client_->request(2), 0), LoggerModel::kMemoryBytes / 34);
        for (int i = 0; i < used; ++i)
            QVERIFY(byteAt(client_->query('$', 34), 0) != int(sim::BlockType::Terminator));
        QCOMPARE(byteAt(client_->query('$', 34), 0), int(sim::BlockType::Terminator));
        QCOMPARE(client_->query('$', 34), QByteArray(34, char(0xFF)));
    }

    // Clearing a buffer leaves its blocks in the memory: a whole-memory read
    // meets the new terminator over its first block, then its other blocks and
    // its old terminator, then erased memory.
    void clearedBufferStaysBehindTheTerminator() {
        const sim::DateTime t{2004, 3, 1, 8, 0, 0};
        const std::vector<std::string> kept{sim::eventBlock(t, sim::LoggingStarted)};
        const std::vector<std::string> cleared{
            sim::eventBlock(t, sim::LoggingStarted), sim::errorBlock(t, 3),
            sim::eventBlock({2004, 3, 1, 9, 0, 0}, sim::LoggingStopped)};
        QVERIFY(sim_->model().addBuffer(setupBlock("kept").toStdString(), kept));
        QVERIFY(sim_->model().addBuffer(setupBlock("cleared").toStdString(), cleared));
        const std::string oldTerminator = sim_->model().memoryBlock(4);
        QCOMPARE(sim::blockType(oldTerminator), sim::BlockType::Terminator);
        QCOMPARE(client_->query('C', 1), QByteArray("C"));

        QVERIFY(client_->commandWithData('#', bytes({8})));
        QCOMPARE(word(client_->request(2), 0), LoggerModel::kMemoryBytes / 34);
        const QList<std::string> expected{kept[0],    sim::terminatorBlock(t), cleared[1],
                                          cleared[2], oldTerminator,           sim::erasedBlock()};
        for (const std::string& block : expected)
            QCOMPARE(client_->query('$', 34).toStdString(), block);
        sim_->model().clearBuffers(); // an emptied memory is erased
        QCOMPARE(sim_->model().memoryBlock(2), sim::erasedBlock());
    }

    // A buffer that does not exist announces no blocks; "$" without "#" answers
    // nothing.
    void downloadOfMissingBuffer() {
        QCOMPARE(client_->query('$', 34, 200), QByteArray());
        QVERIFY(client_->commandWithData('#', bytes({3})));
        QCOMPARE(client_->request(2), bytes({0, 0}));
    }

    // "Q" starts logging into a new buffer that keeps the set-up block; "q"
    // stops it; "p" stores the post-reference; "B" returns the block with the
    // start and stop times filled in.
    void loggingRunRoundTrip() {
        sim_->model().setClock({2004, 3, 1, 8, 0, 0});
        const QByteArray setup = setupBlock("Site A");
        QVERIFY(client_->commandWithData('Q', setup));
        QCOMPARE(client_->request(1), QByteArray("Q"));
        QCOMPARE(client_->query('h', 1), bytes({LoggerModel::kModeLogging}));
        QCOMPARE(client_->query('b', 1), bytes({1}));

        QCOMPARE(client_->query('q', 1, 5000), QByteArray("q"));
        QCOMPARE(client_->query('h', 1), bytes({0}));
        QVERIFY(client_->commandWithData('p', bytes({0x03, 0xAD})));
        QCOMPARE(client_->request(1), QByteArray("p"));

        QVERIFY(client_->commandWithData('B', bytes({0})));
        const QByteArray record = client_->request(99);
        QCOMPARE(record.size(), 99);
        QCOMPARE(record.at(0), setup.at(0));
        QCOMPARE(record.mid(1, 4), bytes({8, 3, 1, 8})); // started 1 March 2004 08:..
        QCOMPARE(record.mid(7, 4), bytes({8, 3, 1, 8})); // and stopped the same hour
        QCOMPARE(record.mid(13, 65), setup.mid(13, 65)); // timers to title as sent
        QCOMPARE(record.mid(62, 16), QByteArray("Site A          "));
        QCOMPARE(word(record, 78), 940);
        QCOMPARE(word(record, 80), 941);

        // The run left its start and stop events in the buffer.
        const std::vector<std::string> blocks = sim_->model().bufferBlocks(0);
        QCOMPARE(blocks.size(), std::size_t(2));
        QCOMPARE(sim::byteAt(blocks[0], 7), int(sim::LoggingStarted));
        QCOMPARE(sim::byteAt(blocks[1], 7), int(sim::LoggingStopped));
    }

    // The run takes the set-up's weightings (C and slow here).
    void loggingTakesSetupWeightings() {
        QByteArray setup = setupBlock("Weighted");
        setup[0] = char(sim::buffer_record::kFlagSlow);
        QVERIFY(client_->commandWithData('Q', setup));
        QCOMPARE(client_->request(1), QByteArray("Q"));
        QCOMPARE(client_->query('3', 2), bytes({0, 1}));
    }

    // With a master timer the logger waits: timers on, start not yet set.
    void loggingWithTimerWaits() {
        QVERIFY(client_->commandWithData('Q', setupBlock("Timed", 2)));
        QCOMPARE(client_->request(1), QByteArray("Q"));
        QCOMPARE(client_->query('h', 1), bytes({LoggerModel::kModeTimersOn}));
        QVERIFY(client_->commandWithData('B', bytes({0})));
        QCOMPARE(client_->request(99).mid(1, 6), QByteArray(6, char(0xFF)));
    }

    // A post-reference of FF FF means "not taken".
    void postReferenceNotTaken() {
        QVERIFY(client_->commandWithData('Q', setupBlock("x")));
        client_->request(1);
        client_->query('q', 1);
        QVERIFY(client_->commandWithData('p', bytes({0xFF, 0xFF})));
        QCOMPARE(client_->request(1), QByteArray("p"));
        QVERIFY(client_->commandWithData('B', bytes({0})));
        QCOMPARE(client_->request(99).mid(80, 2), bytes({0xFF, 0xFF}));
    }

    // Starting while logging, or with all eight buffers used, is refused.
    void startLoggingRefused() {
        QVERIFY(client_->commandWithData('Q', setupBlock("one")));
        QCOMPARE(client_->request(1), QByteArray("Q"));
        QVERIFY(client_->commandWithData('Q', setupBlock("two")));
        QCOMPARE(client_->request(1), QByteArray("?"));
        client_->query('q', 1);
        for (int i = 1; i < LoggerModel::kMaxBuffers; ++i)
            QVERIFY(sim_->model().addBuffer(setupBlock("more").toStdString()));
        QVERIFY(client_->commandWithData('Q', setupBlock("nine")));
        QCOMPARE(client_->request(1), QByteArray("?"));
        QCOMPARE(client_->query('b', 1), bytes({LoggerModel::kMaxBuffers}));
    }

    // "C" clears only the most recent buffer, and not while logging.
    void clearBuffer() {
        QVERIFY(sim_->model().addBuffer(setupBlock("first").toStdString()));
        QVERIFY(sim_->model().addBuffer(setupBlock("second").toStdString()));
        QCOMPARE(client_->query('C', 1), QByteArray("C"));
        QCOMPARE(client_->query('b', 1), bytes({1}));
        QCOMPARE(sim::buffer_record::title(sim_->model().bufferRecord(0)),
                 std::string("first           "));
        sim_->model().setMode(LoggerModel::kModeLogging);
        QCOMPARE(client_->query('C', 1), QByteArray("?"));
        QCOMPARE(client_->query('b', 1), bytes({1}));
        sim_->model().setMode(0);
        QCOMPARE(client_->query('C', 1), QByteArray("C"));
        QCOMPARE(client_->query('C', 1), QByteArray("?"));
    }

    // "B" for a buffer that does not exist gets no reply.
    void programReadOfMissingBuffer() {
        QVERIFY(client_->commandWithData('B', bytes({5})));
        QCOMPARE(client_->request(99, 200), QByteArray());
    }

    // Free memory follows the blocks stored.
    void freeMemoryFollowsData() {
        sim::DayOfDataOptions day;
        day.hours = 3;
        sim_->model().fillMemory(day);
        const auto used = static_cast<std::int32_t>(sim_->model().bufferBlocks(0).size() * 34);
        QCOMPARE(sim_->model().freeMemory(), LoggerModel::kMemoryBytes - used);
    }

private:
    std::unique_ptr<LoggerSimulator> sim_;
    std::unique_ptr<SimClient> client_;
};

QTEST_GUILESS_MAIN(TestMemory)
#include "test_memory.moc"
