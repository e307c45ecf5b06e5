// The status replies: Get Information (26 bytes), Get Update (9) and Get
// Parameters (2), their failure records, and the serial number and firmware texts.

#include "LoggerDateTimeTesting.h"
#include "LoggerRecords.h"

#include <QTest>

namespace {

// A reply whose every field differs from its neighbours' and from the failure values.
QByteArray InformationReply() {
    return QByteArray::fromHex("00BC614E"     // serial 12345678
                               "0102"         // processor 1.2
                               "030A"         // measurement unit 3.10
                               "5A"           // byte 9
                               "0078"         // battery 12.0 V
                               "00E1"         // 22.5 degrees
                               "01"           // power-down disabled
                               "03"           // Wednesday
                               "070C1F173B3A" // 31/12/2003 23:59:58
                               "86"           // mode byte, low bits 2
                               "0003F000");   // free memory 258048
}

} // namespace

class TestLoggerRecords : public QObject {
    Q_OBJECT

private slots:
    void information();
    void informationField_data();
    void informationField();
    void informationFromShortReply();
    void failedInformation();
    void update_data();
    void update();
    void failedUpdate();
    void parameters_data();
    void parameters();
    void serialNumberText_data();
    void serialNumberText();
    void versionText_data();
    void versionText();
};

void TestLoggerRecords::information() {
    const InformationRecord record = DecodeInformation(InformationReply());
    QCOMPARE(record.serialNumber, 12345678);
    QCOMPARE(record.processorVersion, 0x0102);
    QCOMPARE(record.measurementVersion, 0x030A);
    QCOMPARE(record.byte9, 0x5A);
    QCOMPARE(record.battery, 120);
    QCOMPARE(record.temperature, 225);
    QCOMPARE(record.powerDownState, 1);
    QCOMPARE(record.dayOfWeek, 3);
    QCOMPARE(record.clock, (LoggerDateTime{2003, 12, 31, 23, 59, 58}));
    QCOMPARE(record.loggingMode, 2);
    QCOMPARE(record.freeMemory, 258048);
    QCOMPARE(InformationReply().size(), InformationLength);
}

// One field changed at its position; "field" names the member to look at.
void TestLoggerRecords::informationField_data() {
    QTest::addColumn<int>("position");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("expected");
    QTest::newRow("battery not available") << 10 << QByteArray::fromHex("8078") << "battery" << -1;
    QTest::newRow("battery all ones") << 10 << QByteArray::fromHex("FFFF") << "battery" << -1;
    QTest::newRow("temperature not fitted")
        << 12 << QByteArray::fromHex("FF9C") << "temperature" << -100;
    QTest::newRow("temperature below zero")
        << 12 << QByteArray::fromHex("FFF6") << "temperature" << -10;
    QTest::newRow("mode uses the low two bits")
        << 22 << QByteArray::fromHex("FF") << "loggingMode" << 3;
    QTest::newRow("mode 0") << 22 << QByteArray::fromHex("FC") << "loggingMode" << 0;
    QTest::newRow("free memory that does not fit")
        << 23 << QByteArray::fromHex("80000000") << "freeMemory" << 0;
    QTest::newRow("whole memory free")
        << 23 << QByteArray::fromHex("00040000") << "freeMemory" << 262144;
    QTest::newRow("serial that does not fit")
        << 1 << QByteArray::fromHex("FF000001") << "serialNumber" << 0;
    QTest::newRow("processor version high bit")
        << 5 << QByteArray::fromHex("8001") << "processorVersion" << -1;
    QTest::newRow("power-down enabled") << 14 << QByteArray::fromHex("00") << "powerDownState" << 0;
    QTest::newRow("power-down byte kept")
        << 14 << QByteArray::fromHex("07") << "powerDownState" << 7;
    QTest::newRow("Saturday") << 15 << QByteArray::fromHex("06") << "dayOfWeek" << 6;
}

void TestLoggerRecords::informationField() {
    QFETCH(int, position);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, field);
    QFETCH(int, expected);
    QByteArray reply = InformationReply();
    reply.replace(position - 1, bytes.size(), bytes);
    const InformationRecord record = DecodeInformation(reply);
    const QMap<QString, qint64> fields{{"battery", record.battery},
                                       {"temperature", record.temperature},
                                       {"loggingMode", record.loggingMode},
                                       {"freeMemory", record.freeMemory},
                                       {"serialNumber", record.serialNumber},
                                       {"processorVersion", record.processorVersion},
                                       {"powerDownState", record.powerDownState},
                                       {"dayOfWeek", record.dayOfWeek}};
    QVERIFY(fields.contains(field));
    QCOMPARE(fields[field], expected);
    QCOMPARE(record.clock, (LoggerDateTime{2003, 12, 31, 23, 59, 58}));
}

// Bytes that did not arrive read as 0 and never beyond the string.
void TestLoggerRecords::informationFromShortReply() {
    const InformationRecord record = DecodeInformation(InformationReply().left(17));
    QCOMPARE(record.serialNumber, 12345678);
    QCOMPARE(record.dayOfWeek, 3);
    QCOMPARE(record.clock, (LoggerDateTime{2003, 12, 0, 0, 0, 0}));
    QCOMPARE(record.loggingMode, 0);
    QCOMPARE(record.freeMemory, 0);
    QCOMPARE(DecodeInformation(InformationReply() + "trailing"),
             DecodeInformation(InformationReply()));
}

void TestLoggerRecords::failedInformation() {
    const InformationRecord record = FailedInformation();
    QCOMPARE(record.serialNumber, -1);
    QCOMPARE(record.processorVersion, -1);
    QCOMPARE(record.measurementVersion, -1);
    QCOMPARE(record.byte9, 0);
    QCOMPARE(record.battery, -1);
    QCOMPARE(record.temperature, -100);
    QCOMPARE(record.powerDownState, 0);
    QCOMPARE(record.dayOfWeek, -1);
    QVERIFY(IsUnset(record.clock));
    QCOMPARE(record.loggingMode, -1);
    QCOMPARE(record.freeMemory, -1);
}

void TestLoggerRecords::update_data() {
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("level");
    QTest::addColumn<bool>("overload");
    QTest::addColumn<LoggerDateTime>("clock");
    const QByteArray clock = QByteArray::fromHex("08021D0C0000");
    const LoggerDateTime leapNoon{2004, 2, 29, 12, 0, 0};
    QTest::newRow("0.0 dB") << QByteArray::fromHex("000000") + clock << 0 << false << leapNoon;
    QTest::newRow("70.0 dB") << QByteArray::fromHex("02BC00") + clock << 700 << false << leapNoon;
    QTest::newRow("level not available")
        << QByteArray::fromHex("800000") + clock << -1 << false << leapNoon;
    QTest::newRow("overload 1") << QByteArray::fromHex("05DC01") + clock << 1500 << true
                                << leapNoon;
    QTest::newRow("overload any non-zero")
        << QByteArray::fromHex("05DCFE") + clock << 1500 << true << leapNoon;
    QTest::newRow("unset clock") << QByteArray::fromHex("000100") + QByteArray(6, char(255)) << 1
                                 << false << UnsetDateTime();
}

void TestLoggerRecords::update() {
    QFETCH(QByteArray, reply);
    QFETCH(int, level);
    QFETCH(bool, overload);
    QFETCH(LoggerDateTime, clock);
    QCOMPARE(reply.size(), UpdateLength);
    const UpdateRecord record = DecodeUpdate(reply);
    QCOMPARE(record.level, level);
    QCOMPARE(record.overload, overload);
    QCOMPARE(record.clock, clock);
}

void TestLoggerRecords::failedUpdate() {
    QCOMPARE(FailedUpdate().level, -1);
    QCOMPARE(FailedUpdate().overload, false);
    QVERIFY(IsUnset(FailedUpdate().clock));
    QCOMPARE(DecodeUpdate(QByteArray()).clock, (LoggerDateTime{1996, 0, 0, 0, 0, 0}));
}

void TestLoggerRecords::parameters_data() {
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("frequency");
    QTest::addColumn<int>("time");
    QTest::newRow("A, fast") << QByteArray::fromHex("0100") << 1 << 0;
    QTest::newRow("C, slow") << QByteArray::fromHex("0001") << 0 << 1;
    QTest::newRow("high bytes stay positive") << QByteArray::fromHex("FF80") << 255 << 128;
    QTest::newRow("one byte") << QByteArray::fromHex("01") << 1 << 0;
}

void TestLoggerRecords::parameters() {
    QFETCH(QByteArray, reply);
    QFETCH(int, frequency);
    QFETCH(int, time);
    QCOMPARE(DecodeParameters(reply), (ParametersRecord{qint16(frequency), qint16(time)}));
    QCOMPARE(FailedParameters(), (ParametersRecord{-1, -1}));
}

void TestLoggerRecords::serialNumberText_data() {
    QTest::addColumn<qint32>("serial");
    QTest::addColumn<QString>("expected");
    QTest::newRow("eight digits") << 12345678 << "12-345-678";
    QTest::newRow("leading zeros") << 1234 << "00-001-234";
    QTest::newRow("zero") << 0 << "00-000-000";
    QTest::newRow("nine digits") << 123456789 << "123-456-789";
    QTest::newRow("largest") << 2147483647 << "2147-483-647";
    QTest::newRow("not read") << -1 << "";
}

void TestLoggerRecords::serialNumberText() {
    QFETCH(qint32, serial);
    QFETCH(QString, expected);
    QCOMPARE(SerialNumberText(serial), expected);
}

void TestLoggerRecords::versionText_data() {
    QTest::addColumn<int>("version");
    QTest::addColumn<QString>("expected");
    QTest::newRow("1.2") << 0x0102 << "1.2";
    QTest::newRow("minor without leading zeros") << 0x0305 << "3.5";
    QTest::newRow("two-digit minor") << 0x030A << "3.10";
    QTest::newRow("minor 0") << 0x0100 << "1.0";
    QTest::newRow("largest") << 0x7FFF << "127.255";
    QTest::newRow("not read") << -1 << "";
}

void TestLoggerRecords::versionText() {
    QFETCH(int, version);
    QFETCH(QString, expected);
    QCOMPARE(VersionText(static_cast<qint16>(version)), expected);
}

QTEST_GUILESS_MAIN(TestLoggerRecords)
#include "test_loggerrecords.moc"
