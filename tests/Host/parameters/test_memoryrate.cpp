// Logger memory used per second of logging.
#include "MemoryRate.h"

#include <QTest>

class TestMemoryRate : public QObject {
    Q_OBJECT

private slots:
    void rate_data() {
        QTest::addColumn<int>("interval");
        QTest::addColumn<int>("leqOption");
        QTest::addColumn<int>("leqLength");
        QTest::addColumn<double>("bytesPerSecond");
        QTest::newRow("15 min, no Leq") << 15 << 0 << 1 << 34.0 / 900;
        QTest::newRow("15 min, Leq 1 s throughout") << 15 << 1 << 1 << 34.0 / 900 + 34.0 / 12;
        QTest::newRow("Leq on trigger adds nothing") << 15 << 2 << 1 << 34.0 / 900;
        QTest::newRow("1 min, Leq 10 s") << 1 << 1 << 10 << 34.0 / 60 + 34.0 / 120;
        // Values no logger set can have: no division by zero, no estimate.
        QTest::newRow("zero interval") << 0 << 0 << 1 << 0.0;
        QTest::newRow("zero Leq length") << 15 << 1 << 0 << 0.0;
    }
    void rate() {
        QFETCH(int, interval);
        QFETCH(int, leqOption);
        QFETCH(int, leqLength);
        QFETCH(double, bytesPerSecond);
        QVERIFY(qAbs(MemoryRateOf(interval, leqOption, leqLength) - bytesPerSecond) < 1e-9);
    }
};

QTEST_GUILESS_MAIN(TestMemoryRate)
#include "test_memoryrate.moc"
