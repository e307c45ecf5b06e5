// The remaining-logging-time estimate and its text, shared by the panel, the
// logging summary and the details window.
#include "LoggingEstimate.h"

#include <QTest>

class TestLoggingEstimate : public QObject {
    Q_OBJECT

private slots:
    // Each pattern rounds to the nearest whole number.
    void text_data() {
        QTest::addColumn<double>("seconds");
        QTest::addColumn<QString>("text");
        QTest::newRow("8.7 days") << 8.7 * 86400 << "9 days";
        QTest::newRow("just over two days") << 172801.0 << "2 days";
        QTest::newRow("exactly two days, in hours") << 172800.0 << "48 hours";
        QTest::newRow("1.6 hours") << 1.6 * 3600 << "2 hours";
        QTest::newRow("exactly an hour, in minutes") << 3600.0 << "60 minutes";
        QTest::newRow("90 s") << 90.0 << "2 minutes";
        QTest::newRow("exactly a minute, in seconds") << 60.0 << "60 seconds";
        QTest::newRow("59.6 s") << 59.6 << "60 seconds";
        QTest::newRow("none left") << 0.0 << "0 seconds";
    }
    void text() {
        QFETCH(double, seconds);
        QFETCH(QString, text);
        QCOMPARE(LoggingTimeText(seconds), text);
    }

    // A limit that could not be worked out is left out, never guessed.
    void limits_data() {
        QTest::addColumn<double>("rate");
        QTest::addColumn<int>("freeMemory");
        QTest::addColumn<int>("battery");
        QTest::addColumn<bool>("known");
        QTest::addColumn<bool>("byMemory");
        QTest::addColumn<double>("seconds");
        QTest::newRow("memory shorter") << 2.0 << 1000 << 140 << true << true << 500.0;
        QTest::newRow("battery shorter") << 0.001 << 262144 << 120 << true << false << 4.87 * 86400;
        QTest::newRow("battery not read") << 2.0 << 1000 << -1 << true << true << 500.0;
        QTest::newRow("memory not read") << 2.0 << -1 << 140 << true << false << 14.0 * 86400;
        QTest::newRow("no rate") << 0.0 << 1000 << 140 << true << false << 14.0 * 86400;
        QTest::newRow("nothing known") << 0.0 << -1 << -1 << false << false << 0.0;
    }
    void limits() {
        QFETCH(double, rate);
        QFETCH(int, freeMemory);
        QFETCH(int, battery);
        QFETCH(bool, known);
        QFETCH(bool, byMemory);
        QFETCH(double, seconds);
        const LoggingEstimate estimate = EstimateLoggingTime(rate, freeMemory, qint16(battery));
        QCOMPARE(estimate.known, known);
        QCOMPARE(estimate.limitedByMemory, byMemory);
        QVERIFY(qAbs(estimate.seconds - seconds) < 100);
    }
};

QTEST_GUILESS_MAIN(TestLoggingEstimate)
#include "test_loggingestimate.moc"
