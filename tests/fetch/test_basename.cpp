// The fields of --base: filled in, escaped, and safe as path components
// whatever title the logger holds.
#include "BaseName.h"

#include <QTest>

class TestBaseName : public QObject {
    Q_OBJECT

private slots:
    void expands_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<qint16>("buffer");
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("started");
        QTest::addColumn<QString>("expected");
        const QString title = QStringLiteral("  Site A/North  ");
        QTest::newRow("every field")
            << "/srv/{serial}/{start}_{buffer}_{title}" << qint16(3) << title << true
            << "/srv/16-498-400/20041103-080005_3_Site_A_North";
        QTest::newRow("braces") << "x{{y}}{{{buffer}}}" << qint16(2) << title << true << "x{y}{2}";
        QTest::newRow("whole memory, unstarted")
            << "{buffer}-{start}" << qint16(0) << title << false << "memory-unstarted";
        QTest::newRow("a title that climbs out")
            << "/srv/{title}/x" << qint16(1) << ".." << true << "/srv/__/x";
        QTest::newRow("a hidden title") << "{title}" << qint16(1) << ".config" << true << "_config";
        QTest::newRow("no title") << "{title}" << qint16(1) << "                " << true
                                  << "untitled";
        QTest::newRow("letters kept")
            << "{title}" << qint16(1) << "Stra\u00dfe 7.b-c_d" << true << "Stra\u00dfe_7.b-c_d";
    }
    void expands() {
        QFETCH(QString, pattern);
        QFETCH(qint16, buffer);
        QFETCH(QString, title);
        QFETCH(bool, started);
        QFETCH(QString, expected);
        const BaseFields fields{.serial = "16-498-400",
                                .buffer = buffer,
                                .start = started ? LoggerDateTime{2004, 11, 3, 8, 0, 5}
                                                 : UnsetDateTime(),
                                .title = title};
        const ExpandedBase expanded = ExpandBase(pattern, fields);
        QCOMPARE(expanded.error, QString());
        QCOMPARE(expanded.base, expected);
    }

    void refusesWhatItCannotFill_data() {
        QTest::addColumn<QString>("pattern");
        QTest::newRow("unknown field") << "/srv/{site}";
        QTest::newRow("unclosed") << "/srv/{serial";
        QTest::newRow("lone closing brace") << "/srv/}";
    }
    void refusesWhatItCannotFill() {
        QFETCH(QString, pattern);
        QVERIFY(!ExpandBase(pattern, {}).error.isEmpty());
    }

    void namesEachBuffer_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<bool>("each");
        QTest::newRow("buffer") << "site_{buffer}" << true;
        QTest::newRow("start") << "{start}/site" << true;
        QTest::newRow("serial and title") << "{serial}/{title}" << false;
        QTest::newRow("escaped") << "site{{buffer}}" << false;
    }
    void namesEachBuffer() {
        QFETCH(QString, pattern);
        QFETCH(bool, each);
        QCOMPARE(BaseNamesEachBuffer(pattern), each);
    }
};

QTEST_GUILESS_MAIN(TestBaseName)
#include "test_basename.moc"
