// The battery term of the remaining-logging-time estimate.
#include "BatteryLife.h"

#include <QTest>

class TestBatteryLife : public QObject {
    Q_OBJECT

private slots:
    void days_data() {
        QTest::addColumn<double>("volts");
        QTest::addColumn<double>("days");
        QTest::newRow("11.0 V: empty") << 11.0 << 0.0;
        QTest::newRow("12.0 V") << 12.0 << 4.87;
        QTest::newRow("13.0 V: 16.48 days held at 14") << 13.0 << 14.0;
        QTest::newRow("14.0 V: held at 14 days") << 14.0 << 14.0;
        // Below 11 V the curve would rise again (10.0 V gave 1.87 days).
        QTest::newRow("10.0 V: flat") << 10.0 << 0.0;
        QTest::newRow("10.9 V: flat") << 10.9 << 0.0;
    }
    void days() {
        QFETCH(double, volts);
        QFETCH(double, days);
        QVERIFY(qAbs(BatteryLifeSeconds(volts) - days * 86400) < 1.0);
    }
};

QTEST_GUILESS_MAIN(TestBatteryLife)
#include "test_batterylife.moc"
