// Decoding the logger's 34-byte memory blocks.
#include "LoggerDateTimeTesting.h"
#include "MemoryBlock.h"

#include <QTest>

namespace {

// Type, six stamp bytes (year - 1996 first), then 16-bit words, then bytes.
QByteArray Block(int type, QList<int> stamp, QList<int> words, QList<int> bytes = {}) {
    QByteArray block(1, char(type));
    for (const int byte : stamp)
        block.append(char(byte));
    for (const int word : words)
        block.append(char(word >> 8)).append(char(word));
    for (const int byte : bytes)
        block.append(char(byte));
    return block.leftJustified(34, '\0');
}

LoggerDateTime At(int y, int mo, int d, int h, int mi, int s) {
    return {qint16(y), qint16(mo), qint16(d), qint16(h), qint16(mi), qint16(s)};
}

} // namespace

class TestMemoryBlock : public QObject {
    Q_OBJECT

private slots:
    void statisticalRecord() {
        const QByteArray block =
            Block(1, {7, 5, 1, 14, 30, 7},
                  {450, 350, 650, 400, 400, 400, 400, 400, 400, 400, 0x8000, 0xFF38, 90}, {1});
        const auto record = std::get<StatisticalRecord>(DecodeBlock(block, 0));
        QCOMPARE(record.stamp, At(2003, 5, 1, 14, 30, 7));
        QCOMPARE(std::tuple(record.leq, record.lmin, record.lmax), std::tuple(45.0, 35.0, 65.0));
        QCOMPARE(record.percentiles[0], 40.0);
        QCOMPARE(record.percentiles[7], -0.1); // first byte 0x80: missing
        QCOMPARE(std::tuple(record.temperature, record.battery), std::tuple(-20.0, 9.0));
        QVERIFY(record.overload);
    }

    void leqValues() {
        const QByteArray full = Block(2, {8, 3, 1, 0, 0, 5}, QList<int>(12, 450));
        const auto spread = std::get<LeqRecord>(DecodeBlock(full, 1));
        QCOMPARE(spread.values.size(), 12);
        QVERIFY(!spread.endedEarly);
        QCOMPARE(spread.values.first().time, At(2004, 2, 29, 23, 59, 54));
        QCOMPARE(spread.values.last().time, At(2004, 3, 1, 0, 0, 5));
        // The whole memory: every value carries the block's stamp.
        QCOMPARE(std::get<LeqRecord>(DecodeBlock(full, 0)).values[0].time, At(2004, 3, 1, 0, 0, 5));

        const QByteArray shortRecord = Block(2, {8, 3, 1, 0, 0, 5}, {450, 2450, 0, 500});
        const auto ended = std::get<LeqRecord>(DecodeBlock(shortRecord, 0));
        QVERIFY(ended.endedEarly);
        QCOMPARE(ended.values, QList<LeqValue>({{At(2004, 3, 1, 0, 0, 5), 45.0, false},
                                                {At(2004, 3, 1, 0, 0, 5), 45.0, true}}));

        // Erased memory: no date arithmetic on 255s, every value kept as it came.
        const QByteArray erased = Block(2, {255, 255, 255, 255, 255, 255}, {450, 451});
        const auto kept = std::get<LeqRecord>(DecodeBlock(erased, 5));
        QCOMPARE(kept.values.size(), 2);
        QCOMPARE(kept.values[1].time, (LoggerDateTime{2251, 255, 255, 255, 255, 255}));
    }

    void logTexts_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("text");
        QTest::newRow("event") << 3 << 20 << "Statistical data logging commenced.";
        QTest::newRow("unknown event") << 3 << 12 << "Unknown event (Code 12).";
        QTest::newRow("error") << 4 << 5 << "ERROR : Data memory full.  System shut down.";
        QTest::newRow("warning") << 4 << 6 << "WARNING : Clock variation detected.";
        QTest::newRow("unknown error") << 4 << 0 << "Unknown error (Code 0).";
        QTest::newRow("type 9") << 9 << 1
                                << "ERROR : Unknown record type error (code 9) generated.";
        QTest::newRow("terminator read on")
            << 5 << 0 << "ERROR : Unknown record type error (code 5) generated.";
    }
    void logTexts() {
        QFETCH(int, type);
        QFETCH(int, code);
        const QByteArray block = Block(type, {7, 5, 1, 14, 30, 7}, {}, {code});
        const auto record = std::get<EventRecord>(DecodeBlock(block, 0));
        QTEST(record.text, "text");
        QCOMPARE(record.stamp, At(2003, 5, 1, 14, 30, 7));
        QCOMPARE(IsTerminator(block), type == 5);
    }
};

QTEST_GUILESS_MAIN(TestMemoryBlock)
#include "test_memoryblock.moc"
