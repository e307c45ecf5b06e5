// Axes: the layout, the mappings between time or level and position, the
// automatic level scale (the worked examples), the time steps, the tick rules,
// and the guards for one point, equal ends and unusable steps.

#include "Axes.h"
#include "DateSerial.h"

#include <QGuiApplication>
#include <QTest>

#include <cmath>

namespace {

GraphData dataWith(const QList<std::vector<float>>& columns, const std::vector<double>& times) {
    GraphData data;
    data.times = times;
    for (const auto& values : columns) {
        DataSet set;
        set.values = values;
        data.sets.append(set);
    }
    return data;
}

std::vector<double> minutes(int count) {
    std::vector<double> times;
    for (int i = 0; i < count; ++i)
        times.push_back(37986.0 + i / 1440.0);
    return times;
}

// A plot area of the given size with its view over all of the data.
PlotArea plotOver(const GraphData& data, double width = 500, double height = 300) {
    PlotArea area;
    area.left = 50;
    area.top = 15;
    area.width = width;
    area.height = height;
    area.bottom = area.top + area.height;
    viewAllData(area.timeAxis, data);
    return area;
}

} // namespace

class AxesTest : public QObject {
    Q_OBJECT
private slots:
    void layoutLeavesRoomForLabels();

    // Mappings between time or level and position.
    void timeAndXMapBothWays();
    void levelsOutsideTheAxisLandOnTheEdges();
    void equalEndsDoNotDivideByZero();

    // The view over all data.
    void viewAllData_data();
    void viewAllData();

    // The automatic level scale: the worked examples, hidden sets, guards.
    void levelScaleWorkedExample();
    void levelScaleAllZeros();
    void levelScaleManualMinimumAboveTheData();
    void levelScaleIgnoresHiddenSets();
    void levelScaleEqualValues();
    void levelScaleNegativeLevels();
    void unusableManualStepsAreReplaced_data();
    void unusableManualStepsAreReplaced();
    void minorStepNeverExceedsMajor();

    // Step rules and rounding.
    void snapAndNiceSteps_data();
    void snapAndNiceSteps();
    void roundingTakesHalvesToEven();

    // Time steps.
    void timeStepsFollowWidthAndLabels();
    void zeroRangeGivesOneDaySteps();
    void narrowPlotsStillGiveUsableSteps();

    // Level ticks with and without round-off.
    void levelTicks();
};

void AxesTest::layoutLeavesRoomForLabels() {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    const QFontMetricsF metrics(font);
    const PlotArea area = initPlotArea(QSizeF(640, 400), metrics, 13, 1.0);
    const double lw = std::ceil(metrics.horizontalAdvance(QStringLiteral("222.2")));
    const double line = std::ceil(metrics.height());
    QCOMPARE(area.levelLabelWidth, lw);
    QCOMPARE(area.left, lw + 13);
    QCOMPARE(area.width,
             std::floor(640 - area.left -
                        std::ceil(metrics.horizontalAdvance(QStringLiteral("22/22/2222"))) / 2));
    QCOMPARE(area.top, line);
    QCOMPARE(area.height, std::floor(400 - line * 3 - 13));
    QCOMPARE(area.bottom, area.top + area.height);
    QVERIFY(area.isDrawable());
    // Axis defaults.
    QCOMPARE(area.levelAxis.min, 20.0f);
    QCOMPARE(area.levelAxis.max, 120.0f);
    QVERIFY(area.levelAxis.autoMin && area.levelAxis.roundOff);
    QCOMPARE(area.timeAxis.majorGrid, -1);
    QCOMPARE(area.levelAxis.minorGrid, -1);

    QVERIFY(!initPlotArea(QSizeF(60, 40), metrics, 13, 1.0).isDrawable());
}

void AxesTest::timeAndXMapBothWays() {
    const GraphData data = dataWith({std::vector<float>(11, 50.f)}, minutes(11));
    const PlotArea area = plotOver(data);
    QCOMPARE(timeToX(area, data.times.front()), area.left);
    QCOMPARE(timeToX(area, data.times.back()), area.left + area.width - 1);
    for (const double x : {50.0, 123.0, 300.5, 548.0})
        QVERIFY(std::fabs(timeToX(area, xToTime(area, x)) - x) < 1e-6);
}

void AxesTest::levelsOutsideTheAxisLandOnTheEdges() {
    PlotArea area = plotOver(GraphData());
    area.levelAxis.min = 40;
    area.levelAxis.max = 80;
    QCOMPARE(levelToY(area, 80), area.top);
    QCOMPARE(levelToY(area, 40), area.top + area.height - 1);
    QCOMPARE(levelToY(area, 60), area.top + (area.height - 1) / 2);
    QCOMPARE(levelToY(area, 130), area.top);
    QCOMPARE(levelToY(area, -5), area.top + area.height - 1);
    QVERIFY(std::fabs(yToLevel(area, levelToY(area, 57.3)) - 57.3) < 1e-9);
}

void AxesTest::equalEndsDoNotDivideByZero() {
    PlotArea area = plotOver(dataWith({{50.f}}, {37986.5}));
    QCOMPARE(area.timeAxis.start, area.timeAxis.end);
    QCOMPARE(timeSpan(area.timeAxis), 1.0);
    QCOMPARE(timeToX(area, 37986.5), area.left);
    QVERIFY(std::isfinite(xToTime(area, 300)));
    area.levelAxis.min = area.levelAxis.max = 70;
    QVERIFY(std::isfinite(levelToY(area, 70)));
    QVERIFY(std::isfinite(yToLevel(area, 100)));
    area.width = area.height = 1;
    QVERIFY(std::isfinite(xToTime(area, 60)));
    QVERIFY(std::isfinite(yToLevel(area, 20)));
}

void AxesTest::viewAllData_data() {
    QTest::addColumn<QList<double>>("times");
    QTest::addColumn<int>("last");
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("end");
    QTest::newRow("in order") << QList<double>{1.0, 2.0, 3.0} << 2 << 1.0 << 3.0;
    QTest::newRow("clock set back") << QList<double>{5.0, 6.0, 2.0, 3.0} << 3 << 2.0 << 6.0;
    QTest::newRow("one point") << QList<double>{4.0} << 0 << 4.0 << 4.0;
    QTest::newRow("no points") << QList<double>{} << 0 << 0.0 << 0.0;
}

void AxesTest::viewAllData() {
    QFETCH(QList<double>, times);
    QFETCH(int, last);
    QFETCH(double, start);
    QFETCH(double, end);
    GraphData data;
    data.times.assign(times.begin(), times.end());
    TimeAxis axis;
    axis.first = 7;
    ::viewAllData(axis, data);
    QCOMPARE(axis.first, 0);
    QCOMPARE(axis.last, last);
    QCOMPARE(axis.start, start);
    QCOMPARE(axis.end, end);
}

void AxesTest::levelScaleWorkedExample() {
    // Values between 41.3 and 78.9 dB on a 300-unit-high plot: n = 10, rough =
    // 3.76, major 5; minor = 5 / snap(8) = 0.5.
    const GraphData data = dataWith({{50.f, 41.3f, 60.f}, {78.9f, 55.f, 62.f}}, minutes(3));
    PlotArea area = plotOver(data, 500, 300);
    computeLevelScale(area, data);
    QCOMPARE(area.levelAxis.max, 78.9f);
    QCOMPARE(area.levelAxis.min, 41.3f);
    QCOMPARE(area.levelAxis.majorStep, 5.0f);
    QCOMPARE(area.levelAxis.minorStep, 0.5f);
}

void AxesTest::levelScaleAllZeros() {
    const GraphData data = dataWith({{0.f, 0.f, 0.f}}, minutes(3));
    PlotArea area = plotOver(data);
    computeLevelScale(area, data);
    QCOMPARE(area.levelAxis.min, 0.0f);
    QCOMPARE(area.levelAxis.max, 10.0f);
}

void AxesTest::levelScaleManualMinimumAboveTheData() {
    const GraphData data = dataWith({{30.f, 42.f, 45.f}}, minutes(3));
    PlotArea area = plotOver(data);
    area.levelAxis.autoMin = false;
    area.levelAxis.min = 50;
    computeLevelScale(area, data);
    QCOMPARE(area.levelAxis.min, 50.0f);
    QCOMPARE(area.levelAxis.max, 55.0f);
}

void AxesTest::levelScaleIgnoresHiddenSets() {
    GraphData data = dataWith({{50.f, 60.f}, {120.f, 10.f}}, minutes(2));
    data.sets[1].shown = false;
    PlotArea area = plotOver(data);
    computeLevelScale(area, data);
    QCOMPARE(area.levelAxis.max, 60.0f);
    QCOMPARE(area.levelAxis.min, 50.0f);
}

void AxesTest::levelScaleEqualValues() {
    const GraphData data = dataWith({{60.f, 60.f}}, minutes(2));
    PlotArea area = plotOver(data);
    computeLevelScale(area, data);
    QCOMPARE(area.levelAxis.max, 60.0f);
    QCOMPARE(area.levelAxis.min, 54.0f);
}

void AxesTest::levelScaleNegativeLevels() {
    // Missing levels read -.1: the automatic maximum starts from 0, and a fixed
    // minimum of 0 above them leaves no room for the 1.1 rule.
    const GraphData data = dataWith({{-0.1f, -0.1f}}, minutes(2));
    PlotArea area = plotOver(data);
    computeLevelScale(area, data);
    QCOMPARE(area.levelAxis.max, 0.0f);
    QCOMPARE(area.levelAxis.min, -0.1f);
    area.levelAxis.autoMin = false;
    area.levelAxis.min = 0;
    computeLevelScale(area, data);
    QVERIFY(area.levelAxis.min < area.levelAxis.max);
    area.levelAxis.autoMax = false;
    area.levelAxis.min = -20;
    area.levelAxis.max = -30;
    computeLevelScale(area, data);
    QVERIFY(area.levelAxis.min < area.levelAxis.max);
    QVERIFY(area.levelAxis.majorStep > 0 && area.levelAxis.minorStep > 0);
}

void AxesTest::unusableManualStepsAreReplaced_data() {
    QTest::addColumn<float>("major");
    QTest::addColumn<float>("minor");
    QTest::newRow("zero major") << 0.0f << 1.0f;
    QTest::newRow("zero minor") << 10.0f << 0.0f;
    QTest::newRow("negative both") << -5.0f << -1.0f;
    QTest::newRow("not a number") << std::nanf("") << 1.0f;
}

void AxesTest::unusableManualStepsAreReplaced() {
    QFETCH(float, major);
    QFETCH(float, minor);
    const GraphData data = dataWith({{41.3f, 78.9f}}, minutes(2));
    PlotArea area = plotOver(data);
    area.levelAxis.autoMajor = area.levelAxis.autoMinor = false;
    area.levelAxis.majorStep = major;
    area.levelAxis.minorStep = minor;
    computeLevelScale(area, data);
    QVERIFY(area.levelAxis.majorStep > 0);
    QVERIFY(area.levelAxis.minorStep > 0);
    QVERIFY(area.levelAxis.minorStep <= area.levelAxis.majorStep);
}

void AxesTest::minorStepNeverExceedsMajor() {
    const GraphData data = dataWith({{41.3f, 78.9f}}, minutes(2));
    PlotArea area = plotOver(data);
    area.levelAxis.autoMinor = false;
    area.levelAxis.minorStep = 20;
    computeLevelScale(area, data);
    QCOMPARE(area.levelAxis.minorStep, area.levelAxis.majorStep);
}

void AxesTest::snapAndNiceSteps_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("snap");
    QTest::addColumn<double>("nice");
    QTest::newRow("0") << 0.0 << 1.0 << 0.01;
    QTest::newRow("1") << 1.0 << 1.0 << 2.0;
    QTest::newRow("1.5") << 1.5 << 2.0 << 2.0;
    QTest::newRow("3") << 3.0 << 4.0 << 5.0;
    QTest::newRow("3.76") << 3.76 << 4.0 << 5.0;
    QTest::newRow("5") << 5.0 << 5.0 << 10.0;
    QTest::newRow("8") << 8.0 << 10.0 << 10.0;
    QTest::newRow("12") << 12.0 << 15.0 << 20.0;
    QTest::newRow("16.5") << 16.5 << 16.0 << 20.0;
    QTest::newRow("17.5") << 17.5 << 18.0 << 20.0;
    QTest::newRow("0.015") << 0.015 << 1.0 << 0.02;
    QTest::newRow("49") << 49.0 << 49.0 << 50.0;
    QTest::newRow("75") << 75.0 << 75.0 << 75.0;
}

void AxesTest::snapAndNiceSteps() {
    QFETCH(double, value);
    QFETCH(double, snap);
    QFETCH(double, nice);
    QCOMPARE(snapStep(value), snap);
    QCOMPARE(niceStep(value), nice);
}

void AxesTest::roundingTakesHalvesToEven() {
    QCOMPARE(roundEven(0.5), 0.0);
    QCOMPARE(roundEven(1.5), 2.0);
    QCOMPARE(roundEven(2.5), 2.0);
    QCOMPARE(roundEven(-0.5), -0.0);
    QCOMPARE(roundEven(7.98), 8.0);
}

void AxesTest::timeStepsFollowWidthAndLabels() {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    const QFontMetricsF metrics(font);
    // One day over 500 units: 100 small ticks; the labels that fit decide how
    // many small ticks each labelled one spans.
    const GraphData data = dataWith({{1.f, 2.f}}, {37986.0, 37987.0});
    PlotArea area = plotOver(data, 500, 300);
    computeTimeSteps(area, metrics);
    QCOMPARE(area.timeAxis.minorStep, 1.0 / 100);
    const double labels =
        roundEven(500 / (1.3 * std::ceil(metrics.horizontalAdvance(QStringLiteral("22/22/2222")))));
    const double multiple = snapStep(roundEven((1.0 / labels) / area.timeAxis.minorStep));
    QCOMPARE(area.timeAxis.majorStep, multiple * area.timeAxis.minorStep);
    // Labelled ticks never crowd closer than the labels allow.
    QVERIFY(area.timeAxis.majorStep >= 1.0 / labels - area.timeAxis.minorStep);
}

void AxesTest::zeroRangeGivesOneDaySteps() {
    QFont font(QStringLiteral("DejaVu Sans"));
    const QFontMetricsF metrics(font);
    const GraphData data = dataWith({{1.f, 2.f}}, {37986.25, 37986.25});
    PlotArea area = plotOver(data);
    computeTimeSteps(area, metrics);
    QCOMPARE(area.timeAxis.minorStep, 1.0);
    QCOMPARE(area.timeAxis.majorStep, 1.0);
}

void AxesTest::narrowPlotsStillGiveUsableSteps() {
    QFont font(QStringLiteral("DejaVu Sans"));
    const QFontMetricsF metrics(font);
    for (const double width : {0.0, 1.0, 2.0, 10.0}) {
        for (const double range : {0.0, 0.5}) {
            const GraphData data = dataWith({{1.f, 2.f}}, {37986.0, 37986.0 + range});
            PlotArea area = plotOver(data, width, 300);
            computeTimeSteps(area, metrics);
            QVERIFY(area.timeAxis.minorStep > 0);
            QVERIFY(area.timeAxis.majorStep > 0);
        }
    }
}

void AxesTest::levelTicks() {
    LevelAxis axis;
    axis.min = 41.3f;
    axis.max = 78.9f;
    QVERIFY(std::fabs(firstLevelTick(axis, 0.5) - 41.5) < 1e-9);
    QCOMPARE(firstLevelTick(axis, 5.0), 45.0);
    QVERIFY(isOnLevelTick(axis, 45.0, 5.0));
    QVERIFY(!isOnLevelTick(axis, 46.0, 5.0));
    // Decimal steps that are not exact in binary still fall on their ticks.
    QVERIFY(isOnLevelTick(axis, 0.3, 0.1));
    QVERIFY(isOnLevelTick(axis, 0.7, 0.1));

    axis.roundOff = false;
    QCOMPARE(firstLevelTick(axis, 5.0), double(axis.min));
    QVERIFY(isOnLevelTick(axis, double(axis.min) + 10.0, 5.0));
    QVERIFY(!isOnLevelTick(axis, 45.0, 5.0));

    axis.roundOff = true;
    axis.min = 40.0f;
    QCOMPARE(firstLevelTick(axis, 5.0), 40.0);
    axis.min = -0.1f;
    QVERIFY(std::fabs(firstLevelTick(axis, 0.5)) < 1e-9);
}

QTEST_MAIN(AxesTest)
#include "test_axes.moc"
