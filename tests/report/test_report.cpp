// qn7x-report run as a scheduler runs it: its exit codes, the keys of its JSON
// line, and a round trip from a download of the simulated logger by
// qn7x-fetch, whose manifest proves the file until a byte of it changes.

#include "DataFileWriter.h"
#include "FetchRun.h"

#include <QJsonArray>

namespace {

const QLocale kLocale(QStringLiteral("en_GB"));
const QDateTime kStart(QDate(2024, 5, 27), QTime(7, 0), Qt::UTC);

fetchrun::Run report(const QStringList& arguments) {
    QProcess process;
    process.start(QCoreApplication::applicationDirPath() + QStringLiteral("/qn7x-report"),
                  arguments);
    process.waitForFinished(60000);
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

// A statistical file of a typical download: 15-minute records from 07:15.
bool writeStatistical(const QString& path, int records) {
    using namespace DataFileWriter;
    return writeFile(path, statisticalFile(kLocale,
                                           typicalHeader(kLocale, kStart, kStart.addDays(1), false),
                                           statisticalColumns(),
                                           statisticalRows(kStart.addSecs(15 * 60), records, 15)));
}

QStringList keys(const QJsonObject& object) {
    QStringList names = object.keys();
    names.sort();
    return names;
}

QStringList sorted(QStringList names) {
    names.sort();
    return names;
}

} // namespace

class ReportTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString path(const QString& name) const { return m_dir.filePath(name); }

private slots:
    void initTestCase() {
        QVERIFY(writeStatistical(path(QStringLiteral("site_Sta.csv")), 96));
        QVERIFY(writeStatistical(path(QStringLiteral("empty_Sta.csv")), 0));
        QVERIFY(DataFileWriter::writeFile(path(QStringLiteral("notes_Sta.csv")), "Site notes\r\n"));
    }

    void exitCodes_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<int>("lines");
        const QString good = path(QStringLiteral("site_Sta.csv"));
        QTest::newRow("a file") << QStringList{good, "--json"} << 0 << 1;
        QTest::newRow("two files") << QStringList{good, good, "--json"} << 0 << 2;
        QTest::newRow("help") << QStringList{"--help"} << 0 << -1;
        QTest::newRow("no file") << QStringList{"--json"} << 2 << 0;
        QTest::newRow("unknown option") << QStringList{good, "--fast"} << 2 << 0;
        QTest::newRow("bad date") << QStringList{good, "--from", "27/05/2024"} << 2 << 0;
        QTest::newRow("to before from")
            << QStringList{good, "--from", "2024-05-27T12:00", "--to", "2024-05-27T07:00"} << 2
            << 0;
        QTest::newRow("periods with a gap") << QStringList{good, "--day", "07-18"} << 2 << 0;
        QTest::newRow("bad period") << QStringList{good, "--night", "late"} << 2 << 0;
        QTest::newRow("bad drift limit") << QStringList{good, "--drift-limit", "-1"} << 2 << 0;
        QTest::newRow("no such file")
            << QStringList{path(QStringLiteral("gone_Sta.csv")), "--json"} << 6 << 0;
        QTest::newRow("not a data file")
            << QStringList{path(QStringLiteral("notes_Sta.csv")), "--json"} << 6 << 0;
        QTest::newRow("a folder") << QStringList{m_dir.path(), "--json"} << 6 << 0;
        QTest::newRow("the others still reported")
            << QStringList{path(QStringLiteral("notes_Sta.csv")), good, "--json"} << 6 << 1;
    }
    void exitCodes() {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(int, lines);
        const fetchrun::Run run = report(arguments);
        QCOMPARE(run.exitCode, exitCode);
        if (lines >= 0)
            QCOMPARE(run.out.count('\n'), lines);
        // Every failure says why on one line.
        QCOMPARE(run.err.isEmpty(), exitCode == 0);
    }

    // The keys of the line as documented; what cannot be computed is null.
    void jsonKeys() {
        const fetchrun::Run run = report({path(QStringLiteral("site_Sta.csv")), "--json", "--from",
                                          "2024-05-27T07:00", "--to", "2024-05-27T19:00"});
        QCOMPARE(run.exitCode, 0);
        const QJsonObject line = run.json();
        QCOMPARE(keys(line),
                 sorted({"file",      "serial",   "from",        "to",    "records", "missing",
                         "overloads", "coverage", "Leq",         "Lmax",  "Lmin",    "L1",
                         "L5",        "L10",      "L33",         "L50",   "L90",     "L95",
                         "L99",       "days",     "calibration", "origin"}));
        QCOMPARE(line["serial"].toString(), QStringLiteral("70412"));
        QCOMPARE(line["from"].toString(), QStringLiteral("2024-05-27T07:00:00"));
        QCOMPARE(line["to"].toString(), QStringLiteral("2024-05-27T19:00:00"));
        QCOMPARE(line["records"].toInt(), 48);
        QCOMPARE(line["coverage"].toDouble(), 1.0);
        const double leq = line["Leq"].toDouble();
        QCOMPARE(std::round(leq * 10) / 10, leq);

        const QJsonArray days = line["days"].toArray();
        QCOMPARE(days.size(), 1);
        QCOMPARE(keys(days[0].toObject()), sorted({"date", "Lday", "Levening", "Lnight", "Lden"}));
        QVERIFY(days[0]["Lday"].isDouble());
        QVERIFY(days[0]["Levening"].isNull());
        QVERIFY(days[0]["Lden"].isNull());

        const QJsonObject calibration = line["calibration"].toObject();
        QCOMPARE(keys(calibration), sorted({"pre", "post", "drift", "flagged"}));
        QCOMPARE(calibration["pre"].toDouble(), 94.0);
        QVERIFY(calibration["post"].isNull());
        QVERIFY(calibration["drift"].isNull());
        QCOMPARE(calibration["flagged"].toBool(), true);
        QCOMPARE(line["origin"].toObject(), (QJsonObject{{"state", "none"}}));
    }

    // A header and headings with no records: reported, nothing computed.
    void fileWithoutRecords() {
        const fetchrun::Run run = report({path(QStringLiteral("empty_Sta.csv")), "--json"});
        QCOMPARE(run.exitCode, 0);
        const QJsonObject line = run.json();
        QCOMPARE(line["records"].toInt(), 0);
        for (const char* key : {"from", "to", "coverage", "Leq", "Lmax", "Lmin", "L90"})
            QVERIFY2(line[QLatin1StringView(key)].isNull(), key);
        QVERIFY(line["days"].toArray().isEmpty());
    }

    // Ten records of one minute, Leq 40.1 to 41.0 dB, downloaded with their
    // manifest; then one level of the file altered.
    void roundTripFromADownload() {
        std::unique_ptr<LoggerSimulator> sim = fetchrun::LoggerOnPort(1, {.records = 10});
        QVERIFY(sim);
        const QString base = path(QStringLiteral("download/site"));
        QCOMPARE(
            fetchrun::Fetch({"--buffer", "1", "--base", base, "--date-format", "en_GB"}).exitCode,
            0);
        const QString file = base + QStringLiteral("_Sta.csv");
        fetchrun::Run run = report({file, "--json", "--date-format", "en_GB"});
        QCOMPARE(run.exitCode, 0);
        QJsonObject line = run.json();
        QCOMPARE(line["file"].toString(), file);
        QCOMPARE(line["records"].toInt(), 10);
        QCOMPARE(line["missing"].toInt(), 0);
        QCOMPARE(line["Leq"].toDouble(), 40.6);
        QCOMPARE(line["Lmin"].isDouble(), true);
        QCOMPARE(line["days"].toArray().size(), 1);
        QCOMPARE(line["days"][0][u"date"].toString(), QStringLiteral("2004-03-01"));
        QCOMPARE(line["calibration"][u"flagged"].toBool(), true);
        QJsonObject origin = line["origin"].toObject();
        QCOMPARE(origin["state"].toString(), QStringLiteral("verified"));
        QCOMPARE(origin["serial"].toString(), line["serial"].toString());
        QCOMPARE(origin["buffer"].toInt(), 1);
        QVERIFY(QDateTime::fromString(origin["downloaded"].toString(), Qt::ISODate).isValid());

        QByteArray bytes = fetchrun::Contents(file);
        const qsizetype level = bytes.indexOf(",40.1,");
        QVERIFY(level > 0);
        bytes.replace(level, 6, ",40.2,");
        QVERIFY(DataFileWriter::writeFile(file, bytes));
        run = report({file, "--json", "--date-format", "en_GB"});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.json()["origin"][u"state"].toString(), QStringLiteral("changed"));

        // The readable report says the same.
        run = report({file, "--date-format", "en_GB"});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.out.contains("changed since download"));
    }
};

QTEST_GUILESS_MAIN(ReportTest)
#include "test_report.moc"
