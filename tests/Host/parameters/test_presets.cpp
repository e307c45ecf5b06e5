// The presets and the current set in a real settings file: an empty store,
// round trips, the preset list lines, junk and values the logger's bytes
// cannot carry (each takes its field's default alone), an unwritable store.
#include "ParameterKeys.h"
#include "Presets.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTest>

namespace {
QSettings Store() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, ParameterKeys::Application,
                     ParameterKeys::Application);
}
} // namespace

class TestPresets : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QSettings store = Store();
        store.clear();
        store.sync();
    }

    void emptyStore() {
        const Presets presets = LoadAllPresets();
        QCOMPARE(presets.table, PresetTable{});
        QCOMPARE(presets.current, DefaultParameterSet());
        QCOMPARE(presets.index, 0);
        QCOMPARE(PresetListLines(presets.table, 40).first(), "1: Default Setting");
    }

    void roundTrip() {
        PresetTable table;
        table[2].Title = "Night survey, ĉi tie";
        table[2].Frequency = false;
        table[2].TapeUse = true;
        table[2].LIndices[2] = 20;
        table[3].Title = QString(45, 'x');
        QVERIFY(SaveAllPresets(table));
        ParameterSet current = table[2];
        current.iTriggerStart = 4;
        QVERIFY(SaveCurrentSet(current, -1));

        const Presets presets = LoadAllPresets();
        QCOMPARE(presets.table, table);
        QCOMPARE(presets.current, current);
        QCOMPARE(presets.index, -1);
        QCOMPARE(PresetListLines(presets.table, 40).last(), "4: " + QString(37, 'x'));
        const QSettings store = Store();
        QCOMPARE(store.value("Settings2/Frequency").toString(), "False");
        QCOMPARE(store.value("Settings2/TapeUse").toString(), "True");
        QCOMPARE(store.value("Settings2/LIndices3").toString(), "20");
    }

    void junk() {
        const struct {
            const char *key, *stored, *read; // read: as written back
        } cases[] = {
            {"Interval", "abc", "15"},      {"SplStopTime", "70000", "1"},   // beyond 16 bits
            {"Interval", "0", "15"},        {"Interval", "7", "7"},          // unlisted but fits
            {"LeqLength", "0", "1"},        {"LeqLength", "64", "1"},        // over its 6 bits
            {"LeqOption", "3", "0"},        {"SplStartLevel", "3277", "70"}, // tenths > word
            {"TimeStop", "256", "15"},      {"LIndices3", "300", "10"},
            {"TimeWeight", "TRUE", "True"}, {"Frequency", "yes", "True"},
        };
        for (const auto& c : cases) {
            {
                QSettings store = Store();
                store.setValue(QString("Settings1/") + c.key, c.stored);
                store.setValue("Settings1/Auxiliary", "2"); // a neighbour keeps its value
            }
            const ParameterSet set = ReadParameterSet("Settings1");
            QCOMPARE(set.Auxiliary, 2);
            QVERIFY(WriteParameterSet(set, "Settings3"));
            QCOMPARE(Store().value(QString("Settings3/") + c.key).toString(), c.read);
        }
    }

    void junkIndex() {
        Store().setValue("Settings/Index", "9");
        QCOMPARE(LoadAllPresets().index, 0);
    }

    // The file's place is taken by a folder: nothing can be written there.
    void unwritableStore() {
        const QString file = Store().fileName();
        QFile::remove(file);
        QVERIFY(QDir().mkpath(file));
        QVERIFY(!WriteParameterSet({}, "SettingCurrent"));
        QVERIFY(!SaveAllPresets({}));
        QVERIFY(!SaveCurrentSet({}, 1));
        QCOMPARE(ReadParameterSet("SettingCurrent"), DefaultParameterSet());
        QVERIFY(QDir(file).removeRecursively());
    }
};

QTEST_GUILESS_MAIN(TestPresets)
#include "test_presets.moc"
