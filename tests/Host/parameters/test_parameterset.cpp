// A parameter set's memory use per second and its bytes for the logger: the
// trigger section is 8 bytes whatever the codes, and zero unless an output
// runs on trigger.
#include "MemoryRate.h"
#include "ParameterSet.h"

#include <QTest>

class TestParameterSet : public QObject {
    Q_OBJECT

private slots:
    void rate() {
        const struct {
            int interval, leqOption, leqLength;
            double bytesPerSecond;
        } cases[] = {
            {15, 0, 1, 34.0 / 900}, {1, 1, 1, 34.0 / 60 + 34.0 / 12},
            {1, 2, 1, 34.0 / 60},   {1, 1, 10, 34.0 / 60 + 34.0 / 120},
            {0, 0, 1, 0}, // values no logger set can have: no estimate
            {15, 1, 0, 0},
        };
        for (const auto& c : cases)
            QVERIFY(qAbs(MemoryRateOf(c.interval, c.leqOption, c.leqLength) - c.bytesPerSecond) <
                    1e-9);
        QCOMPARE(MemoryRate(DefaultParameterSet()), MemoryRateOf(15, 0, 1));
    }

    void triggers() {
        const struct {
            qint16 start, stop, auxiliary;
            bool tape;
            const char* hex;
        } cases[] = {
            {5, 6, 2, false, "050000000600000F"}, // remote switch, after 15 minutes
            {1, 2, 0, true, "0102BC0102025801"},  // SPL over 70 for 1 s, under 60 for 1 s
            {3, 0, 2, false, "0302BC3200000000"}, // a code without values is padded
            {1, 2, 1, false, "0000000000000000"}, // no output on trigger
        };
        for (const auto& c : cases) {
            ParameterSet set;
            set.iTriggerStart = c.start;
            set.iTriggerStop = c.stop;
            set.Auxiliary = c.auxiliary;
            set.TapeUse = c.tape;
            QCOMPARE(EncodeParameterFields(set).triggers.toHex().toUpper(), c.hex);
        }
    }

    void fields() {
        const ParameterFields defaults = EncodeParameterFields(DefaultParameterSet());
        QCOMPARE(defaults.flags + defaults.interval + defaults.leq + defaults.auxiliary +
                     defaults.percentiles + defaults.tapePower,
                 QByteArray::fromHex("200F0100"
                                     "01050A19324B5A63"
                                     "00"));
        ParameterSet set;
        set.Frequency = false;
        set.TimeWeight = set.TapeUse = true;
        set.TapeType = 1;
        set.TapePower = 3;
        set.Interval = 60;
        set.LeqOption = 1;
        set.LeqLength = 10;
        set.Auxiliary = 1;
        const ParameterFields fields = EncodeParameterFields(set);
        QCOMPARE(fields.flags + fields.interval + fields.leq + fields.auxiliary + fields.tapePower,
                 QByteArray::fromHex("193C4A0103")); // slow, tape, DAT
    }
};

QTEST_GUILESS_MAIN(TestParameterSet)
#include "test_parameterset.moc"
