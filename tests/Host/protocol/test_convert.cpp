// Byte-string conversions of the logger protocol: reading words, longs and
// date-times (missing bytes read as 0, high-bit words read as "not available"),
// rounding tenths to whole dB, and encoders that refuse what the bytes cannot carry.

#include "Convert.h"
#include "LoggerDateTimeTesting.h"

#include <QTest>

using OptionalBytes = std::optional<QByteArray>;
Q_DECLARE_METATYPE(OptionalBytes)

class TestConvert : public QObject {
    Q_OBJECT

private slots:
    void readWord_data();
    void readWord();
    void readSignedWord_data();
    void readSignedWord();
    void readLong_data();
    void readLong();
    void readDateTime_data();
    void readDateTime();
    void readDateFollowsBaseYear();
    void readBytesPadsWithZeros();
    void tenthsToWhole_data();
    void tenthsToWhole();
    void wordToBytes_data();
    void wordToBytes();
    void longToBytes_data();
    void longToBytes();
    void signedWordToBytes_data();
    void signedWordToBytes();
    void dateTimeToBytes_data();
    void dateTimeToBytes();
    void wordsSurviveTheRoundTrip();
};

// Words: high byte first; a high byte of 128 or more means "not available".
void TestConvert::readWord_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("expected");
    QTest::newRow("largest") << QByteArray::fromHex("7FFF") << 1 << 32767;
    QTest::newRow("high bit") << QByteArray::fromHex("8000") << 1 << -1;
    QTest::newRow("all ones") << QByteArray::fromHex("FFFF") << 1 << -1;
    QTest::newRow("zero") << QByteArray::fromHex("0000") << 1 << 0;
    QTest::newRow("700") << QByteArray::fromHex("02BC") << 1 << 700;
    QTest::newRow("second position") << QByteArray::fromHex("FF0102") << 2 << 258;
    QTest::newRow("low byte missing") << QByteArray::fromHex("01") << 1 << 256;
    QTest::newRow("past the end") << QByteArray::fromHex("0102") << 3 << 0;
    QTest::newRow("empty") << QByteArray() << 1 << 0;
    QTest::newRow("position 0 reads a zero high byte") << QByteArray::fromHex("0102") << 0 << 1;
    QTest::newRow("negative position") << QByteArray::fromHex("0102") << -7 << 0;
    QTest::newRow("last int position") << QByteArray::fromHex("0102") << INT_MAX << 0;
}

void TestConvert::readWord() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, position);
    QFETCH(int, expected);
    QCOMPARE(ReadWord(bytes, position), expected);
}

void TestConvert::readSignedWord_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("expected");
    QTest::newRow("temperature not fitted") << QByteArray::fromHex("FF9C") << -100;
    QTest::newRow("100") << QByteArray::fromHex("0064") << 100;
    QTest::newRow("not taken") << QByteArray::fromHex("FFFF") << -1;
    QTest::newRow("most negative") << QByteArray::fromHex("8000") << -32768;
    QTest::newRow("largest") << QByteArray::fromHex("7FFF") << 32767;
    QTest::newRow("one byte") << QByteArray::fromHex("FF") << -256;
}

void TestConvert::readSignedWord() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, expected);
    QCOMPARE(ReadSignedWord(bytes, 1), expected);
}

void TestConvert::readLong_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("position");
    QTest::addColumn<qint32>("expected");
    QTest::newRow("zero") << QByteArray::fromHex("00000000") << 1 << 0;
    QTest::newRow("whole memory") << QByteArray::fromHex("00040000") << 1 << 262144;
    QTest::newRow("serial") << QByteArray::fromHex("00BC614E") << 1 << 12345678;
    QTest::newRow("largest") << QByteArray::fromHex("7FFFFFFF") << 1 << 2147483647;
    QTest::newRow("does not fit") << QByteArray::fromHex("80000000") << 1 << 0;
    QTest::newRow("all ones") << QByteArray::fromHex("FFFFFFFF") << 1 << 0;
    QTest::newRow("short") << QByteArray::fromHex("0001") << 1 << 65536;
    QTest::newRow("offset") << QByteArray::fromHex("AA00000102") << 2 << 258;
}

void TestConvert::readLong() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, position);
    QFETCH(qint32, expected);
    QCOMPARE(ReadLong(bytes, position), expected);
}

// Date-times: six bytes, year counted from the base year; ReadDate and ReadTime
// leave the other half of the record zero.
void TestConvert::readDateTime_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<LoggerDateTime>("date");
    QTest::addColumn<LoggerDateTime>("time");
    QTest::addColumn<LoggerDateTime>("dateTime");
    QTest::newRow("31 December 2003")
        << QByteArray::fromHex("070C1F173B3A") << LoggerDateTime{2003, 12, 31, 0, 0, 0}
        << LoggerDateTime{0, 0, 0, 7, 12, 31} << LoggerDateTime{2003, 12, 31, 23, 59, 58};
    QTest::newRow("unset") << QByteArray(6, char(255)) << LoggerDateTime{2251, 255, 255, 0, 0, 0}
                           << LoggerDateTime{0, 0, 0, 255, 255, 255} << UnsetDateTime();
    QTest::newRow("time missing") << QByteArray::fromHex("0801")
                                  << LoggerDateTime{2004, 1, 0, 0, 0, 0}
                                  << LoggerDateTime{0, 0, 0, 8, 1, 0}
                                  << LoggerDateTime{2004, 1, 0, 0, 0, 0};
    QTest::newRow("empty") << QByteArray() << LoggerDateTime{1996, 0, 0, 0, 0, 0}
                           << LoggerDateTime{} << LoggerDateTime{1996, 0, 0, 0, 0, 0};
}

void TestConvert::readDateTime() {
    QFETCH(QByteArray, bytes);
    QFETCH(LoggerDateTime, date);
    QFETCH(LoggerDateTime, time);
    QFETCH(LoggerDateTime, dateTime);
    QCOMPARE(ReadDate(bytes, 1), date);
    QCOMPARE(ReadTime(bytes, 1), time);
    QCOMPARE(ReadDateTime(bytes, 1), dateTime);
    QCOMPARE(ReadDateTime(QByteArray("xyz") + bytes, 4), dateTime);
}

void TestConvert::readDateFollowsBaseYear() {
    const qint16 saved = BaseYear;
    BaseYear = 2000;
    const LoggerDateTime date = ReadDate(QByteArray::fromHex("04021D"), 1);
    const auto bytes = DateToBytes(2004, 2, 29);
    BaseYear = saved;
    QCOMPARE(date, (LoggerDateTime{2004, 2, 29, 0, 0, 0}));
    QCOMPARE(bytes, OptionalBytes(QByteArray::fromHex("04021D")));
}

void TestConvert::readBytesPadsWithZeros() {
    QCOMPARE(ReadBytes("abc", 2, 4), QByteArray("bc\0\0", 4));
    QCOMPARE(ReadBytes("abc", 0, 2), QByteArray("\0a", 2));
    QCOMPARE(ReadBytes("abc", 5, 0), QByteArray());
}

// Whole dB from tenths: halves go to the even number.
void TestConvert::tenthsToWhole_data() {
    QTest::addColumn<int>("tenths");
    QTest::addColumn<int>("expected");
    QTest::newRow("700") << 700 << 70;
    QTest::newRow("705 half to even down") << 705 << 70;
    QTest::newRow("715 half to even up") << 715 << 72;
    QTest::newRow("725") << 725 << 72;
    QTest::newRow("714") << 714 << 71;
    QTest::newRow("716") << 716 << 72;
    QTest::newRow("5") << 5 << 0;
    QTest::newRow("15") << 15 << 2;
    QTest::newRow("not available") << -1 << 0;
    QTest::newRow("-15") << -15 << -2;
    QTest::newRow("-25") << -25 << -2;
    QTest::newRow("-26") << -26 << -3;
    QTest::newRow("largest word") << 32767 << 3277;
}

void TestConvert::tenthsToWhole() {
    QFETCH(int, tenths);
    QFETCH(int, expected);
    QCOMPARE(TenthsToWhole(qint16(tenths)), expected);
}

// Encoders: exact bytes, or nothing for a value the bytes cannot carry.
void TestConvert::wordToBytes_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<OptionalBytes>("expected");
    QTest::newRow("zero") << 0 << OptionalBytes(QByteArray::fromHex("0000"));
    QTest::newRow("70 dB") << 700 << OptionalBytes(QByteArray::fromHex("02BC"));
    QTest::newRow("94.0 dB") << 940 << OptionalBytes(QByteArray::fromHex("03AC"));
    QTest::newRow("largest") << 32767 << OptionalBytes(QByteArray::fromHex("7FFF"));
    QTest::newRow("-1 refused") << -1 << OptionalBytes();
    QTest::newRow("32768 refused") << 32768 << OptionalBytes();
    QTest::newRow("65535 refused") << 65535 << OptionalBytes();
}

void TestConvert::wordToBytes() {
    QFETCH(int, value);
    QFETCH(OptionalBytes, expected);
    QCOMPARE(WordToBytes(value), expected);
}

void TestConvert::longToBytes_data() {
    QTest::addColumn<qint64>("value");
    QTest::addColumn<OptionalBytes>("expected");
    QTest::newRow("serial") << qint64(12345678) << OptionalBytes(QByteArray::fromHex("00BC614E"));
    QTest::newRow("largest") << qint64(2147483647)
                             << OptionalBytes(QByteArray::fromHex("7FFFFFFF"));
    QTest::newRow("2^31 refused") << qint64(2147483648) << OptionalBytes();
    QTest::newRow("-1 refused") << qint64(-1) << OptionalBytes();
}

void TestConvert::longToBytes() {
    QFETCH(qint64, value);
    QFETCH(OptionalBytes, expected);
    QCOMPARE(LongToBytes(value), expected);
}

void TestConvert::signedWordToBytes_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("not taken") << -1 << QByteArray::fromHex("FFFF");
    QTest::newRow("-100") << -100 << QByteArray::fromHex("FF9C");
    QTest::newRow("940") << 940 << QByteArray::fromHex("03AC");
    QTest::newRow("most negative") << -32768 << QByteArray::fromHex("8000");
}

void TestConvert::signedWordToBytes() {
    QFETCH(int, value);
    QFETCH(QByteArray, expected);
    QCOMPARE(SignedWordToBytes(static_cast<qint16>(value)), expected);
    QCOMPARE(ReadSignedWord(expected, 1), value);
}

void TestConvert::dateTimeToBytes_data() {
    QTest::addColumn<LoggerDateTime>("value");
    QTest::addColumn<OptionalBytes>("expected");
    QTest::newRow("31 December 2003") << LoggerDateTime{2003, 12, 31, 23, 59, 58}
                                      << OptionalBytes(QByteArray::fromHex("070C1F173B3A"));
    QTest::newRow("first year") << LoggerDateTime{1996, 1, 1, 0, 0, 0}
                                << OptionalBytes(QByteArray::fromHex("000101000000"));
    QTest::newRow("unset") << UnsetDateTime() << OptionalBytes(QByteArray(6, char(255)));
    QTest::newRow("year before the base")
        << LoggerDateTime{1995, 12, 31, 0, 0, 0} << OptionalBytes();
    QTest::newRow("year after the last") << LoggerDateTime{2252, 1, 1, 0, 0, 0} << OptionalBytes();
    QTest::newRow("month over a byte") << LoggerDateTime{2000, 256, 1, 0, 0, 0} << OptionalBytes();
    QTest::newRow("negative day") << LoggerDateTime{2000, 1, -1, 0, 0, 0} << OptionalBytes();
    QTest::newRow("negative second") << LoggerDateTime{2000, 1, 1, 0, 0, -1} << OptionalBytes();
    QTest::newRow("hour over a byte") << LoggerDateTime{2000, 1, 1, 300, 0, 0} << OptionalBytes();
}

void TestConvert::dateTimeToBytes() {
    QFETCH(LoggerDateTime, value);
    QFETCH(OptionalBytes, expected);
    QCOMPARE(DateTimeToBytes(value), expected);
    if (expected)
        QCOMPARE(ReadDateTime(*expected, 1), value);
    QCOMPARE(DateToBytes(value.year, value.month, value.day).has_value() &&
                 TimeToBytes(value.hour, value.minute, value.second).has_value(),
             expected.has_value());
}

void TestConvert::wordsSurviveTheRoundTrip() {
    for (int value = 0; value <= 32767; value += 97) {
        const auto bytes = WordToBytes(value);
        QVERIFY(bytes);
        QCOMPARE(bytes->size(), 2);
        QCOMPARE(ReadWord(*bytes, 1), value);
        QCOMPARE(ReadLong(LongToBytes(qint64(value) * 65537).value(), 1), value * 65537);
    }
}

QTEST_GUILESS_MAIN(TestConvert)
#include "test_convert.moc"
