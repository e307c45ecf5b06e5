// The logger's calendar: month lengths without the century rule, comparisons,
// carry and borrow across days, months and years, validity, and display texts.
// Invalid records never reach the platform calendar: they give the default text.
//
// The short date format comes from the system locale, so main() fixes it to
// en_GB (LC_ALL) before the application object reads it: 31/12/2003.

#include "DateTime.h"
#include "LoggerDateTimeTesting.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QTest>
#include <QTimeZone>

namespace {

QDateTime ToQDateTime(const LoggerDateTime& value) {
    return QDateTime(QDate(value.year, value.month, value.day),
                     QTime(value.hour, value.minute, value.second), QTimeZone::utc());
}

LoggerDateTime FromQDateTime(const QDateTime& value) {
    const QDate date = value.date();
    const QTime time = value.time();
    return {qint16(date.year()), qint16(date.month()),  qint16(date.day()),
            qint16(time.hour()), qint16(time.minute()), qint16(time.second())};
}

} // namespace

class TestDateTime : public QObject {
    Q_OBJECT

private slots:
    void daysInMonth_data();
    void daysInMonth();
    void compareDates_data();
    void compareDates();
    void unsetRecord();
    void validity_data();
    void validity();
    void clamp_data();
    void clamp();
    void addOneDay_data();
    void addOneDay();
    void addMinutes_data();
    void addMinutes();
    void subtractSeconds_data();
    void subtractSeconds();
    void carryMatchesTheCalendar_data();
    void carryMatchesTheCalendar();
    void carryOnInvalidRecordsEnds();
    void fromFields_data();
    void fromFields();
    void weekday_data();
    void weekday();
    void texts_data();
    void texts();
};

// Every year divisible by 4 is a leap year for the logger, 2100 included.
void TestDateTime::daysInMonth_data() {
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("expected");
    QTest::newRow("February 2000") << 2000 << 2 << 29;
    QTest::newRow("February 2100") << 2100 << 2 << 29;
    QTest::newRow("February 2003") << 2003 << 2 << 28;
    QTest::newRow("February 2004") << 2004 << 2 << 29;
    QTest::newRow("April") << 2003 << 4 << 30;
    QTest::newRow("June") << 2003 << 6 << 30;
    QTest::newRow("September") << 2003 << 9 << 30;
    QTest::newRow("November") << 2003 << 11 << 30;
    QTest::newRow("January") << 2003 << 1 << 31;
    QTest::newRow("July") << 2003 << 7 << 31;
    QTest::newRow("August") << 2003 << 8 << 31;
    QTest::newRow("December") << 2003 << 12 << 31;
}

void TestDateTime::daysInMonth() {
    QFETCH(int, year);
    QFETCH(int, month);
    QFETCH(int, expected);
    QCOMPARE(DaysInMonth(year, month), expected);
}

// CompareDates looks at the date only; IsBefore breaks a tie by the time.
void TestDateTime::compareDates_data() {
    QTest::addColumn<LoggerDateTime>("first");
    QTest::addColumn<LoggerDateTime>("second");
    QTest::addColumn<int>("dates");
    QTest::addColumn<bool>("before");
    QTest::newRow("later year") << LoggerDateTime{2004, 1, 1, 0, 0, 0}
                                << LoggerDateTime{2003, 12, 31, 23, 59, 59} << 1 << false;
    QTest::newRow("earlier month") << LoggerDateTime{2004, 2, 28, 0, 0, 0}
                                   << LoggerDateTime{2004, 3, 1, 0, 0, 0} << -1 << true;
    QTest::newRow("month outweighs day") << LoggerDateTime{2004, 1, 31, 0, 0, 0}
                                         << LoggerDateTime{2004, 2, 1, 0, 0, 0} << -1 << true;
    QTest::newRow("same day, earlier hour") << LoggerDateTime{2004, 3, 1, 8, 59, 59}
                                            << LoggerDateTime{2004, 3, 1, 9, 0, 0} << 0 << true;
    QTest::newRow("same day, later second")
        << LoggerDateTime{2004, 3, 1, 9, 0, 1} << LoggerDateTime{2004, 3, 1, 9, 0, 0} << 0 << false;
    QTest::newRow("identical") << LoggerDateTime{2004, 3, 1, 9, 0, 0}
                               << LoggerDateTime{2004, 3, 1, 9, 0, 0} << 0 << false;
    QTest::newRow("out-of-range months compare by field")
        << LoggerDateTime{2004, 200, 1, 0, 0, 0} << LoggerDateTime{2004, 12, 31, 0, 0, 0} << 1
        << false;
}

void TestDateTime::compareDates() {
    QFETCH(LoggerDateTime, first);
    QFETCH(LoggerDateTime, second);
    QFETCH(int, dates);
    QFETCH(bool, before);
    QCOMPARE(CompareDates(first, second), dates);
    QCOMPARE(CompareDates(second, first), -dates);
    QCOMPARE(IsBefore(first, second), before);
}

void TestDateTime::unsetRecord() {
    QCOMPARE(UnsetDateTime(), (LoggerDateTime{2251, 255, 255, 255, 255, 255}));
    QVERIFY(IsUnset(UnsetDateTime()));
    LoggerDateTime almost = UnsetDateTime();
    almost.second = 254;
    QVERIFY(!IsUnset(almost));
    QVERIFY(!IsUnset(LoggerDateTime{}));

    const qint16 saved = BaseYear;
    BaseYear = 2000;
    const LoggerDateTime moved = UnsetDateTime();
    const bool oldStillUnset = IsUnset(LoggerDateTime{2251, 255, 255, 255, 255, 255});
    BaseYear = saved;
    QCOMPARE(moved.year, 2255);
    QVERIFY(!oldStillUnset);
}

void TestDateTime::validity_data() {
    QTest::addColumn<LoggerDateTime>("value");
    QTest::addColumn<bool>("valid");
    QTest::newRow("ordinary") << LoggerDateTime{2003, 12, 31, 23, 59, 59} << true;
    QTest::newRow("first moment") << LoggerDateTime{1996, 1, 1, 0, 0, 0} << true;
    QTest::newRow("last wire year") << LoggerDateTime{2250, 12, 31, 0, 0, 0} << true;
    QTest::newRow("leap day 2004") << LoggerDateTime{2004, 2, 29, 12, 0, 0} << true;
    QTest::newRow("leap day 2000") << LoggerDateTime{2000, 2, 29, 12, 0, 0} << true;
    QTest::newRow("failed read, all zero") << LoggerDateTime{} << false;
    QTest::newRow("unset") << UnsetDateTime() << false;
    QTest::newRow("unset year") << LoggerDateTime{2251, 1, 1, 0, 0, 0} << false;
    QTest::newRow("before the base year") << LoggerDateTime{1995, 6, 1, 0, 0, 0} << false;
    QTest::newRow("month 0") << LoggerDateTime{2003, 0, 1, 0, 0, 0} << false;
    QTest::newRow("month 13") << LoggerDateTime{2003, 13, 1, 0, 0, 0} << false;
    QTest::newRow("day 0") << LoggerDateTime{2003, 1, 0, 0, 0, 0} << false;
    QTest::newRow("31 April") << LoggerDateTime{2003, 4, 31, 0, 0, 0} << false;
    QTest::newRow("29 February 2003") << LoggerDateTime{2003, 2, 29, 0, 0, 0} << false;
    QTest::newRow("29 February 2100, no real date")
        << LoggerDateTime{2100, 2, 29, 0, 0, 0} << false;
    QTest::newRow("hour 24") << LoggerDateTime{2003, 1, 1, 24, 0, 0} << false;
    QTest::newRow("minute 60") << LoggerDateTime{2003, 1, 1, 0, 60, 0} << false;
    QTest::newRow("second 60") << LoggerDateTime{2003, 1, 1, 0, 0, 60} << false;
    QTest::newRow("negative hour") << LoggerDateTime{2003, 1, 1, -1, 0, 0} << false;
    QTest::newRow("clock bytes of 255") << LoggerDateTime{2003, 1, 1, 255, 255, 255} << false;
}

void TestDateTime::validity() {
    QFETCH(LoggerDateTime, value);
    QFETCH(bool, valid);
    QCOMPARE(IsValidDateTime(value), valid);
}

void TestDateTime::clamp_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("expected");
    QTest::newRow("inside") << 30 << 30;
    QTest::newRow("lower bound") << 1 << 1;
    QTest::newRow("below") << -5 << 1;
    QTest::newRow("upper bound") << 59 << 59;
    QTest::newRow("above") << 255 << 59;
}

void TestDateTime::clamp() {
    QFETCH(int, value);
    QFETCH(int, expected);
    QCOMPARE(Clamp(qint16(value), 1, 59), expected);
}

void TestDateTime::addOneDay_data() {
    QTest::addColumn<LoggerDateTime>("value");
    QTest::addColumn<LoggerDateTime>("expected");
    QTest::newRow("new year") << LoggerDateTime{2003, 12, 31, 10, 0, 0}
                              << LoggerDateTime{2004, 1, 1, 10, 0, 0};
    QTest::newRow("within January")
        << LoggerDateTime{2003, 1, 30, 0, 0, 0} << LoggerDateTime{2003, 1, 31, 0, 0, 0};
    QTest::newRow("end of February 2003")
        << LoggerDateTime{2003, 2, 28, 0, 0, 0} << LoggerDateTime{2003, 3, 1, 0, 0, 0};
    QTest::newRow("leap day") << LoggerDateTime{2004, 2, 28, 0, 0, 0}
                              << LoggerDateTime{2004, 2, 29, 0, 0, 0};
    QTest::newRow("2100 is a leap year here")
        << LoggerDateTime{2100, 2, 28, 0, 0, 0} << LoggerDateTime{2100, 2, 29, 0, 0, 0};
    QTest::newRow("end of April") << LoggerDateTime{2003, 4, 30, 0, 0, 0}
                                  << LoggerDateTime{2003, 5, 1, 0, 0, 0};
}

void TestDateTime::addOneDay() {
    QFETCH(LoggerDateTime, value);
    QFETCH(LoggerDateTime, expected);
    AddOneDay(value);
    QCOMPARE(value, expected);
}

void TestDateTime::addMinutes_data() {
    QTest::addColumn<LoggerDateTime>("value");
    QTest::addColumn<int>("minutes");
    QTest::addColumn<LoggerDateTime>("expected");
    QTest::newRow("within the day")
        << LoggerDateTime{2004, 1, 31, 22, 30, 0} << 60 << LoggerDateTime{2004, 1, 31, 23, 30, 0};
    QTest::newRow("into February")
        << LoggerDateTime{2004, 1, 31, 23, 30, 0} << 60 << LoggerDateTime{2004, 2, 1, 0, 30, 0};
    QTest::newRow("into the new year")
        << LoggerDateTime{2003, 12, 31, 23, 59, 30} << 1 << LoggerDateTime{2004, 1, 1, 0, 0, 30};
    QTest::newRow("a whole leap year")
        << LoggerDateTime{2004, 1, 1, 0, 0, 0} << 366 * 1440 << LoggerDateTime{2005, 1, 1, 0, 0, 0};
    QTest::newRow("backwards") << LoggerDateTime{2004, 1, 1, 0, 30, 0} << -60
                               << LoggerDateTime{2003, 12, 31, 23, 30, 0};
}

void TestDateTime::addMinutes() {
    QFETCH(LoggerDateTime, value);
    QFETCH(int, minutes);
    QFETCH(LoggerDateTime, expected);
    const LoggerDateTime original = value;
    QCOMPARE(AddMinutes(value, minutes), expected);
    QCOMPARE(value, original);
}

void TestDateTime::subtractSeconds_data() {
    QTest::addColumn<LoggerDateTime>("value");
    QTest::addColumn<int>("seconds");
    QTest::addColumn<LoggerDateTime>("expected");
    QTest::newRow("into the leap day")
        << LoggerDateTime{2004, 3, 1, 0, 0, 0} << 1 << LoggerDateTime{2004, 2, 29, 23, 59, 59};
    QTest::newRow("into the old year")
        << LoggerDateTime{1997, 1, 1, 0, 0, 0} << 1 << LoggerDateTime{1996, 12, 31, 23, 59, 59};
    QTest::newRow("660 seconds") << LoggerDateTime{2004, 5, 1, 0, 5, 0} << 660
                                 << LoggerDateTime{2004, 4, 30, 23, 54, 0};
    QTest::newRow("more than a month") << LoggerDateTime{2003, 3, 1, 12, 0, 0} << 40 * 86400
                                       << LoggerDateTime{2003, 1, 20, 12, 0, 0};
}

void TestDateTime::subtractSeconds() {
    QFETCH(LoggerDateTime, value);
    QFETCH(int, seconds);
    QFETCH(LoggerDateTime, expected);
    LoggerDateTime moved = value;
    SubtractSeconds(moved, seconds);
    QCOMPARE(moved, expected);
    AddSeconds(moved, seconds);
    QCOMPARE(moved, value);
}

// Between 1901 and 2099 the logger's calendar is the real one, so the carry
// must agree with QDateTime for any distance.
void TestDateTime::carryMatchesTheCalendar_data() {
    QTest::addColumn<LoggerDateTime>("value");
    QTest::addColumn<int>("seconds");
    const LoggerDateTime starts[] = {{2003, 12, 31, 23, 59, 59},
                                     {2004, 2, 28, 23, 0, 0},
                                     {1996, 1, 1, 0, 0, 0},
                                     {2010, 7, 31, 12, 34, 56}};
    const int distances[] = {
        1,       59, 60,     3599,           86399, 86400, 30 * 86400 + 7, 400 * 86400 + 3601,
        INT_MAX, -1, -86401, -3 * 86400 * 31};
    for (const LoggerDateTime& start : starts)
        for (const int seconds : distances)
            QTest::addRow("%s %+d", qPrintable(ToQDateTime(start).toString(Qt::ISODate)), seconds)
                << start << seconds;
}

void TestDateTime::carryMatchesTheCalendar() {
    QFETCH(LoggerDateTime, value);
    QFETCH(int, seconds);
    const LoggerDateTime expected = FromQDateTime(ToQDateTime(value).addSecs(seconds));
    LoggerDateTime moved = value;
    AddSeconds(moved, seconds);
    QCOMPARE(moved, expected);
    if (seconds % 60 == 0)
        QCOMPARE(AddMinutes(value, seconds / 60), expected);
    SubtractSeconds(moved, seconds);
    QCOMPARE(moved, value);
}

// The zero record of a failed read and bytes of 255 must not hang the carry.
void TestDateTime::carryOnInvalidRecordsEnds() {
    LoggerDateTime zero;
    AddSeconds(zero, 0);
    QCOMPARE(zero, (LoggerDateTime{-1, 12, 31, 0, 0, 0}));

    LoggerDateTime clock = UnsetDateTime();
    AddSeconds(clock, INT_MAX);
    QVERIFY(clock.month >= 1 && clock.month <= 12);
    QVERIFY(clock.day >= 1 && clock.day <= DaysInMonth(clock.year, clock.month));
    QVERIFY(clock.hour < 24 && clock.minute < 60 && clock.second < 60);

    LoggerDateTime far = {2000, 200, 1, 0, 0, 0};
    SubtractSeconds(far, INT_MAX);
    QVERIFY(far.month >= 1 && far.month <= 200);
    QVERIFY(far.hour >= 0 && far.hour < 24);
}

void TestDateTime::fromFields_data() {
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<LoggerDateTime>("expected");
    QTest::newRow("plain") << QStringList{"2004", "2", "29", "13", "05", "09"}
                           << LoggerDateTime{2004, 2, 29, 13, 5, 9};
    QTest::newRow("blanks from masks")
        << QStringList{"2004", " 2", "9 ", " 0", "00", "0"} << LoggerDateTime{2004, 2, 9, 0, 0, 0};
    QTest::newRow("empty and text read as 0")
        << QStringList{"", "x", "12", "1", "2", "3"} << LoggerDateTime{0, 0, 12, 1, 2, 3};
    QTest::newRow("too large reads as 0")
        << QStringList{"70000", "1", "1", "0", "0", "0"} << LoggerDateTime{0, 1, 1, 0, 0, 0};
}

void TestDateTime::fromFields() {
    QFETCH(QStringList, fields);
    QFETCH(LoggerDateTime, expected);
    QCOMPARE(DateTimeFromFields(fields[0], fields[1], fields[2], fields[3], fields[4], fields[5]),
             expected);
}

void TestDateTime::weekday_data() {
    QTest::addColumn<LoggerDateTime>("value");
    QTest::addColumn<int>("expected");
    QTest::newRow("Wednesday") << LoggerDateTime{2003, 12, 31, 0, 0, 0} << 3;
    QTest::newRow("Sunday") << LoggerDateTime{2004, 2, 29, 0, 0, 0} << 0;
    QTest::newRow("Saturday") << LoggerDateTime{2004, 2, 28, 23, 59, 59} << 6;
    QTest::newRow("Monday") << LoggerDateTime{1996, 1, 1, 0, 0, 0} << 1;
    QTest::newRow("failed read") << LoggerDateTime{} << -1;
    QTest::newRow("unset") << UnsetDateTime() << -1;
    QTest::newRow("29 February 2100") << LoggerDateTime{2100, 2, 29, 0, 0, 0} << -1;
    QTest::newRow("valid date, invalid time") << LoggerDateTime{2004, 2, 29, 255, 0, 0} << -1;
}

void TestDateTime::weekday() {
    QFETCH(LoggerDateTime, value);
    QFETCH(int, expected);
    QCOMPARE(Weekday(value), expected);
}

void TestDateTime::texts_data() {
    QTest::addColumn<LoggerDateTime>("value");
    QTest::addColumn<QString>("hourMinute");
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("shortDate");
    QTest::addColumn<QString>("dateTime");
    QTest::newRow("ordinary") << LoggerDateTime{2003, 12, 31, 7, 5, 9} << "07:05"
                              << "07:05:09"
                              << "31/12/2003"
                              << "07:05:09 , 31/12/2003";
    QTest::newRow("last second") << LoggerDateTime{2004, 2, 29, 23, 59, 59} << "23:59"
                                 << "23:59:59"
                                 << "29/02/2004"
                                 << "23:59:59 , 29/02/2004";
    QTest::newRow("unset") << UnsetDateTime() << "255:255"
                           << "255:255:255"
                           << ""
                           << "Not set";
    QTest::newRow("failed read, all zero") << LoggerDateTime{} << "00:00"
                                           << "00:00:00"
                                           << ""
                                           << "Not set";
    QTest::newRow("clock bytes of 255 on a real date")
        << LoggerDateTime{2004, 1, 1, 255, 255, 255} << "255:255"
        << "255:255:255"
        << ""
        << "Not set";
    QTest::newRow("month 13") << LoggerDateTime{2004, 13, 1, 1, 2, 3} << "01:02"
                              << "01:02:03"
                              << ""
                              << "Not set";
    QTest::newRow("no real 29 February 2100") << LoggerDateTime{2100, 2, 29, 1, 2, 3} << "01:02"
                                              << "01:02:03"
                                              << ""
                                              << "Not set";
}

void TestDateTime::texts() {
    QFETCH(LoggerDateTime, value);
    QFETCH(QString, hourMinute);
    QFETCH(QString, time);
    QFETCH(QString, shortDate);
    QFETCH(QString, dateTime);
    QCOMPARE(HourMinuteText(value), hourMinute);
    QCOMPARE(TimeText(value), time);
    QCOMPARE(ShortDateText(value), shortDate);
    QCOMPARE(DateTimeText(value, "Not set"), dateTime);
}

int main(int argc, char** argv) {
    qputenv("LC_ALL", "en_GB.UTF-8");
    QCoreApplication application(argc, argv);
    TestDateTime test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_datetime.moc"
