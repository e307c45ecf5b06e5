// The 99-byte buffer parameter block. Decoding: flags, the Leq byte, trigger
// levels rounded halves to even, references (FF FF = not taken), short replies.
// Encoding: the block sent after "Q" byte for byte, the trigger section only
// when an output runs on trigger, fields limited to what their bytes carry, titles
// as 16 single-byte characters. Round trips over varied records.

#include "BufferRecord.h"
#include "LoggerDateTimeTesting.h"

#include <QRandomGenerator>
#include <QTest>

Q_DECLARE_METATYPE(BufferRecord)

namespace {

QByteArray Hex(const char* hex) {
    return QByteArray::fromHex(hex);
}

// The block with every field zero and the given bytes at a 1-based position.
QByteArray BlockWith(int position, const QByteArray& bytes) {
    QByteArray block(BufferRecordLength, '\0');
    block.replace(position - 1, bytes.size(), bytes);
    return block;
}

QByteArray DefaultPercentiles() {
    return Hex("01050A19324B5A63");
}

// The default parameter set with both timers at "No Timer" and no reference.
BufferRecord DefaultSetup(const QString& title) {
    BufferRecord record;
    record.start = record.stop = UnsetDateTime();
    record.master.start = record.master.stop = {1996, 1, 1, 0, 0, 0};
    record.sub = record.master;
    record.aWeighting = true;
    record.interval = 15;
    record.leqLength = 1;
    record.percentileIndices = DefaultPercentiles();
    record.title = TitleBytes(title);
    record.preReference = record.postReference = -1;
    return record;
}

// A record as the logger returns it: every field that the block carries holds
// a value its bytes reproduce exactly.
BufferRecord LoggedRecord() {
    BufferRecord record;
    record.start = {2004, 3, 1, 8, 0, 0};
    record.stop = {2004, 3, 2, 8, 0, 5};
    record.master = {4, {2004, 3, 1, 8, 0, 0}, {2004, 3, 2, 8, 0, 0}, 0, 0};
    record.sub = {3, {1996, 1, 1, 9, 30, 0}, {1996, 1, 1, 17, 0, 0}, 1, 5};
    record.aWeighting = true;
    record.slow = true;
    record.interval = 5;
    record.auxiliaryMode = 2;
    record.leqLength = 10;
    record.leqMode = 1;
    record.startTriggerType = 3;
    record.startPercentile = 90;
    record.startLLevel = 65;
    record.stopTriggerType = 2;
    record.stopSplLevel = 40;
    record.stopSeconds = 30;
    record.tapeEnabled = true;
    record.tapeType = 1;
    record.tapePower = 3;
    record.percentileIndices = Hex("020A141E28323C46");
    record.title = TitleBytes("Site 4 north");
    record.preReference = 940;
    record.postReference = 938;
    return record;
}

} // namespace

class TestBufferRecord : public QObject {
    Q_OBJECT

private slots:
    void flags_data();
    void flags();
    void leqByte_data();
    void leqByte();
    void startTrigger_data();
    void startTrigger();
    void stopTrigger_data();
    void stopTrigger();
    void references_data();
    void references();
    void wholeRecord();
    void shortReply();
    void emptyRecord();
    void defaultSetupBlock();
    void encodedFields_data();
    void encodedFields();
    void loggerFilledFieldsGoUnset();
    void triggerSection_data();
    void triggerSection();
    void limitsWhatBytesCannotCarry();
    void titleBytes_data();
    void titleBytes();
    void roundTrip_data();
    void roundTrip();
    void reencodingIsStable();
};

void TestBufferRecord::flags_data() {
    QTest::addColumn<int>("flags");
    QTest::addColumn<bool>("aWeighting");
    QTest::addColumn<bool>("slow");
    QTest::addColumn<bool>("tapeEnabled");
    QTest::addColumn<int>("tapeType");
    QTest::newRow("56: A, slow, tape, analogue") << 56 << true << true << true << 0;
    QTest::newRow("32: default set") << 32 << true << false << false << 0;
    QTest::newRow("33: A with DAT") << 33 << true << false << false << 1;
    QTest::newRow("16: C, slow") << 16 << false << true << false << 0;
    QTest::newRow("bits 6, 7, 1, 2 ignored") << 0xC6 << false << false << false << 0;
    QTest::newRow("all bits") << 0xFF << true << true << true << 1;
}

void TestBufferRecord::flags() {
    QFETCH(int, flags);
    QFETCH(bool, aWeighting);
    QFETCH(bool, slow);
    QFETCH(bool, tapeEnabled);
    QFETCH(int, tapeType);
    const BufferRecord record = DecodeBufferRecord(BlockWith(1, QByteArray(1, char(flags))));
    QCOMPARE(record.aWeighting, aWeighting);
    QCOMPARE(record.slow, slow);
    QCOMPARE(record.tapeEnabled, tapeEnabled);
    QCOMPARE(record.tapeType, tapeType);
    QCOMPARE(EncodeBufferRecord(record).at(0), char(flags & 0x39));
}

void TestBufferRecord::leqByte_data() {
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("length");
    QTest::newRow("129: on trigger, 1 s") << 129 << 2 << 1;
    QTest::newRow("74: whilst logging, 10 s") << 74 << 1 << 10;
    QTest::newRow("0") << 0 << 0 << 0;
    QTest::newRow("60 s disabled") << 60 << 0 << 60;
    QTest::newRow("255") << 255 << 3 << 63;
}

void TestBufferRecord::leqByte() {
    QFETCH(int, byte);
    QFETCH(int, mode);
    QFETCH(int, length);
    const BufferRecord record = DecodeBufferRecord(BlockWith(45, QByteArray(1, char(byte))));
    QCOMPARE(record.leqMode, mode);
    QCOMPARE(record.leqLength, length);
    QCOMPARE(quint8(EncodeBufferRecord(record).at(44)), byte);
}

// Bytes 55 to 58: type, level word in tenths, seconds or percentile.
void TestBufferRecord::startTrigger_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<int>>("expected"); // type, SPL level, seconds, percentile, L level
    QTest::newRow("70 dB for 5 s") << Hex("0102BC05") << QList<int>{1, 70, 5, 0, 0};
    QTest::newRow("70.5 rounds to 70") << Hex("0102C105") << QList<int>{1, 70, 5, 0, 0};
    QTest::newRow("71.5 rounds to 72") << Hex("0202CB05") << QList<int>{2, 72, 5, 0, 0};
    QTest::newRow("70.6 rounds to 71") << Hex("0102C201") << QList<int>{1, 71, 1, 0, 0};
    QTest::newRow("level not available") << Hex("01800009") << QList<int>{1, 0, 9, 0, 0};
    QTest::newRow("L90 exceeds 65 dB") << Hex("03028A5A") << QList<int>{3, 0, 0, 90, 65};
    QTest::newRow("L10 under 80.5 dB") << Hex("0403250A") << QList<int>{4, 0, 0, 10, 80};
    QTest::newRow("remote switch") << Hex("0502BC05") << QList<int>{5, 0, 0, 0, 0};
    QTest::newRow("none") << Hex("0002BC05") << QList<int>{0, 0, 0, 0, 0};
    QTest::newRow("unknown type") << Hex("FF02BC05") << QList<int>{255, 0, 0, 0, 0};
}

void TestBufferRecord::startTrigger() {
    QFETCH(QByteArray, bytes);
    QFETCH(QList<int>, expected);
    const BufferRecord record = DecodeBufferRecord(BlockWith(55, bytes));
    QCOMPARE((QList<int>{record.startTriggerType, record.startSplLevel, record.startSeconds,
                         record.startPercentile, record.startLLevel}),
             expected);
}

// Bytes 59 to 62: type, level word, seconds or minutes.
void TestBufferRecord::stopTrigger_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<int>>("expected"); // type, SPL level, seconds, minutes
    QTest::newRow("after 15 minutes") << Hex("060258"
                                             "0F")
                                      << QList<int>{6, 0, 0, 15};
    QTest::newRow("under 60 dB for 1 s") << Hex("02025801") << QList<int>{2, 60, 1, 0};
    QTest::newRow("over 72.5 dB for 30 s") << Hex("0102D51E") << QList<int>{1, 72, 30, 0};
    QTest::newRow("start-only type ignored") << Hex("03025801") << QList<int>{3, 0, 0, 0};
    QTest::newRow("none") << Hex("00025801") << QList<int>{0, 0, 0, 0};
}

void TestBufferRecord::stopTrigger() {
    QFETCH(QByteArray, bytes);
    QFETCH(QList<int>, expected);
    const BufferRecord record = DecodeBufferRecord(BlockWith(59, bytes));
    QCOMPARE((QList<int>{record.stopTriggerType, record.stopSplLevel, record.stopSeconds,
                         record.stopMinutes}),
             expected);
}

void TestBufferRecord::references_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("pre");
    QTest::addColumn<int>("post");
    QTest::newRow("not taken") << Hex("FFFFFFFF") << -1 << -1;
    QTest::newRow("94.0 and 93.8 dB") << Hex("03AC03AA") << 940 << 938;
    QTest::newRow("only the pre-reading") << Hex("03ACFFFF") << 940 << -1;
}

void TestBufferRecord::references() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, pre);
    QFETCH(int, post);
    const BufferRecord record = DecodeBufferRecord(BlockWith(79, bytes));
    QCOMPARE(record.preReference, pre);
    QCOMPARE(record.postReference, post);
}

void TestBufferRecord::wholeRecord() {
    const QByteArray reply = Hex("39" // A, slow, tape, DAT
                                 "080301080000"
                                 "080302080005" // start, stop
                                 "04"
                                 "080301080000"
                                 "080302080000"
                                 "0000" // master
                                 "03"
                                 "000101091E00"
                                 "000101110000"
                                 "0105" // sub
                                 "05"
                                 "4A"
                                 "02"               // interval, Leq, aux
                                 "020A141E28323C46" // percentiles
                                 "03028A5A"
                                 "0201901E") // start L90 65 dB, stop under 40 dB 30 s
                             + QByteArray("Site 4 north    ") + Hex("03AC03AA03") +
                             QByteArray(16, char(0xAB));
    QCOMPARE(reply.size(), BufferRecordLength);
    QCOMPARE(DecodeBufferRecord(reply), LoggedRecord());
}

// Missing bytes read as 0: texts keep their fixed widths.
void TestBufferRecord::shortReply() {
    const QByteArray block = EncodeBufferRecord(LoggedRecord());
    const BufferRecord record = DecodeBufferRecord(block.left(70));
    QCOMPARE(record.title, QByteArray("Site 4 n") + QByteArray(8, '\0'));
    QCOMPARE(record.preReference, 0);
    QCOMPARE(record.tapePower, 0);
    QCOMPARE(record.interval, 5);

    const BufferRecord nothing = DecodeBufferRecord(QByteArray());
    QCOMPARE(nothing.title, QByteArray(16, '\0'));
    QCOMPARE(nothing.percentileIndices, QByteArray(8, '\0'));
    QCOMPARE(nothing.start, (LoggerDateTime{1996, 0, 0, 0, 0, 0}));
    QVERIFY(!IsValidDateTime(nothing.start));
}

void TestBufferRecord::emptyRecord() {
    const BufferRecord empty = EmptyBufferRecord();
    QCOMPARE(empty.start, LoggerDateTime{});
    QCOMPARE(empty.master, TimerRecord{});
    QVERIFY(empty.title.isEmpty());
    QVERIFY(empty.percentileIndices.isEmpty());
    QCOMPARE(empty.interval, 0);
    QCOMPARE(empty.preReference, 0);
    QCOMPARE(DateTimeText(empty.start, "NOT SET"), QString("NOT SET"));
}

// The set-up block of the default set, both timers "No Timer", no reference.
void TestBufferRecord::defaultSetupBlock() {
    const QByteArray timer = Hex("00"
                                 "000101000000"
                                 "000101000000"
                                 "0000");
    const QByteArray expected = Hex("20") + QByteArray(12, char(255)) + timer + timer +
                                Hex("0F0100") + DefaultPercentiles() + QByteArray(8, '\0') +
                                QByteArray("Night survey    ") + QByteArray(4, char(255)) +
                                Hex("00") + QByteArray(16, '\0');
    QCOMPARE(expected.size(), BufferRecordLength);
    QCOMPARE(EncodeBufferRecord(DefaultSetup("Night survey")), expected);
}

// Offsets from 0 as the set-up block counts them.
void TestBufferRecord::encodedFields_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("pre-reference 94.0 dB") << 0 << 940 << 78 << Hex("03AC");
    QTest::newRow("pre-reference not taken") << 0 << -1 << 78 << Hex("FFFF");
    QTest::newRow("pre-reference below 0 is not taken") << 0 << -5 << 78 << Hex("FFFF");
    QTest::newRow("Leq on trigger, 1 s") << 1 << 2 * 64 + 1 << 44 << Hex("81");
    QTest::newRow("Leq whilst logging, 10 s") << 1 << 1 * 64 + 10 << 44 << Hex("4A");
    QTest::newRow("tape power 9 V") << 2 << 3 << 82 << Hex("03");
    QTest::newRow("interval 60") << 3 << 60 << 43 << Hex("3C");
}

void TestBufferRecord::encodedFields() {
    QFETCH(int, field);
    QFETCH(int, value);
    QFETCH(int, offset);
    QFETCH(QByteArray, bytes);
    BufferRecord record = DefaultSetup("x");
    switch (field) {
    case 0:
        record.preReference = qint16(value);
        break;
    case 1:
        record.leqMode = qint16(value / 64);
        record.leqLength = qint16(value % 64);
        break;
    case 2:
        record.tapePower = qint16(value);
        break;
    default:
        record.interval = qint16(value);
    }
    const QByteArray block = EncodeBufferRecord(record);
    QCOMPARE(block.size(), BufferRecordLength);
    QCOMPARE(block.mid(offset, bytes.size()), bytes);
}

// The logger fills in start, stop and the post-reference itself.
void TestBufferRecord::loggerFilledFieldsGoUnset() {
    const QByteArray block = EncodeBufferRecord(LoggedRecord());
    QCOMPARE(block.mid(1, 12), QByteArray(12, char(255)));
    QCOMPARE(block.mid(80, 2), Hex("FFFF"));
    QCOMPARE(block.mid(78, 2), Hex("03AC"));
}

// Offsets 54 to 61.
void TestBufferRecord::triggerSection_data() {
    QTest::addColumn<QList<int>>("setup"); // auxiliary, Leq mode, tape, start type, stop type
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("no output on trigger") << QList<int>{1, 1, 0, 1, 2} << QByteArray(8, '\0');
    QTest::newRow("auxiliary on trigger, SPL both")
        << QList<int>{2, 0, 0, 1, 2} << Hex("0102BC0102025801");
    QTest::newRow("Leq on trigger, remote and minutes")
        << QList<int>{0, 2, 0, 5, 6} << Hex("050000000600000F");
    QTest::newRow("tape, L-index and SPL over")
        << QList<int>{0, 0, 1, 3, 1} << Hex("03028A3201025801");
    QTest::newRow("unknown codes padded to eight bytes")
        << QList<int>{2, 0, 0, 0, 4} << Hex("0000000004000000");
}

void TestBufferRecord::triggerSection() {
    QFETCH(QList<int>, setup);
    QFETCH(QByteArray, expected);
    BufferRecord record = DefaultSetup("x");
    record.startSplLevel = 70;
    record.startSeconds = 1;
    record.startPercentile = 50;
    record.startLLevel = 65;
    record.stopSplLevel = 60;
    record.stopSeconds = 1;
    record.stopMinutes = 15;
    record.auxiliaryMode = qint16(setup[0]);
    record.leqMode = qint16(setup[1]);
    record.tapeEnabled = setup[2] != 0;
    record.startTriggerType = qint16(setup[3]);
    record.stopTriggerType = qint16(setup[4]);
    const QByteArray block = EncodeBufferRecord(record);
    QCOMPARE(block.size(), BufferRecordLength);
    QCOMPARE(block.mid(54, 8), expected);
}

void TestBufferRecord::limitsWhatBytesCannotCarry() {
    BufferRecord record = DefaultSetup("x");
    record.auxiliaryMode = 2;
    record.startTriggerType = 1;
    record.startSplLevel = 4000;
    record.startSeconds = 1;
    record.stopTriggerType = 2;
    record.stopSplLevel = -5;
    record.stopSeconds = 1;
    record.interval = 300;
    record.leqMode = 5;
    record.leqLength = 64;
    record.tapePower = -1;
    record.master = {4, {1990, 1, 1, 0, 0, 0}, {2300, 13, 300, 24, -1, 61}, 9, -3};
    record.percentileIndices = "123456789";
    record.title = "a title longer than sixteen";
    const QByteArray block = EncodeBufferRecord(record);
    QCOMPARE(block.size(), BufferRecordLength);
    QCOMPARE(block.mid(13, 15), Hex("04"
                                    "000101000000"
                                    "FF0DFF18003D"
                                    "0900"));
    QCOMPARE(block.mid(43, 2), Hex("FFFF"));
    QCOMPARE(block.mid(46, 8), QByteArray("12345678"));
    QCOMPARE(block.mid(54, 8), Hex("017FF80102000001"));
    QCOMPARE(block.mid(62, 16), QByteArray("a title longer t"));
    QCOMPARE(block.at(82), '\0');
}

void TestBufferRecord::titleBytes_data() {
    QTest::addColumn<QString>("title");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("padded with blanks") << "Site 4 north" << QByteArray("Site 4 north    ");
    QTest::newRow("cut after 16") << "Twenty characters!!!" << QByteArray("Twenty character");
    QTest::newRow("leading blanks kept") << "  lead" << QByteArray("  lead          ");
    QTest::newRow("empty") << "" << QByteArray(16, ' ');
    QTest::newRow("Latin-1 kept as one byte")
        << QString::fromUtf8("Café") << QByteArray("Caf\xE9            ");
    QTest::newRow("outside Latin-1")
        << QString::fromUtf8("温度 €5") << QByteArray("?? ?5           ");
    QTest::newRow("one question mark per character")
        << QString::fromUtf8("\U0001F50A loud") << QByteArray("? loud          ");
    QTest::newRow("wide characters cut by count")
        << QString::fromUtf8("ééééééééééééééééé") << QByteArray(16, char(0xE9));
}

void TestBufferRecord::titleBytes() {
    QFETCH(QString, title);
    QFETCH(QByteArray, expected);
    const QByteArray bytes = TitleBytes(title);
    QCOMPARE(bytes, expected);
    QCOMPARE(TitleText(bytes).size(), 16);
    if (!expected.contains('?'))
        QCOMPARE(TitleText(bytes).left(title.size()), title.left(16));
}

void TestBufferRecord::roundTrip_data() {
    QTest::addColumn<BufferRecord>("record");
    BufferRecord logged = LoggedRecord();
    logged.start = logged.stop = UnsetDateTime();
    logged.postReference = -1;
    QTest::newRow("logged, not yet filled in") << logged;
    QTest::newRow("default set-up") << DefaultSetup("Default Setting");

    BufferRecord spl = logged;
    spl.master = {1, {1996, 1, 1, 0, 45, 0}, {1996, 1, 1, 0, 15, 0}, 0, 0};
    spl.sub = TimerRecord{0, {1996, 1, 1, 0, 0, 0}, {1996, 1, 1, 0, 0, 0}, 0, 0};
    spl.startTriggerType = 1;
    spl.startSplLevel = 150;
    spl.startSeconds = 99;
    spl.startPercentile = spl.startLLevel = 0;
    spl.stopTriggerType = 6;
    spl.stopSplLevel = spl.stopSeconds = 0;
    spl.stopMinutes = 15;
    spl.aWeighting = spl.slow = spl.tapeEnabled = false;
    spl.tapeType = 0;
    spl.leqMode = 2;
    spl.leqLength = 60;
    spl.auxiliaryMode = 0;
    spl.tapePower = 0;
    spl.title = TitleBytes(QString::fromUtf8("Ångström"));
    spl.preReference = 32767;
    QTest::newRow("SPL start, minutes stop, extremes") << spl;

    BufferRecord weekly = DefaultSetup("");
    weekly.master = {3, {1996, 1, 1, 17, 0, 0}, {1996, 1, 1, 9, 0, 0}, 5, 1};
    weekly.sub = {2, {1996, 1, 1, 22, 0, 0}, {1996, 1, 1, 6, 0, 0}, 0, 0};
    weekly.percentileIndices = QByteArray(8, char(99));
    weekly.preReference = 0;
    QTest::newRow("weekly over daily, zero reference") << weekly;
}

void TestBufferRecord::roundTrip() {
    QFETCH(BufferRecord, record);
    const QByteArray block = EncodeBufferRecord(record);
    QCOMPARE(block.size(), BufferRecordLength);
    QCOMPARE(DecodeBufferRecord(block), record);
    QCOMPARE(DecodeTimerRecord(block, 14), record.master);
    QCOMPARE(EncodeTimerRecord(record.sub), block.mid(28, TimerRecordLength));
}

// Whatever the logger sends, decoding and encoding again settles after one pass.
void TestBufferRecord::reencodingIsStable() {
    QRandomGenerator random(20040301);
    for (int round = 0; round < 500; ++round) {
        QByteArray reply(random.bounded(BufferRecordLength + 10), '\0');
        for (char& byte : reply)
            byte = char(random.bounded(256));
        const QByteArray once = EncodeBufferRecord(DecodeBufferRecord(reply));
        QCOMPARE(once.size(), BufferRecordLength);
        QCOMPARE(EncodeBufferRecord(DecodeBufferRecord(once)), once);
    }
}

QTEST_GUILESS_MAIN(TestBufferRecord)
#include "test_bufferrecord.moc"
