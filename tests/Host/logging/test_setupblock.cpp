// The set-up block sent after "Q": the default set byte for byte, the timers,
// parameters and references in their places, the title as 16 single-byte
// characters, and the reference word for readings that failed.

#include "LoggingSetup.h"

#include <QTest>

Q_DECLARE_METATYPE(LoggingSetup)

namespace {

constexpr int TitleAt = 62;

LoggingSetup Titled(const QString& title) {
    LoggingSetup setup;
    setup.title = title;
    return setup;
}

} // namespace

class TestSetupBlock : public QObject {
    Q_OBJECT

private slots:
    // Default parameters, both timers "No Timer", no reference.
    void defaultBlock() {
        const QByteArray timer = QByteArray::fromHex("00"
                                                     "000101000000"
                                                     "000101000000"
                                                     "0000");
        const QByteArray expected = QByteArray::fromHex("20") + QByteArray(12, char(255)) + timer +
                                    timer + QByteArray::fromHex("0F0100") +
                                    QByteArray::fromHex("01050A19324B5A63") + QByteArray(8, '\0') +
                                    QByteArray("Night survey    ") + QByteArray(4, char(255)) +
                                    QByteArray(1, '\0') + QByteArray(16, '\0');
        QCOMPARE(expected.size(), 99);
        QCOMPARE(SetupBlock(Titled("Night survey")), expected);
    }

    void fields_data() {
        QTest::addColumn<LoggingSetup>("setup");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QByteArray>("bytes");

        LoggingSetup reference;
        reference.preReference = ReferenceLevelWord(940);
        QTest::newRow("pre-reference 94.0 dB") << reference << 78 << QByteArray::fromHex("03AC");
        reference.preReference = ReferenceLevelWord(-1);
        QTest::newRow("pre-reference failed") << reference << 78 << QByteArray::fromHex("FFFF");
        reference.postReference = ReferenceLevelWord(940);
        QTest::newRow("post-reference only with p")
            << reference << 80 << QByteArray::fromHex("FFFF");

        LoggingSetup timers;
        timers.master = OneShotTimer({2004, 3, 1, 8, 0, 0}, {2004, 3, 2, 8, 0, 0});
        timers.sub = WeeklyTimer(1, 9, 30, 5, 17, 0);
        QTest::newRow("master timer") << timers << 13 << EncodeTimer(timers.master);
        QTest::newRow("sub timer") << timers << 28 << EncodeTimer(timers.sub);

        LoggingSetup triggered;
        triggered.parameters.Interval = 5;
        triggered.parameters.Auxiliary = 2;
        triggered.parameters.iTriggerStart = 1;
        triggered.parameters.SplStartLevel = 70;
        triggered.parameters.SplStartTime = 5;
        triggered.parameters.iTriggerStop = 6;
        triggered.parameters.TimeStop = 10;
        QTest::newRow("interval, Leq, auxiliary")
            << triggered << 43 << QByteArray::fromHex("050102");
        QTest::newRow("triggers") << triggered << 54
                                  << QByteArray::fromHex("0102BC05"
                                                         "0600000A");
    }
    void fields() {
        QFETCH(LoggingSetup, setup);
        QFETCH(int, offset);
        QFETCH(QByteArray, bytes);
        const QByteArray block = SetupBlock(setup);
        QCOMPARE(block.size(), 99);
        QCOMPARE(block.mid(offset, bytes.size()), bytes);
    }

    void title_data() {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("10 characters") << "Site north" << QByteArray("Site north      ");
        QTest::newRow("20 characters, cut")
            << "Road junction survey" << QByteArray("Road junction su");
        QTest::newRow("beyond Latin-1") << QString::fromUtf8("Łódź")
                                        << QByteArray("?\xF3"
                                                      "d?            ");
    }
    void title() {
        QFETCH(QString, title);
        QFETCH(QByteArray, bytes);
        const QByteArray block = SetupBlock(Titled(title));
        QCOMPARE(block.size(), 99);
        QCOMPARE(block.mid(TitleAt, 16), bytes);
    }

    // Readings in tenths of a dB; anything a word cannot carry is "not taken".
    void referenceWord_data() {
        QTest::addColumn<int>("tenths");
        QTest::addColumn<int>("word");
        QTest::newRow("94.0 dB") << 940 << 940;
        QTest::newRow("highest") << 32767 << 32767;
        QTest::newRow("failed reading") << -1 << 65535;
        QTest::newRow("beyond a word") << 40000 << 65535;
    }
    void referenceWord() {
        QFETCH(int, tenths);
        QFETCH(int, word);
        QCOMPARE(int(ReferenceLevelWord(tenths)), word);
    }
};

QTEST_GUILESS_MAIN(TestSetupBlock)
#include "test_setupblock.moc"
