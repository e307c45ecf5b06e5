// The pieces the reader is built from: field reading, numbers, times of day,
// and short dates in several regional formats.

#include "DateSerial.h"
#include "FieldConversions.h"
#include "FieldReader.h"
#include "ShortDateParser.h"

#include <QTest>

#include <algorithm>
#include <cstdlib>

class ConversionsTest : public QObject {
    Q_OBJECT
private slots:
    // Fields: quotes, commas inside quotes, blanks, empty fields, the three
    // kinds of line end, a missing closing quote, the end of the data.
    void fieldsSplitAsDelimitedInput();
    void readLineTakesTheRestOfTheLine();
    void lastFieldEndedLineFollowsLineEnds();
    void lineNumbersCountEveryKindOfLineEnd();

    // Numbers: the host's plain format and nothing else.
    void numbers_data();
    void numbers();

    // Times of day: h:mm, h:mm:ss, fractions, AM/PM, out-of-range parts.
    void times_data();
    void times();

    // Dates: each locale's short format, invalid days, two-digit years.
    void dates_data();
    void dates();
    void twoDigitYearsLieNearTheReference_data();
    void twoDigitYearsLieNearTheReference();
    void aCenturyLater_data();
    void aCenturyLater();
    void everyLoggerYearReadsBackNearItself();
    void repeatedDatesGiveTheSameAnswer();
    void serialsRoundTrip();
};

void ConversionsTest::fieldsSplitAsDelimitedInput() {
    const QByteArray data = "\"a,b\",  12 ,,\"x\" junk,last\r\n\"q\"\rnext\nend";
    FieldReader reader(data);
    QCOMPARE(reader.readField(), QByteArrayView("a,b"));
    QCOMPARE(reader.readField(), QByteArrayView("12"));
    QCOMPARE(reader.readField(), QByteArrayView(""));
    QCOMPARE(reader.readField(), QByteArrayView("x"));
    QCOMPARE(reader.readField(), QByteArrayView("last"));
    QCOMPARE(reader.readField(), QByteArrayView("q"));
    QCOMPARE(reader.readField(), QByteArrayView("next"));
    QVERIFY(!reader.atEnd());
    QCOMPARE(reader.readField(), QByteArrayView("end"));
    QVERIFY(reader.atEnd());
    QCOMPARE(reader.readField(), QByteArrayView(""));

    FieldReader unterminated("\"open quote,still\r\nnext");
    QCOMPARE(unterminated.readField(), QByteArrayView("open quote,still"));
    QCOMPARE(unterminated.readField(), QByteArrayView("next"));
}

void ConversionsTest::readLineTakesTheRestOfTheLine() {
    FieldReader reader("\"Name\",\"\",\"\",\"\",94\r\n\r\nlast");
    QCOMPARE(reader.readField(), QByteArrayView("Name"));
    QCOMPARE(reader.readLine(), QByteArrayView("\"\",\"\",\"\",94"));
    QCOMPARE(reader.readLine(), QByteArrayView(""));
    QCOMPARE(reader.readLine(), QByteArrayView("last"));
    QVERIFY(reader.atEnd());
    QCOMPARE(reader.readLine(), QByteArrayView(""));
}

void ConversionsTest::lastFieldEndedLineFollowsLineEnds() {
    FieldReader reader("a,b\r\nc");
    reader.readField();
    QVERIFY(!reader.lastFieldEndedLine());
    reader.readField();
    QVERIFY(reader.lastFieldEndedLine());
    reader.readField();
    QVERIFY(reader.lastFieldEndedLine());
}

void ConversionsTest::lineNumbersCountEveryKindOfLineEnd() {
    const QByteArray data = "one\r\ntwo\rthree\nfour";
    FieldReader reader(data);
    QCOMPARE(reader.lineAt(0), 1);
    QCOMPARE(reader.lineAt(data.indexOf("two")), 2);
    QCOMPARE(reader.lineAt(data.indexOf("three")), 3);
    QCOMPARE(reader.lineAt(data.indexOf("four")), 4);
}

void ConversionsTest::numbers_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<double>("value");
    QTest::newRow("decimal") << QByteArray("45.3") << true << 45.3;
    QTest::newRow("whole") << QByteArray("50") << true << 50.0;
    QTest::newRow("no leading zero") << QByteArray(".5") << true << 0.5;
    QTest::newRow("negative fraction") << QByteArray("-.1") << true << -0.1;
    QTest::newRow("plus sign") << QByteArray("+12") << true << 12.0;
    QTest::newRow("exponent") << QByteArray("1.5e2") << true << 150.0;
    QTest::newRow("blanks") << QByteArray("  7 ") << true << 7.0;
    QTest::newRow("trailing point") << QByteArray("3.") << true << 3.0;
    QTest::newRow("empty") << QByteArray("") << false << 0.0;
    QTest::newRow("sign only") << QByteArray("-") << false << 0.0;
    QTest::newRow("point only") << QByteArray(".") << false << 0.0;
    QTest::newRow("text") << QByteArray("abc") << false << 0.0;
    QTest::newRow("comma decimal") << QByteArray("45,3") << false << 0.0;
    QTest::newRow("date") << QByteArray("31/12/2003") << false << 0.0;
    QTest::newRow("time") << QByteArray("14:05") << false << 0.0;
    QTest::newRow("infinity") << QByteArray("inf") << false << 0.0;
    QTest::newRow("nan") << QByteArray("nan") << false << 0.0;
    QTest::newRow("bare exponent") << QByteArray("1e") << false << 0.0;
    QTest::newRow("hex") << QByteArray("0x10") << false << 0.0;
}

void ConversionsTest::numbers() {
    QFETCH(QByteArray, text);
    QFETCH(bool, valid);
    QFETCH(double, value);
    const auto parsed = parseNumber(text);
    QCOMPARE(parsed.has_value(), valid);
    if (valid)
        QCOMPARE(*parsed, value);
}

void ConversionsTest::times_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("msecs"); // -1: not a time
    QTest::newRow("hh:mm") << QByteArray("14:05") << "en_GB" << (14 * 60 + 5) * 60000;
    QTest::newRow("hh:mm:ss") << QByteArray("00:00:59") << "en_GB" << 59000;
    QTest::newRow("h:mm") << QByteArray("7:30") << "en_GB" << (7 * 60 + 30) * 60000;
    QTest::newRow("fraction") << QByteArray("00:00:01.5") << "en_GB" << 1500;
    QTest::newRow("pm") << QByteArray("2:05 PM") << "en_US" << (14 * 60 + 5) * 60000;
    QTest::newRow("noon") << QByteArray("12:00 PM") << "en_US" << 12 * 3600000;
    QTest::newRow("midnight") << QByteArray("12:00 AM") << "en_US" << 0;
    QTest::newRow("locale am text") << QByteArray("9:00 am") << "en_GB" << 9 * 3600000;
    QTest::newRow("hour 24") << QByteArray("24:00") << "en_GB" << -1;
    QTest::newRow("minute 60") << QByteArray("10:60") << "en_GB" << -1;
    QTest::newRow("one-digit minute") << QByteArray("10:5") << "en_GB" << -1;
    QTest::newRow("pm hour 13") << QByteArray("13:00 PM") << "en_US" << -1;
    QTest::newRow("junk suffix") << QByteArray("10:00 xx") << "en_GB" << -1;
    QTest::newRow("number") << QByteArray("45.3") << "en_GB" << -1;
    QTest::newRow("empty") << QByteArray("") << "en_GB" << -1;
}

void ConversionsTest::times() {
    QFETCH(QByteArray, text);
    QFETCH(QString, locale);
    QFETCH(int, msecs);
    const auto parsed = parseTimeOfDay(text, QLocale(locale));
    QCOMPARE(parsed.has_value(), msecs >= 0);
    if (parsed)
        QCOMPARE(qRound64(*parsed * 86400000.0), qint64(msecs));
}

void ConversionsTest::dates_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QDate>("date"); // invalid: not a date
    QTest::newRow("en_GB") << "en_GB" << QByteArray("31/12/2003") << QDate(2003, 12, 31);
    QTest::newRow("en_GB one digit") << "en_GB" << QByteArray("1/2/2004") << QDate(2004, 2, 1);
    QTest::newRow("en_GB leap day") << "en_GB" << QByteArray("29/02/2004") << QDate(2004, 2, 29);
    QTest::newRow("en_GB no leap day") << "en_GB" << QByteArray("29/02/2003") << QDate();
    QTest::newRow("en_GB month 13") << "en_GB" << QByteArray("01/13/2003") << QDate();
    QTest::newRow("en_GB time") << "en_GB" << QByteArray("14:05") << QDate();
    QTest::newRow("en_GB number") << "en_GB" << QByteArray("45.3") << QDate();
    QTest::newRow("en_GB trailing") << "en_GB" << QByteArray("31/12/2003x") << QDate();
    QTest::newRow("en_GB US order") << "en_GB" << QByteArray("12/31/2003") << QDate();
    QTest::newRow("en_US") << "en_US" << QByteArray("12/31/03") << QDate(2003, 12, 31);
    QTest::newRow("en_US 1990s") << "en_US" << QByteArray("6/1/97") << QDate(1997, 6, 1);
    QTest::newRow("en_US full year") << "en_US" << QByteArray("6/1/2097") << QDate(2097, 6, 1);
    QTest::newRow("en_US three digits") << "en_US" << QByteArray("6/1/203") << QDate();
    QTest::newRow("de_DE") << "de_DE" << QByteArray("31.12.03") << QDate(2003, 12, 31);
    QTest::newRow("de_DE slash") << "de_DE" << QByteArray("31/12/03") << QDate();
    QTest::newRow("nl_NL") << "nl_NL" << QByteArray("31-12-2003") << QDate(2003, 12, 31);
    QTest::newRow("ja_JP") << "ja_JP" << QByteArray("2003/12/31") << QDate(2003, 12, 31);
    QTest::newRow("C month name") << "C" << QByteArray("31 Dec 2003") << QDate(2003, 12, 31);
    QTest::newRow("C bad month name") << "C" << QByteArray("31 Dex 2003") << QDate();
    QTest::newRow("ISO under en_GB") << "en_GB" << QByteArray("2003-12-31") << QDate(2003, 12, 31);
    QTest::newRow("ISO under en_US") << "en_US" << QByteArray("2004-02-29") << QDate(2004, 2, 29);
    QTest::newRow("ISO invalid day") << "C" << QByteArray("2003-02-30") << QDate();
    QTest::newRow("ISO short") << "C" << QByteArray("2003-2-3") << QDate();
}

void ConversionsTest::dates() {
    QFETCH(QString, locale);
    QFETCH(QByteArray, text);
    QFETCH(QDate, date);
    ShortDateParser parser{QLocale(locale), 2026};
    const auto parsed = parser.parse(text);
    QCOMPARE(parsed.has_value(), date.isValid());
    if (parsed)
        QCOMPARE(*parsed, DateSerial::fromDate(date));
    // What the locale itself writes reads back as the same day (a two-digit
    // year within 49 years of the reference).
    if (date.isValid() && std::abs(date.year() - 2026) < 50) {
        const QByteArray written = QLocale(locale).toString(date, QLocale::ShortFormat).toUtf8();
        QCOMPARE(parser.parse(written), std::optional<double>(DateSerial::fromDate(date)));
    }
}

void ConversionsTest::twoDigitYearsLieNearTheReference_data() {
    QTest::addColumn<int>("reference");
    QTest::addColumn<QByteArrayList>("texts"); // read in turn by one parser
    QTest::addColumn<QList<int>>("years");
    QTest::newRow("today, 1990s") << 2026 << QByteArrayList{"6/1/97"} << QList<int>{1997};
    QTest::newRow("today, no 1980s logger") << 2026 << QByteArrayList{"6/1/80"} << QList<int>{2080};
    QTest::newRow("tie goes earlier") << 2050 << QByteArrayList{"6/1/00"} << QList<int>{2000};
    QTest::newRow("22nd century") << 2150 << QByteArrayList{"6/1/97", "6/1/80"}
                                  << QList<int>{2197, 2180};
    QTest::newRow("last logger year") << 2250 << QByteArrayList{"6/1/50"} << QList<int>{2250};
    QTest::newRow("across a century")
        << 2099 << QByteArrayList{"12/31/99", "1/1/00", "1/2/00"} << QList<int>{2099, 2100, 2100};
    // One odd date, full or two-digit, leaves the dates after it where they were.
    QTest::newRow("no date moves it")
        << 2026 << QByteArrayList{"6/1/2190", "6/1/85", "6/1/97"} << QList<int>{2190, 2085, 1997};
}

void ConversionsTest::twoDigitYearsLieNearTheReference() {
    QFETCH(int, reference);
    QFETCH(QByteArrayList, texts);
    QFETCH(QList<int>, years);
    ShortDateParser parser{QLocale(QStringLiteral("en_US")), reference};
    for (qsizetype i = 0; i < texts.size(); ++i) {
        const auto parsed = parser.parse(texts[i]);
        QVERIFY2(parsed, texts[i]);
        QCOMPARE(DateSerial::toDateTime(*parsed).date().year(), years[i]);
    }
}

void ConversionsTest::aCenturyLater_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QDate>("later"); // invalid: none
    QTest::newRow("00 after 99") << QByteArray("1/1/00") << QDate(2100, 1, 1);
    QTest::newRow("full year") << QByteArray("1/1/2000") << QDate();
    QTest::newRow("no leap day then") << QByteArray("2/29/00") << QDate();
    QTest::newRow("no date") << QByteArray("45.3") << QDate();
}

void ConversionsTest::aCenturyLater() {
    QFETCH(QByteArray, text);
    QFETCH(QDate, later);
    ShortDateParser parser{QLocale(QStringLiteral("en_US")), 2050};
    const std::optional<double> read = parser.parseACenturyLater(text);
    QCOMPARE(read.has_value(), later.isValid());
    if (!later.isValid())
        return;
    QCOMPARE(*read, DateSerial::fromDate(later));
    // Moved on, the parser reads the text so from then on.
    QCOMPARE(parser.parse(text), std::optional<double>(DateSerial::fromDate(later.addYears(-100))));
    parser.moveOnACentury();
    QCOMPARE(parser.parse(text), read);
}

void ConversionsTest::everyLoggerYearReadsBackNearItself() {
    // A file read within 49 years of its dates gives them back.
    const QLocale locale(QStringLiteral("en_US"));
    for (int year = 1996; year <= 2250; ++year) {
        const QDate date(year, 2, 28);
        ShortDateParser parser{locale, std::clamp(year + 49, 1996, 2250)};
        QCOMPARE(parser.parse(locale.toString(date, QLocale::ShortFormat).toUtf8()),
                 std::optional<double>(DateSerial::fromDate(date)));
    }
}

void ConversionsTest::repeatedDatesGiveTheSameAnswer() {
    ShortDateParser parser{QLocale(QStringLiteral("en_GB")), 2026};
    const auto first = parser.parse("01/01/2004");
    QVERIFY(first);
    QVERIFY(!parser.parse("not a date"));
    QCOMPARE(parser.parse("01/01/2004"), first);
    QCOMPARE(parser.parse(" 01/01/2004 "), first);
    QCOMPARE(parser.parse("02/01/2004"), std::optional<double>(*first + 1.0));
}

void ConversionsTest::serialsRoundTrip() {
    QCOMPARE(DateSerial::fromDate(QDate(1899, 12, 30)), 0.0);
    QCOMPARE(DateSerial::fromDate(QDate(1900, 1, 1)), 2.0);
    const QDateTime stamp(QDate(2003, 12, 31), QTime(23, 59, 30), Qt::UTC);
    const double serial = DateSerial::fromDateTime(stamp);
    QCOMPARE(DateSerial::toDateTime(serial), stamp);
    // A tick time that lands a hair before the minute labels as that minute.
    const QDateTime minute(QDate(2004, 1, 1), QTime(14, 0), Qt::UTC);
    QCOMPARE(DateSerial::toDateTime(DateSerial::fromDateTime(minute) - 1e-11), minute);
}

QTEST_GUILESS_MAIN(ConversionsTest)
#include "test_conversions.moc"
