// The logging timers. Validity: equal openings and closings, wrapping windows,
// impossible one-shot dates. Compatibility of the two kinds. Open windows at
// their edges and across the hour, midnight and the weekend. Next openings and
// closings at their edges, across the year and from a clock that is not a real
// date. The data check, including a sub window already open when the master
// opens. The timers' bytes.

#include "LoggerDateTimeTesting.h"
#include "Timers.h"

#include <QTest>

Q_DECLARE_METATYPE(TimerSpec)

namespace {

LoggerDateTime At(int year, int month, int day, int hour, int minute, int second = 0) {
    return {qint16(year), qint16(month), qint16(day), qint16(hour), qint16(minute), qint16(second)};
}

// March 2004: the 1st is a Monday, the 5th a Friday, the 7th a Sunday.
const TimerSpec Weekend = WeeklyTimer(5, 17, 0, 1, 9, 0);
const TimerSpec Overnight = DailyTimer(17, 0, 9, 0);
const TimerSpec AcrossTheHour = HourlyTimer(45, 15);
const TimerSpec FirstOfMarch = OneShotTimer(At(2004, 3, 1, 8, 0), At(2004, 3, 2, 8, 0));

} // namespace

class TestTimers : public QObject {
    Q_OBJECT

private slots:
    void validity_data() {
        QTest::addColumn<TimerSpec>("timer");
        QTest::addColumn<bool>("valid");
        QTest::newRow("no timer") << NoTimer() << true;
        QTest::newRow("hourly 30 to 30") << HourlyTimer(30, 30) << false;
        QTest::newRow("hourly 45 to 15") << AcrossTheHour << true;
        QTest::newRow("daily 09:00 to 09:00") << DailyTimer(9, 0, 9, 0) << false;
        QTest::newRow("daily 17:00 to 09:00") << Overnight << true;
        QTest::newRow("weekly the same on both") << WeeklyTimer(1, 9, 0, 1, 9, 0) << false;
        QTest::newRow("weekly only the day differs") << WeeklyTimer(1, 9, 0, 5, 9, 0) << true;
        QTest::newRow("weekday 7") << WeeklyTimer(7, 9, 0, 1, 9, 0) << false;
        QTest::newRow("one shot forward") << FirstOfMarch << true;
        QTest::newRow("one shot backward")
            << OneShotTimer(At(2004, 3, 2, 8, 0), At(2004, 3, 1, 8, 0)) << false;
        QTest::newRow("one shot ending 31 February")
            << OneShotTimer(At(2004, 2, 1, 8, 0), At(2004, 2, 31, 8, 0)) << false;
    }
    void validity() {
        QFETCH(TimerSpec, timer);
        QFETCH(bool, valid);
        QCOMPARE(TimerIsValid(timer), valid);
    }

    // A sub timer repeats more often than its master, and needs one.
    void compatibility_data() {
        QTest::addColumn<int>("master");
        QTest::addColumn<int>("sub");
        QTest::addColumn<bool>("compatible");
        QTest::newRow("none, none") << 0 << 0 << true;
        QTest::newRow("none, hourly") << 0 << 1 << false;
        QTest::newRow("hourly, none") << 1 << 0 << true;
        QTest::newRow("hourly, daily") << 1 << 2 << false;
        QTest::newRow("daily, hourly") << 2 << 1 << true;
        QTest::newRow("daily, daily") << 2 << 2 << false;
        QTest::newRow("weekly, daily") << 3 << 2 << true;
        QTest::newRow("one shot, weekly") << 4 << 3 << true;
    }
    void compatibility() {
        QFETCH(int, master);
        QFETCH(int, sub);
        QFETCH(bool, compatible);
        QCOMPARE(TimersAreCompatible(TimerKind(master), TimerKind(sub)), compatible);
    }

    void windowOpen_data() {
        QTest::addColumn<TimerSpec>("timer");
        QTest::addColumn<LoggerDateTime>("time");
        QTest::addColumn<bool>("open");
        QTest::newRow("no timer, unset clock") << NoTimer() << UnsetDateTime() << true;
        QTest::newRow("hourly at :44:59") << AcrossTheHour << At(2004, 3, 3, 10, 44, 59) << false;
        QTest::newRow("hourly at :45") << AcrossTheHour << At(2004, 3, 3, 10, 45) << true;
        QTest::newRow("hourly at :00") << AcrossTheHour << At(2004, 3, 3, 11, 0) << true;
        QTest::newRow("hourly at :14:59") << AcrossTheHour << At(2004, 3, 3, 11, 14, 59) << true;
        QTest::newRow("hourly at :15") << AcrossTheHour << At(2004, 3, 3, 11, 15) << false;
        QTest::newRow("daily at 23:00") << Overnight << At(2004, 3, 3, 23, 0) << true;
        QTest::newRow("daily at 08:59:59") << Overnight << At(2004, 3, 3, 8, 59, 59) << true;
        QTest::newRow("daily at 09:00") << Overnight << At(2004, 3, 3, 9, 0) << false;
        QTest::newRow("weekly Friday 16:59") << Weekend << At(2004, 3, 5, 16, 59) << false;
        QTest::newRow("weekly Friday 17:00") << Weekend << At(2004, 3, 5, 17, 0) << true;
        QTest::newRow("weekly Monday 08:59") << Weekend << At(2004, 3, 8, 8, 59) << true;
        QTest::newRow("weekly Monday 09:00") << Weekend << At(2004, 3, 8, 9, 0) << false;
        QTest::newRow("weekly Wednesday") << Weekend << At(2004, 3, 3, 12, 0) << false;
        QTest::newRow("one shot at its start") << FirstOfMarch << At(2004, 3, 1, 8, 0) << true;
        QTest::newRow("one shot at its end") << FirstOfMarch << At(2004, 3, 2, 8, 0) << false;
        QTest::newRow("weekly, clock on 31 February") << Weekend << At(2004, 2, 31, 12, 0) << false;
    }
    void windowOpen() {
        QFETCH(TimerSpec, timer);
        QFETCH(LoggerDateTime, time);
        QFETCH(bool, open);
        QCOMPARE(WindowOpenAt(timer, time), open);
    }

    void nextOpening_data() {
        QTest::addColumn<TimerSpec>("timer");
        QTest::addColumn<LoggerDateTime>("from");
        QTest::addColumn<bool>("found");
        QTest::addColumn<LoggerDateTime>("opening");
        QTest::newRow("hourly, before the minute")
            << AcrossTheHour << At(2004, 3, 3, 10, 20, 30) << true << At(2004, 3, 3, 10, 45);
        QTest::newRow("hourly, at the minute: the next hour")
            << AcrossTheHour << At(2004, 3, 3, 10, 45) << true << At(2004, 3, 3, 11, 45);
        QTest::newRow("daily, at the start: now")
            << Overnight << At(2004, 3, 3, 17, 0) << true << At(2004, 3, 3, 17, 0);
        QTest::newRow("daily, across the year")
            << Overnight << At(2003, 12, 31, 17, 0, 1) << true << At(2004, 1, 1, 17, 0);
        QTest::newRow("weekly from Saturday: next week")
            << Weekend << At(2004, 3, 6, 12, 0) << true << At(2004, 3, 12, 17, 0);
        QTest::newRow("weekly, Friday after the start: next week")
            << Weekend << At(2004, 3, 5, 17, 0, 1) << true << At(2004, 3, 12, 17, 0);
        QTest::newRow("one shot to come")
            << FirstOfMarch << At(2004, 2, 29, 12, 0) << true << At(2004, 3, 1, 8, 0);
        QTest::newRow("one shot begun")
            << FirstOfMarch << At(2004, 3, 1, 8, 0) << false << LoggerDateTime{};
        QTest::newRow("unset clock") << Weekend << UnsetDateTime() << false << LoggerDateTime{};
    }
    void nextOpening() {
        QFETCH(TimerSpec, timer);
        QFETCH(LoggerDateTime, from);
        QFETCH(bool, found);
        QFETCH(LoggerDateTime, opening);
        const auto next = NextOpening(timer, from);
        QCOMPARE(next.has_value(), found);
        if (found)
            QCOMPARE(*next, opening);
    }

    void closingAfter_data() {
        QTest::addColumn<TimerSpec>("timer");
        QTest::addColumn<LoggerDateTime>("from");
        QTest::addColumn<bool>("found");
        QTest::addColumn<LoggerDateTime>("closing");
        QTest::newRow("no timer never closes")
            << NoTimer() << At(2004, 3, 3, 10, 20) << false << LoggerDateTime{};
        QTest::newRow("hourly, open past the hour")
            << AcrossTheHour << At(2004, 3, 3, 10, 50) << true << At(2004, 3, 3, 11, 15);
        QTest::newRow("daily, overnight")
            << Overnight << At(2004, 3, 3, 23, 0) << true << At(2004, 3, 4, 9, 0);
        QTest::newRow("daily, at the end: tomorrow")
            << Overnight << At(2004, 3, 3, 9, 0) << true << At(2004, 3, 4, 9, 0);
        QTest::newRow("weekly from Friday evening")
            << Weekend << At(2004, 3, 5, 17, 0) << true << At(2004, 3, 8, 9, 0);
        QTest::newRow("weekly, Monday at the end: next week")
            << Weekend << At(2004, 3, 8, 9, 0) << true << At(2004, 3, 15, 9, 0);
        QTest::newRow("one shot") << FirstOfMarch << At(2004, 2, 1, 0, 0) << true
                                  << At(2004, 3, 2, 8, 0);
    }
    void closingAfter() {
        QFETCH(TimerSpec, timer);
        QFETCH(LoggerDateTime, from);
        QFETCH(bool, found);
        QFETCH(LoggerDateTime, closing);
        const auto next = ClosingAfter(timer, from);
        QCOMPARE(next.has_value(), found);
        if (found)
            QCOMPARE(*next, closing);
    }

    void willRecord_data() {
        QTest::addColumn<TimerSpec>("master");
        QTest::addColumn<TimerSpec>("sub");
        QTest::addColumn<LoggerDateTime>("clock");
        QTest::addColumn<bool>("records");
        QTest::newRow("no timers") << NoTimer() << NoTimer() << At(2004, 3, 3, 10, 0) << true;
        QTest::newRow("no timers, clock not read")
            << NoTimer() << NoTimer() << UnsetDateTime() << true;
        QTest::newRow("both open now")
            << DailyTimer(9, 0, 17, 0) << HourlyTimer(0, 30) << At(2004, 3, 3, 10, 10) << true;
        QTest::newRow("sub opens before the master closes")
            << DailyTimer(9, 0, 17, 0) << HourlyTimer(40, 50) << At(2004, 3, 3, 10, 10) << true;
        QTest::newRow("sub opens after the master closes")
            << WeeklyTimer(1, 9, 0, 1, 10, 0) << HourlyTimer(30, 45) << At(2004, 3, 1, 9, 50)
            << false;
        QTest::newRow("sub already open as the one shot opens")
            << OneShotTimer(At(2004, 3, 1, 9, 0), At(2004, 3, 1, 12, 0)) << DailyTimer(8, 0, 18, 0)
            << At(2004, 2, 28, 10, 0) << true;
        QTest::newRow("sub already open as the day opens")
            << DailyTimer(9, 0, 9, 50) << HourlyTimer(0, 30) << At(2004, 3, 3, 8, 45) << true;
        QTest::newRow("sub opens after the day closes")
            << DailyTimer(9, 0, 9, 20) << HourlyTimer(30, 45) << At(2004, 3, 3, 8, 0) << false;
        QTest::newRow("weekend nights from Wednesday")
            << Weekend << DailyTimer(22, 0, 6, 0) << At(2004, 3, 3, 12, 0) << true;
        QTest::newRow("one shot in the past")
            << FirstOfMarch << NoTimer() << At(2004, 3, 3, 0, 0) << false;
        QTest::newRow("a timer, clock not read")
            << Overnight << NoTimer() << UnsetDateTime() << false;
        QTest::newRow("invalid master")
            << HourlyTimer(30, 30) << NoTimer() << At(2004, 3, 3, 10, 0) << false;
    }
    void willRecord() {
        QFETCH(TimerSpec, master);
        QFETCH(TimerSpec, sub);
        QFETCH(LoggerDateTime, clock);
        QFETCH(bool, records);
        QCOMPARE(WillRecord(master, sub, clock), records);
    }

    void encode_data() {
        QTest::addColumn<TimerSpec>("timer");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("no timer") << NoTimer()
                                  << QByteArray::fromHex("00"
                                                         "000101000000"
                                                         "000101000000"
                                                         "0000");
        QTest::newRow("weekly Monday 09:30 to Friday 17:00") << WeeklyTimer(1, 9, 30, 5, 17, 0)
                                                             << QByteArray::fromHex("03"
                                                                                    "000101091E00"
                                                                                    "000101110000"
                                                                                    "0105");
        QTest::newRow("one shot, seconds dropped")
            << OneShotTimer(At(2004, 3, 1, 8, 0, 30), At(2004, 3, 2, 8, 0, 59))
            << QByteArray::fromHex("04"
                                   "080301080000"
                                   "080302080000"
                                   "0000");
    }
    void encode() {
        QFETCH(TimerSpec, timer);
        QFETCH(QByteArray, bytes);
        QCOMPARE(EncodeTimer(timer), bytes);
    }

    // The day kept after the month or year of a one shot changed.
    void clampDay_data() {
        QTest::addColumn<int>("day");
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("clamped");
        QTest::newRow("31 February 2004") << 31 << 2 << 2004 << 29;
        QTest::newRow("31 April") << 31 << 4 << 2004 << 30;
        QTest::newRow("15 April") << 15 << 4 << 2004 << 15;
    }
    void clampDay() {
        QFETCH(int, day);
        QFETCH(int, month);
        QFETCH(int, year);
        QFETCH(int, clamped);
        QCOMPARE(int(ClampOneShotDay(day, month, year)), clamped);
    }
};

QTEST_GUILESS_MAIN(TestTimers)
#include "test_timers.moc"
