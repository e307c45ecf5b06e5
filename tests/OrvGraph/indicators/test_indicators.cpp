// The noise indicators' formulas on hand-made data: energy averages, missing and
// overloaded records, the period each record belongs to, when Lden is given, the
// calibration check; and the record length and levels of real files through the
// reader.

#include "DataFileReader.h"
#include "DataFileWriter.h"
#include "DateSerial.h"
#include "NoiseIndicators.h"

#include <QTemporaryDir>
#include <QTest>

#include <functional>

namespace {

constexpr double kMissing = -0.1;
const QDate kDay(2024, 5, 27);

QDateTime at(int hour, int minute, int dayOffset = 0) {
    return QDateTime(kDay.addDays(dayOffset), QTime(hour, minute), Qt::UTC);
}

double serial(const QDateTime& time) {
    return DateSerial::fromDateTime(time);
}

// A statistical file's content as the reader gives it: Leq, Lmax, two
// percentiles, Lmin and the overload flag, with the header lines the
// indicators read.
GraphData statistical(int intervalMinutes = 15, const QString& pre = QStringLiteral("94"),
                      const QString& post = QStringLiteral("94")) {
    GraphData data;
    data.headers = {{QStringLiteral("Logger Serial Number"), QStringLiteral("70412")},
                    {QStringLiteral("Statistical Interval"),
                     intervalMinutes == 1 ? QStringLiteral("1 minute")
                                          : QStringLiteral("%1 minutes").arg(intervalMinutes)},
                    {QStringLiteral("Short Term Leq Length"), QStringLiteral("N/A")},
                    {QStringLiteral("Pre-measurement Reference"), pre},
                    {QStringLiteral("Post-measurement Reference"), post}};
    for (const char* name : {"Leq", "Lmax", "L10", "L90", "Lmin", "Overload"}) {
        DataSet set;
        set.name = QString::fromLatin1(name);
        data.sets << set;
    }
    return data;
}

// Lmax 10 dB over the Leq, L10 3 dB over, L90 5 dB under, Lmin 10 dB under;
// a missing Leq leaves the others measured.
void add(GraphData& data, const QDateTime& stamp, double leq, bool overloaded = false) {
    const double level = leq == kMissing ? 50.0 : leq;
    data.times.push_back(serial(stamp));
    const double values[] = {leq,       level + 10, level + 3,
                             level - 5, level - 10, overloaded ? 20.0 : 0.0};
    for (qsizetype k = 0; k < data.setCount(); ++k)
        data.sets[k].values.push_back(float(values[k]));
}

// Records every interval from the one stamped first to the one stamped last,
// each at the level the function gives for its stamp.
void fill(GraphData& data, const QDateTime& first, const QDateTime& last, int minutes,
          const std::function<double(const QDateTime&)>& level) {
    for (QDateTime stamp = first; stamp <= last; stamp = stamp.addSecs(minutes * 60))
        add(data, stamp, level(stamp));
}

NoiseIndicators wholeFile(const GraphData& data, const IndicatorOptions& options = {}) {
    return computeIndicators(data, wholeFileRange(data), options);
}

// Whole days of the default periods at these levels, the night at its own.
double periodLevel(const QDateTime& stamp, double day, double evening, double night) {
    const int startHour = stamp.addSecs(-15 * 60).time().hour();
    if (startHour >= 7 && startHour < 19)
        return day;
    return startHour >= 19 && startHour < 23 ? evening : night;
}

void compareLevel(std::optional<double> actual, std::optional<double> expected) {
    QCOMPARE(actual.has_value(), expected.has_value());
    if (expected)
        QCOMPARE(std::round(*actual * 10.0) / 10.0, *expected);
}

} // namespace

using Levels = QList<double>;
using OptionalLevel = std::optional<double>;

class IndicatorsTest : public QObject {
    Q_OBJECT
private slots:
    void energyAverage_data() {
        QTest::addColumn<Levels>("levels");
        QTest::addColumn<OptionalLevel>("leq");
        QTest::addColumn<int>("missing");
        QTest::newRow("constant") << Levels{55, 55, 55, 55} << OptionalLevel(55.0) << 0;
        QTest::newRow("60 and 70") << Levels{60, 70} << OptionalLevel(67.4) << 0;
        QTest::newRow("missing left out") << Levels{60, kMissing, 70} << OptionalLevel(67.4) << 1;
        QTest::newRow("all missing") << Levels{kMissing, kMissing} << OptionalLevel() << 2;
    }
    void energyAverage() {
        QFETCH(Levels, levels);
        QFETCH(OptionalLevel, leq);
        QFETCH(int, missing);
        GraphData data = statistical();
        for (qsizetype i = 0; i < levels.size(); ++i)
            add(data, at(10, 15 * int(i + 1)), levels[i]);
        const NoiseIndicators figures = wholeFile(data);
        compareLevel(figures.leq, leq);
        QCOMPARE(figures.records, levels.size());
        QCOMPARE(figures.missing, missing);
    }

    // Four 15-minute records, one without a level, one overloaded.
    void countsExtremesAndMeans() {
        GraphData data = statistical();
        add(data, at(10, 15), 50);
        add(data, at(10, 30), kMissing);
        add(data, at(10, 45), 70, true);
        add(data, at(11, 0), 60);
        const NoiseIndicators figures = wholeFile(data);
        QCOMPARE(figures.records, 4);
        QCOMPARE(figures.missing, 1);
        QCOMPARE(figures.overloads, 1);
        QCOMPARE(figures.coverage, OptionalLevel(0.75));
        compareLevel(figures.lmax, 80.0);
        compareLevel(figures.lmin, 40.0);
        QCOMPARE(figures.percentiles.size(), 2);
        QCOMPARE(figures.percentiles[0].name, QStringLiteral("L10"));
        compareLevel(figures.percentiles[0].mean, (53.0 + 53 + 73 + 63) / 4);
        QCOMPARE(figures.percentiles[1].name, QStringLiteral("L90"));
    }

    // The range holds the records whose interval starts in it.
    void rangeHoldsIntervalStarts_data() {
        QTest::addColumn<QDateTime>("from");
        QTest::addColumn<QDateTime>("to");
        QTest::addColumn<int>("records");
        QTest::addColumn<double>("coverage");
        QTest::newRow("day period") << at(7, 0) << at(19, 0) << 48 << 1.0;
        QTest::newRow("an hour") << at(12, 0) << at(13, 0) << 4 << 1.0;
        QTest::newRow("past the data") << at(18, 0) << at(20, 0) << 4 << 0.5;
    }
    void rangeHoldsIntervalStarts() {
        QFETCH(QDateTime, from);
        QFETCH(QDateTime, to);
        QFETCH(int, records);
        QFETCH(double, coverage);
        GraphData data = statistical();
        fill(data, at(6, 15), at(19, 0), 15, [](const QDateTime&) { return 50.0; });
        const NoiseIndicators figures = computeIndicators(data, {serial(from), serial(to)});
        QCOMPARE(figures.records, records);
        QCOMPARE(figures.coverage, OptionalLevel(coverage));
    }

    // A record belongs to the period holding the start of its interval; a night
    // to the day on which it starts.
    void recordPeriod_data() {
        QTest::addColumn<QDateTime>("stamp");
        QTest::addColumn<int>("minutes");
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("period");
        QTest::newRow("07:00 is night before") << at(7, 0) << 15 << kDay.addDays(-1) << "night";
        QTest::newRow("07:15 is day") << at(7, 15) << 15 << kDay << "day";
        QTest::newRow("19:00 is day") << at(19, 0) << 15 << kDay << "day";
        QTest::newRow("23:00 is evening") << at(23, 0) << 15 << kDay << "evening";
        QTest::newRow("23:15 is night") << at(23, 15) << 15 << kDay << "night";
        QTest::newRow("00:15 is night before") << at(0, 15) << 15 << kDay.addDays(-1) << "night";
        QTest::newRow("07:01 of 1 minute is day") << at(7, 1) << 1 << kDay << "day";
        QTest::newRow("08:00 of an hour is day") << at(8, 0) << 60 << kDay << "day";
    }
    void recordPeriod() {
        QFETCH(QDateTime, stamp);
        QFETCH(int, minutes);
        QFETCH(QDate, date);
        QFETCH(QString, period);
        GraphData data = statistical(minutes);
        add(data, stamp, 60);
        const NoiseIndicators figures = wholeFile(data);
        QCOMPARE(figures.days.size(), 1);
        const DayIndicators& day = figures.days[0];
        QCOMPARE(day.date, date);
        QCOMPARE(day.day.has_value(), period == u"day");
        QCOMPARE(day.evening.has_value(), period == u"evening");
        QCOMPARE(day.night.has_value(), period == u"night");
        QVERIFY(!day.den);
    }

    // A day from 07:15 to the next 07:00 at the levels given, less the records
    // whose stamps are listed as gaps.
    void denOnlyWhenCoveredWhole_data() {
        QTest::addColumn<Levels>("dayEveningNight");
        QTest::addColumn<QList<QDateTime>>("gaps");
        QTest::addColumn<OptionalLevel>("lden");
        QTest::addColumn<OptionalLevel>("levening");
        QTest::newRow("whole day") << Levels{60, 55, 50} << QList<QDateTime>{}
                                   << OptionalLevel(60.0) << OptionalLevel(55.0);
        QTest::newRow("constant") << Levels{50, 50, 50} << QList<QDateTime>{} << OptionalLevel(56.4)
                                  << OptionalLevel(50.0);
        QTest::newRow("one record short") << Levels{60, 55, 50} << QList<QDateTime>{at(12, 0)}
                                          << OptionalLevel(60.0) << OptionalLevel(55.0);
        QTest::newRow("two records short")
            << Levels{60, 55, 50} << QList<QDateTime>{at(12, 0), at(12, 15)} << OptionalLevel()
            << OptionalLevel(55.0);
        QList<QDateTime> evening;
        for (QDateTime stamp = at(19, 15); stamp <= at(23, 0); stamp = stamp.addSecs(900))
            evening << stamp;
        QTest::newRow("no evening")
            << Levels{60, 55, 50} << evening << OptionalLevel() << OptionalLevel();
        QTest::newRow("evening missing")
            << Levels{60, kMissing, 50} << QList<QDateTime>{} << OptionalLevel() << OptionalLevel();
    }
    void denOnlyWhenCoveredWhole() {
        QFETCH(Levels, dayEveningNight);
        QFETCH(QList<QDateTime>, gaps);
        QFETCH(OptionalLevel, lden);
        QFETCH(OptionalLevel, levening);
        GraphData data = statistical();
        for (QDateTime stamp = at(7, 15); stamp <= at(7, 0, 1); stamp = stamp.addSecs(900))
            if (!gaps.contains(stamp))
                add(data, stamp,
                    periodLevel(stamp, dayEveningNight[0], dayEveningNight[1], dayEveningNight[2]));
        const NoiseIndicators figures = wholeFile(data);
        QCOMPARE(figures.days.size(), 1);
        compareLevel(figures.days[0].day, dayEveningNight[0]);
        compareLevel(figures.days[0].evening, levening);
        compareLevel(figures.days[0].night, dayEveningNight[2]);
        compareLevel(figures.days[0].den, lden);
    }

    // Periods moved an hour earlier: 06:15 is day, Lden weighs the hours.
    void settablePeriods() {
        const IndicatorOptions options{.day = {6, 18}, .evening = {18, 22}, .night = {22, 6}};
        QVERIFY(periodsError(options).isEmpty());
        GraphData data = statistical();
        fill(data, at(6, 15), at(6, 0, 1), 15, [](const QDateTime& stamp) {
            const int hour = stamp.addSecs(-900).time().hour();
            return hour >= 6 && hour < 18 ? 60.0 : hour >= 18 && hour < 22 ? 55.0 : 50.0;
        });
        const NoiseIndicators figures = wholeFile(data, options);
        QCOMPARE(figures.days.size(), 1);
        compareLevel(figures.days[0].day, 60.0);
        compareLevel(figures.days[0].evening, 55.0);
        compareLevel(figures.days[0].night, 50.0);
        compareLevel(figures.days[0].den, 60.0);
        // Weights 14, 2 and 8.
        compareLevel(denLevel(60, 60, 60, {.day = {6, 20}, .evening = {20, 22}, .night = {22, 6}}),
                     66.2);
    }

    void periodsMustTileTheClock_data() {
        QTest::addColumn<HourRange>("day");
        QTest::addColumn<HourRange>("evening");
        QTest::addColumn<HourRange>("night");
        QTest::addColumn<bool>("good");
        QTest::newRow("default") << HourRange{7, 19} << HourRange{19, 23} << HourRange{23, 7}
                                 << true;
        QTest::newRow("gap") << HourRange{7, 18} << HourRange{19, 23} << HourRange{23, 7} << false;
        QTest::newRow("overlap") << HourRange{7, 20} << HourRange{19, 23} << HourRange{23, 7}
                                 << false;
        QTest::newRow("empty") << HourRange{7, 19} << HourRange{19, 19} << HourRange{19, 7}
                               << false;
        QTest::newRow("hour 24") << HourRange{7, 19} << HourRange{19, 24} << HourRange{24, 7}
                                 << false;
    }
    void periodsMustTileTheClock() {
        QFETCH(HourRange, day);
        QFETCH(HourRange, evening);
        QFETCH(HourRange, night);
        QFETCH(bool, good);
        QCOMPARE(periodsError({.day = day, .evening = evening, .night = night}).isEmpty(), good);
    }

    void calibration_data() {
        QTest::addColumn<QString>("pre");
        QTest::addColumn<QString>("post");
        QTest::addColumn<double>("limit");
        QTest::addColumn<OptionalLevel>("drift");
        QTest::addColumn<bool>("flagged");
        QTest::newRow("held") << "94"
                              << "94.3" << 0.5 << OptionalLevel(0.3) << false;
        QTest::newRow("at the limit") << "99.6"
                                      << "100.1" << 0.5 << OptionalLevel(0.5) << false;
        QTest::newRow("rose") << "94"
                              << "94.6" << 0.5 << OptionalLevel(0.6) << true;
        QTest::newRow("fell") << "94"
                              << "93.4" << 0.5 << OptionalLevel(-0.6) << true;
        QTest::newRow("wider limit") << "94"
                                     << "94.6" << 1.0 << OptionalLevel(0.6) << false;
        QTest::newRow("post not taken") << "94"
                                        << "NOT TAKEN" << 0.5 << OptionalLevel() << true;
        QTest::newRow("pre not taken") << "NOT TAKEN"
                                       << "94" << 0.5 << OptionalLevel() << true;
    }
    void calibration() {
        QFETCH(QString, pre);
        QFETCH(QString, post);
        QFETCH(double, limit);
        QFETCH(OptionalLevel, drift);
        QFETCH(bool, flagged);
        GraphData data = statistical(15, pre, post);
        add(data, at(10, 0), 50);
        const CalibrationCheck check = wholeFile(data, {.driftLimit = limit}).calibration;
        compareLevel(check.drift, drift);
        QCOMPARE(check.flagged, flagged);
        QCOMPARE(check.pre.has_value(), pre != u"NOT TAKEN");
    }

    // Files as the download writes them, through the reader: the record length
    // comes from the header of each kind, -.1 is missing, "20" overloaded.
    void realFiles() {
        using namespace DataFileWriter;
        const QLocale locale(QStringLiteral("en_GB"));
        const QDateTime start = at(7, 0);
        std::vector<Row> rows = statisticalRows(start.addSecs(900), 4, 15);
        for (Row& row : rows)
            row.values.back() = 0;
        rows[1].values[0] = kMissing;
        rows[2].values.back() = 20;
        QTemporaryDir dir;
        const QString sta = dir.filePath(QStringLiteral("site_Sta.csv"));
        QVERIFY(writeFile(sta, statisticalFile(locale, typicalHeader(locale, start, at(8, 0), true),
                                               statisticalColumns(), rows)));
        const QString leq = dir.filePath(QStringLiteral("site_Leq0.csv"));
        QVERIFY(writeFile(leq, leqFile(locale, typicalHeader(locale, start, at(8, 0), true),
                                       leqRows(at(18, 59).addSecs(59), 3))));

        ReadOptions options;
        options.locale = locale;
        const ReadResult statisticalRead = readDataFile(sta, options);
        QCOMPARE(statisticalRead.status, ReadResult::Status::Read);
        NoiseIndicators figures = wholeFile(statisticalRead.data);
        QCOMPARE(figures.recordSeconds, OptionalLevel(900));
        QCOMPARE(figures.records, 4);
        QCOMPARE(figures.missing, 1);
        QCOMPARE(figures.overloads,
                 qsizetype(rows[2].values.back() > 0) + qsizetype(rows[0].values.back() > 0) +
                     qsizetype(rows[1].values.back() > 0) + qsizetype(rows[3].values.back() > 0));
        QCOMPARE(figures.percentiles.size(), 8);
        QCOMPARE(figures.coverage, OptionalLevel(0.75));

        const ReadResult leqRead = readDataFile(leq, options);
        QCOMPARE(leqRead.status, ReadResult::Status::Read);
        figures = wholeFile(leqRead.data);
        QCOMPARE(figures.recordSeconds, OptionalLevel(1));
        QCOMPARE(figures.records, 3);
        QVERIFY(figures.percentiles.isEmpty());
        // The seconds stamped 18:59:59 and 19:00:00 are day, 19:00:01 the first of the evening.
        QCOMPARE(figures.days.size(), 1);
        QVERIFY(figures.days[0].day && figures.days[0].evening);
    }
};

QTEST_GUILESS_MAIN(IndicatorsTest)
#include "test_indicators.moc"
