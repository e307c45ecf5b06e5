// The logger's calendar and clock: date validity with its leap rule, seconds
// and weekdays, the wire form, and a clock that runs and counts its weekday on
// by itself.

#include "LoggerModel.h"
#include "SimDateTime.h"

#include <QtTest>

class TestCalendar : public QObject {
    Q_OBJECT

private slots:
    void validity_data() {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("day");
        QTest::addColumn<bool>("valid");
        QTest::newRow("29 Feb 2004") << 2004 << 2 << 29 << true;
        QTest::newRow("29 Feb 2003") << 2003 << 2 << 29 << false;
        QTest::newRow("29 Feb 2100, no century rule") << 2100 << 2 << 29 << true;
        QTest::newRow("31 Apr") << 2003 << 4 << 31 << false;
        QTest::newRow("before 1996") << 1995 << 12 << 31 << false;
        QTest::newRow("last year") << 2250 << 12 << 31 << true;
        QTest::newRow("after 2250") << 2251 << 1 << 1 << false;
        QTest::newRow("month 0") << 2003 << 0 << 1 << false;
    }
    void validity() {
        QFETCH(int, year);
        QFETCH(int, month);
        QFETCH(int, day);
        QFETCH(bool, valid);
        QCOMPARE(sim::isValid({year, month, day, 0, 0, 0}), valid);
    }

    // Seconds and back, across month and year ends.
    void secondsRoundTrip_data() {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("day");
        QTest::newRow("base") << 1996 << 1 << 1;
        QTest::newRow("leap day") << 2004 << 2 << 29;
        QTest::newRow("year end") << 2003 << 12 << 31;
        QTest::newRow("far") << 2250 << 12 << 31;
    }
    void secondsRoundTrip() {
        QFETCH(int, year);
        QFETCH(int, month);
        QFETCH(int, day);
        const sim::DateTime dt{year, month, day, 23, 59, 59};
        QCOMPARE(sim::fromSeconds(sim::toSeconds(dt)), dt);
        QCOMPARE(sim::fromSeconds(sim::toSeconds(dt) + 1),
                 sim::fromSeconds(sim::toSeconds({year, month, day, 0, 0, 0}) + 86400));
    }

    void weekdays_data() {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("day");
        QTest::addColumn<int>("weekday");
        QTest::newRow("1 Jan 1996 Monday") << 1996 << 1 << 1 << 1;
        QTest::newRow("15 Jun 2003 Sunday") << 2003 << 6 << 15 << 0;
        QTest::newRow("16 Jun 2003 Monday") << 2003 << 6 << 16 << 1;
        QTest::newRow("29 Feb 2004 Sunday") << 2004 << 2 << 29 << 0;
        QTest::newRow("7 Dec 2026 Monday") << 2026 << 12 << 7 << 1;
    }
    void weekdays() {
        QFETCH(int, year);
        QFETCH(int, month);
        QFETCH(int, day);
        QFETCH(int, weekday);
        QCOMPARE(sim::weekday({year, month, day, 12, 0, 0}), weekday);
    }

    // Six bytes on the wire; 255s (the unset record) and impossible dates read
    // as nothing.
    void wireForm() {
        const std::string b = sim::dateTimeBytes({2003, 12, 31, 7, 5, 9});
        QCOMPARE(QByteArray::fromStdString(b), QByteArray("\x07\x0c\x1f\x07\x05\x09", 6));
        QCOMPARE(*sim::readDateTime(b, 0), (sim::DateTime{2003, 12, 31, 7, 5, 9}));
        QVERIFY(!sim::readDateTime(sim::unsetDateTimeBytes(), 0));
        QVERIFY(!sim::readDateTime(std::string("\x07\x02\x1e\x00\x00\x00", 6), 0));
        QVERIFY(!sim::readDateTime(b, 1)); // too short
    }

    // The clock runs from when it is set; the weekday register counts on at
    // midnight from whatever it was set to.
    void clockRuns() {
        LoggerModel model;
        model.setClock({2003, 6, 14, 23, 59, 59}, 3);
        QCOMPARE(model.weekday(), 3);
        QTRY_COMPARE_WITH_TIMEOUT(model.clock(), (sim::DateTime{2003, 6, 15, 0, 0, 0}), 2500);
        QCOMPARE(model.weekday(), 4);
    }
};

QTEST_GUILESS_MAIN(TestCalendar)
#include "test_calendar.moc"
