// The seeded survey generator: plausible, reproducible and laid out as the
// logger records (records in time order, levels in range, start and stop
// events, short-term Leq blocks of twelve values).

#include "BufferRecordLayout.h"
#include "DayOfData.h"
#include "LoggerModel.h"
#include "MemoryBlocks.h"
#include "WireBytes.h"

#include <QtTest>

namespace {

sim::DateTime stampOf(const std::string& block) {
    return *sim::readDateTime(block, 1);
}

} // namespace

class TestDayOfData : public QObject {
    Q_OBJECT

private slots:
    void sameSeedSameBytes() {
        sim::DayOfDataOptions options;
        options.hours = 3;
        const sim::RecordedBuffer a = sim::generateDayOfData(options);
        const sim::RecordedBuffer b = sim::generateDayOfData(options);
        QVERIFY(a.blocks == b.blocks);
        options.seed = 2;
        QVERIFY(sim::generateDayOfData(options).blocks != a.blocks);
    }

    // A day with 1-s short-term Leq nearly fills the memory: 96 statistical
    // records, 7200 Leq blocks and four events.
    void fullDayFitsTheMemory() {
        const sim::RecordedBuffer day = sim::generateDayOfData({});
        QCOMPARE(day.blocks.size(), std::size_t(96 + 7200 + 4));
        QVERIFY(day.blocks.size() * sim::kBlockSize < std::size_t(LoggerModel::kMemoryBytes));
        QCOMPARE(day.record.size(), sim::buffer_record::kSize);
    }

    // Statistical levels follow the day: quiet at night, loud in the afternoon,
    // within 35 to 75 dB apart from passing events; Lmin <= L90 <= L10 <= Lmax.
    void statisticalRecordsArePlausible() {
        sim::DayOfDataOptions options;
        options.leqSeconds = 0;
        const sim::RecordedBuffer day = sim::generateDayOfData(options);
        int night = 0, afternoon = 0, records = 0;
        for (const std::string& block : day.blocks) {
            if (sim::blockType(block) != sim::BlockType::Statistical)
                continue;
            ++records;
            const int leq = sim::readU16(block, 7);
            const int lmin = sim::readU16(block, 9);
            const int lmax = sim::readU16(block, 11);
            const int l10 = sim::readU16(block, 13 + 2 * 2);
            const int l90 = sim::readU16(block, 13 + 2 * 6);
            QVERIFY(lmin <= l90 && l90 <= l10 && l10 <= lmax);
            QVERIFY(lmin <= leq && leq <= lmax);
            QVERIFY2(l90 >= 300 && l90 <= 780, qPrintable(QString::number(l90)));
            const int hour = stampOf(block).hour;
            if (hour == 3)
                night = std::max(night, leq);
            if (hour == 15)
                afternoon = std::max(afternoon, leq);
            QVERIFY(sim::readS16(block, 29) > 100);  // temperature about 20 degrees
            QVERIFY(sim::readU16(block, 31) >= 110); // battery above 11 V
        }
        QCOMPARE(records, 96);
        QVERIFY2(afternoon - night > 200, qPrintable(QString("%1 %2").arg(night).arg(afternoon)));
    }

    // Events rise above the background: some interval holds an Lmax well above its L90.
    void eventsStandOut() {
        const sim::RecordedBuffer day = sim::generateDayOfData({});
        int loudest = 0;
        for (const std::string& block : day.blocks) {
            if (sim::blockType(block) == sim::BlockType::Statistical)
                loudest =
                    std::max(loudest, sim::readU16(block, 11) - sim::readU16(block, 13 + 2 * 6));
        }
        QVERIFY(loudest >= 100);
    }

    // Blocks come in time order, start and stop events frame the data, and each
    // Leq block holds twelve values stamped with the last one.
    void layoutInTimeOrder() {
        sim::DayOfDataOptions options;
        options.hours = 1;
        options.leqSeconds = 10;
        options.start = {2004, 3, 1, 12, 0, 0};
        const sim::RecordedBuffer day = sim::generateDayOfData(options);
        QCOMPARE(sim::blockType(day.blocks.front()), sim::BlockType::Event);
        QCOMPARE(sim::byteAt(day.blocks.front(), 7), int(sim::LoggingStarted));
        QCOMPARE(sim::byteAt(day.blocks.back(), 7), int(sim::LoggingStopped));
        std::int64_t last = 0;
        int leqBlocks = 0;
        for (const std::string& block : day.blocks) {
            const std::int64_t t = sim::toSeconds(stampOf(block));
            QVERIFY(t >= last);
            last = t;
            if (sim::blockType(block) == sim::BlockType::ShortTermLeq) {
                ++leqBlocks;
                for (int i = 0; i < 12; ++i)
                    QVERIFY(sim::readU16(block, 7 + 2 * i) > 0);
            }
        }
        QCOMPARE(leqBlocks, 3600 / 10 / 12);
        QCOMPARE(sim::buffer_record::leqSeconds(day.record), 10);
        QCOMPARE(sim::buffer_record::leqMode(day.record), 1);
        QCOMPARE(*sim::readDateTime(day.record, sim::buffer_record::kStart), options.start);
        QCOMPARE(*sim::readDateTime(day.record, sim::buffer_record::kStop),
                 (sim::DateTime{2004, 3, 1, 13, 0, 0}));
    }

    // A survey larger than the memory ends with the memory-full error.
    void memoryFullEndsWithError() {
        sim::DayOfDataOptions options;
        options.hours = 48;
        const sim::RecordedBuffer days = sim::generateDayOfData(options);
        QCOMPARE(days.blocks.size(), options.maxBlocks);
        QCOMPARE(sim::blockType(days.blocks.back()), sim::BlockType::Error);
        QCOMPARE(sim::byteAt(days.blocks.back(), 7), 5);
    }
};

QTEST_GUILESS_MAIN(TestDayOfData)
#include "test_dayofdata.moc"
