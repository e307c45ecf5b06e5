// The simulated logger records a run as its clock goes on: a statistical block
// at each interval its timers let through, and the events as windows open and
// close.
#include "BufferRecordLayout.h"
#include "LoggerModel.h"
#include "MemoryBlocks.h"

#include <QtTest>

namespace {

using sim::DateTime;

// The set-up block of a 15-minute run with the given master timer.
std::string Setup(int kind, const DateTime& start, const DateTime& end) {
    std::string record = sim::buffer_record::encode({});
    record[sim::buffer_record::kMasterTimer] = static_cast<char>(kind);
    const auto put = [&record](std::size_t at, const DateTime& dt) {
        const int fields[] = {
            dt.year - sim::kBaseYear, dt.month, dt.day, dt.hour, dt.minute, dt.second};
        for (int i = 0; i < 6; ++i)
            record[at + static_cast<std::size_t>(i)] = static_cast<char>(fields[i]);
    };
    put(sim::buffer_record::kMasterTimer + 1, start);
    put(sim::buffer_record::kMasterTimer + 7, end);
    return record;
}

// The run's blocks in words: "S hh:mm" for a statistical block, "+ hh:mm" and
// "- hh:mm" for logging started and stopped.
QStringList Described(const std::vector<std::string>& blocks) {
    QStringList words;
    for (const std::string& block : blocks) {
        const auto at = QString::asprintf("%02d:%02d", static_cast<unsigned char>(block[4]),
                                          static_cast<unsigned char>(block[5]));
        if (sim::blockType(block) == sim::BlockType::Statistical)
            words << "S " + at;
        else if (static_cast<unsigned char>(block[7]) == sim::LoggingStarted)
            words << "+ " + at;
        else if (static_cast<unsigned char>(block[7]) == sim::LoggingStopped)
            words << "- " + at;
    }
    return words;
}

} // namespace

class TestLogging : public QObject {
    Q_OBJECT

private slots:
    void recordsAsTheClockGoesOn_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QStringList>("blocks");
        QTest::addColumn<int>("mode");
        QTest::newRow("no timer") << 0 << QStringList{"+ 10:00", "S 10:15", "S 10:30", "S 10:45",
                                                      "S 11:00", "S 11:15", "S 11:30"}
                                  << int(LoggerModel::kModeLogging);
        QTest::newRow("one shot") << 4 << QStringList{"+ 10:30", "S 10:30", "S 10:45", "- 11:00"}
                                  << 0;
        QTest::newRow("daily") << 2 << QStringList{"+ 10:30", "S 10:30", "S 10:45", "- 11:00"}
                               << int(LoggerModel::kModeTimersOn);
    }
    void recordsAsTheClockGoesOn() {
        QFETCH(int, kind);
        LoggerModel model;
        model.setClock({2004, 3, 1, 10, 0, 0});
        QVERIFY(model.startLogging(Setup(kind, {2004, 3, 1, 10, 30, 0}, {2004, 3, 1, 11, 0, 0})));
        model.setClock({2004, 3, 1, 11, 30, 0});
        model.catchUp();
        // The blocks are stamped with the hour and minute at bytes 4 and 5.
        QTEST(Described(model.bufferBlocks(0)), "blocks");
        QTEST(model.mode(), "mode");
    }

    // The clock can run faster, for a run of hours watched in seconds.
    void clockRunsFaster() {
        LoggerModel model;
        model.setClock({2004, 3, 1, 10, 0, 0});
        model.setClockRate(3600);
        QTRY_VERIFY(model.clock().hour >= 11);
    }
};

QTEST_MAIN(TestLogging)
#include "test_logging.moc"
