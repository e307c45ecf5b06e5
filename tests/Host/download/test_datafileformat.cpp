// Field syntax and header texts of the data files.
#include "BufferTransfer.h"
#include "DataFileFormat.h"
#include "HeaderBlock.h"

#include <QTest>

namespace {

const QLocale English(QLocale::English, QLocale::UnitedKingdom);

LoggerDateTime At(int y, int mo, int d, int h, int mi, int s) {
    return {qint16(y), qint16(mo), qint16(d), qint16(h), qint16(mi), qint16(s)};
}

// Leq whilst logging, nothing on trigger, no timers.
BufferRecord Survey() {
    BufferRecord record;
    record.start = At(2003, 5, 1, 14, 30, 7);
    record.stop = UnsetDateTime();
    record.aWeighting = true;
    record.interval = 15;
    record.leqMode = record.leqLength = 1;
    record.percentileIndices = QByteArray("\x01\x05\x0a\x21\x32\x5a\x5f\x63", 8);
    record.title = "Quarry \"north\"\x01 ";
    record.preReference = 940;
    record.postReference = -1;
    return record;
}

} // namespace

class TestDataFileFormat : public QObject {
    Q_OBJECT

private slots:
    void numbers_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("tenths") << 453 / 10.0 << QByteArray("45.3");
        QTest::newRow("whole") << 50.0 << QByteArray("50");
        QTest::newRow("above 100") << 1012 / 10.0 << QByteArray("101.2");
        QTest::newRow("below one") << 5 / 10.0 << QByteArray(".5");
        QTest::newRow("missing level") << -1 / 10.0 << QByteArray("-.1");
        QTest::newRow("negative") << -200 / 10.0 << QByteArray("-20");
        QTest::newRow("minus zero") << -0.0 << QByteArray("0");
        QTest::newRow("largest word") << 32767 / 10.0 << QByteArray("3276.7");
        QTest::newRow("no exponent") << 1e7 << QByteArray("10000000");
    }
    void numbers() {
        QFETCH(double, value);
        QFETCH(QByteArray, text);
        QCOMPARE(NumberText(value), text);
        QLocale::setDefault(QLocale(QLocale::German)); // a comma locale changes nothing
        QCOMPARE(NumberText(value), text);
        QLocale::setDefault(QLocale::c());
    }

    void textFieldsNeverBreakTheLine() {
        QCOMPARE(TextField(QString::fromLatin1("a\"b\r\n\0c\x7f", 8)), QByteArray("\"a'b   c \""));
        QCOMPARE(SanitisedText(QString::fromLatin1("\x85\xff")), QString::fromLatin1(" \xff"));
        QCOMPARE(CsvLine({}), QByteArray("\r\n"));
    }

    void wholeHeaderBlock() {
        const QByteArray expected =
            "\"Orvane Instruments -  Type 1 Environmental Noise Logger\"\r\n"
            "\"Logger Serial Number\",\"\",\"\",\"\",\"12-345-678\"\r\n"
            "\"Measurement Title\",\"\",\"\",\"\",\"Quarry 'north'  \"\r\n"
            "\"Measurement started at\",\"\",\"\",\"\",\"14:30:07 , 01/05/2003\"\r\n"
            "\"Measurement stopped at\",\"\",\"\",\"\",\"<In Progress>\"\r\n"
            "\"Frequency Weighting\",\"\",\"\",\"\",\"A\"\r\n"
            "\"Time Averaging\",\"\",\"\",\"\",\"Fast\"\r\n"
            "\"Statistical Interval\",\"\",\"\",\"\",\"15 minutes\"\r\n"
            "\"Auxiliary Power\",\"\",\"\",\"\",\"Disabled\"\r\n"
            "\"Tape Recorder\",\"\",\"\",\"\",\"Disabled\"\r\n"
            "\"Short Term Leq\",\"\",\"\",\"\",\"Enabled whilst logging\"\r\n"
            "\"Short Term Leq Length\",\"\",\"\",\"\",\"1 second\"\r\n"
            "\"Start Trigger\",\"\",\"\",\"\",\"N/A\"\r\n"
            "\"Stop Trigger\",\"\",\"\",\"\",\"N/A\"\r\n"
            "\"Master Timer\",\"\",\"\",\"\",\"N/A\"\r\n"
            "\"Sub Timer\",\"\",\"\",\"\",\"N/A\"\r\n"
            "\"Pre-measurement Reference\",\"\",\"\",\"\",94\r\n"
            "\"Post-measurement Reference\",\"\",\"\",\"\",\"NOT TAKEN\"\r\n"
            "\"Engineering Units\",\"\",\"\",\"\",\"dB SPL\"\r\n";
        QCOMPARE(HeaderBlock(Survey(), {QStringLiteral("12-345-678"), English}), expected);
        QCOMPARE(StatisticalHeadingLine(Survey()),
                 QByteArray("\"Date\",\"Time\",\"Leq\",\"Lmax\",\"L1\",\"L5\",\"L10\",\"L33\","
                            "\"L50\",\"L90\",\"L95\",\"L99\",\"Lmin\",\"Temp\",\"Battery\","
                            "\"Overload\"\r\n"));
    }

    // Each case changes the survey and names a value line it must then hold
    // (or, after "!", a line name that must be gone).
    void headerVariants() {
        const struct {
            std::function<void(BufferRecord&)> change;
            QByteArray line;
        } cases[] = {
            {[](BufferRecord& r) { r.start = {}; }, "started at\",\"\",\"\",\"\",\"<Error!>\""},
            {[](BufferRecord& r) { r.auxiliaryMode = 7; }, "!Auxiliary Power"},
            {[](BufferRecord& r) { r.leqMode = 3; }, "!Short Term Leq"},
            {[](BufferRecord& r) { r.leqMode = 0; }, "Length\",\"\",\"\",\"\",\"N/A\""},
            {[](BufferRecord& r) { r.sub.type = 12; }, "!Sub Timer"},
            {[](BufferRecord& r) { r.preReference = 1001; }, "\"\",100.1\r\n"},
            {[](BufferRecord& r) { r.tapeEnabled = true, r.tapeType = 1; },
             "\"DAT recorder enabled on trigger\""},
            {[](BufferRecord& r) { r.tapeEnabled = true; }, "\"Analogue tape enabled on trigger\""},
            // Anything on trigger brings the trigger texts in.
            {[](BufferRecord& r) {
                 r.leqMode = 2, r.startTriggerType = 1, r.startSplLevel = 70, r.startSeconds = 1;
             },
             "\"When the SPL exceeds 70dB continuously for 1 second.\""},
            {[](BufferRecord& r) {
                 r.auxiliaryMode = 2, r.startTriggerType = 4, r.startPercentile = 90;
                 r.startLLevel = 50;
             },
             "\"When the L90 over a statistical interval under 50dB.\""},
            {[](BufferRecord& r) { r.tapeEnabled = true, r.startTriggerType = 5; },
             "\"When the remote switch is pressed.\""},
            {[](BufferRecord& r) {
                 r.leqMode = 2, r.stopTriggerType = 2, r.stopSplLevel = 60, r.stopSeconds = 5;
             },
             "\"When the SPL remains under 60dB continuously for 5 seconds.\""},
            {[](BufferRecord& r) { r.leqMode = 2, r.stopTriggerType = 6, r.stopMinutes = 1; },
             "\"After 1 minute has elapsed.\""},
            {[](BufferRecord& r) { r.leqMode = 1, r.auxiliaryMode = 1, r.startTriggerType = 5; },
             "Start Trigger\",\"\",\"\",\"\",\"N/A\""},
            {[](BufferRecord& r) {
                 r.master = {1, At(2003, 1, 1, 0, 5, 0), At(2003, 1, 1, 0, 45, 0)};
             },
             "\"Hourly.  Logging between 5 and 45 minutes past the hour.\""},
            {[](BufferRecord& r) {
                 r.master = {2, At(2003, 1, 1, 8, 5, 0), At(2003, 1, 1, 0, 45, 0)};
             },
             "\"Daily.  Logging between 08:05 and 00:45.\""},
            {[](BufferRecord& r) {
                 r.sub = {3, At(2003, 1, 1, 8, 0, 0), At(2003, 1, 1, 17, 30, 0), 1, 5};
             },
             "\"Weekly.  Logging between 08:00 on Monday and 17:30 on Friday.\""},
            {[](BufferRecord& r) {
                 r.sub = {3, At(2003, 1, 1, 8, 0, 0), {}, 0, 200};
             },
             "\"Weekly.  Logging between 08:00 on Sunday and 00:00 on 200.\""},
            {[](BufferRecord& r) {
                 r.master = {4, At(2003, 5, 1, 8, 0, 0), UnsetDateTime()};
             },
             "\"One Shot. Logging will start 08:00:00 , 01/05/2003 and stop .\""},
        };
        for (const auto& test : cases) {
            BufferRecord record = Survey();
            test.change(record);
            const QByteArray block = HeaderBlock(record, {{}, English});
            if (test.line.startsWith('!'))
                QVERIFY2(!block.contains(test.line.mid(1)), test.line);
            else
                QVERIFY2(block.contains(test.line), test.line);
        }
    }

    void transferTexts() {
        QCOMPARE(ProgressPercent(37, 100), 37);
        QCOMPARE(ProgressPercent(1, 8), 12); // 12.5: halves to even
        QCOMPARE(ProgressPercent(3, 8), 38); // 37.5
        QCOMPARE(ProgressPercent(0, 0), 100);
        QCOMPARE(ProgressText(5, 9, true), QStringLiteral("Received blocks 5 of 9"));
        QCOMPARE(TimeTakenText(75 * 60), QStringLiteral("01:15:00"));
        QCOMPARE(BaseNameFromChosenFile("/d/survey_Sta.csv"), QStringLiteral("/d/survey"));
        QCOMPARE(BaseNameFromChosenFile("/d/survey_Leq0.csv"), QStringLiteral("/d/survey"));
        QCOMPARE(BaseNameFromChosenFile("/d/survey_Leq12.csv"), QStringLiteral("/d/survey_Leq12"));
        QCOMPARE(BaseNameFromChosenFile("/my.data/survey"), QStringLiteral("/my.data/survey"));
    }
};

QTEST_GUILESS_MAIN(TestDataFileFormat)
#include "test_datafileformat.moc"
