// Drawing into an image and reading the pixels back: the plot frame, ticks and
// labels where the layout puts them, each data set's line with its colour,
// weight and style, the min/max columns of a long view, grid lines, no
// antialiasing, and the guards for one point, tiny surfaces and absurd steps.

#include "Axes.h"
#include "DateSerial.h"
#include "GraphPainter.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QTest>

#include <cmath>
#include <functional>
#include <set>

namespace {

const QColor kBackground(212, 208, 200);
const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kRed = qRgb(255, 0, 0);
const QRgb kGreen = qRgb(0, 128, 0);

QFont testFont() {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    return font;
}

int px(double value) {
    return int(std::floor(value + 0.5));
}

struct Drawing {
    QImage image;
    PlotArea area;
    QRgb at(int x, int y) const { return image.pixel(x, y) | 0xFF000000u; }
    bool isDark(int x, int y) const { return qGray(image.pixel(x, y)) < 128; }
    int left() const { return px(area.left); }
    int top() const { return px(area.top); }
    int right() const { return px(area.left + area.width) - 1; }
    int lowest() const { return px(area.top + area.height) - 1; }
    int bottom() const { return px(area.bottom); }
    int xOf(double time) const { return px(timeToX(area, time)); }
    int yOf(double level) const { return px(levelToY(area, level)); }
    // Dark pixels anywhere in the rectangle.
    bool anyDark(const QRect& rect) const {
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            for (int x = rect.left(); x <= rect.right(); ++x)
                if (image.rect().contains(x, y) && isDark(x, y))
                    return true;
        return false;
    }
    int countInColumn(int x, QRgb colour) const {
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            count += at(x, y) == colour;
        return count;
    }
};

Drawing draw(const GraphData& data, const std::function<void(PlotArea&)>& adjust = {},
             QSize size = QSize(700, 450), std::function<void(int)> progress = {}) {
    Drawing drawing{QImage(size, QImage::Format_RGB32), {}};
    QPainter painter(&drawing.image);
    painter.setFont(testFont());
    drawing.area = initPlotArea(QSizeF(size), QFontMetricsF(testFont(), &drawing.image), 13, 1.0);
    viewAllData(drawing.area.timeAxis, data);
    if (adjust)
        adjust(drawing.area);
    GraphPainter graph(painter, QLocale(QStringLiteral("en_GB")));
    graph.setProgress(std::move(progress));
    graph.redraw(drawing.area, data, kBackground);
    return drawing;
}

// One set per list of values, at one-minute steps from 1 January 2004 00:00.
GraphData series(const QList<std::vector<float>>& columns, double stepDays = 1.0 / 1440) {
    GraphData data;
    const size_t count = columns.isEmpty() ? 0 : columns.first().size();
    for (size_t i = 0; i < count; ++i)
        data.times.push_back(DateSerial::fromDate(QDate(2004, 1, 1)) + double(i) * stepDays);
    for (const auto& values : columns) {
        DataSet set;
        set.values = values;
        set.colour = kRed;
        data.sets.append(set);
    }
    return data;
}

std::vector<float> randomLevels(int count, quint32 seed) {
    QRandomGenerator random(seed);
    std::vector<float> values;
    for (int i = 0; i < count; ++i)
        values.push_back(float(40.0 + random.bounded(30.0)));
    return values;
}

void fixLevels(PlotArea& area, float min, float max) {
    area.levelAxis.autoMin = area.levelAxis.autoMax = false;
    area.levelAxis.min = min;
    area.levelAxis.max = max;
}

} // namespace

class DrawingTest : public QObject {
    Q_OBJECT
private slots:
    // Frame, ticks, labels.
    void frameOnWhiteOverBackground();
    void timeTicksAndLabels();
    void levelTicksAndLabels();

    // Data lines.
    void fewPointsDrawAJoinedLine();
    void manyPointsDrawOneColumnPerUnit();
    void columnsKeepEachColumnsExtremes();
    void hiddenSetsLeaveNoLine();
    void colourWeightAndStyle();
    void levelsOutsideTheAxisDrawOnTheEdge();
    void dataLinesAreNotAntialiased();
    void denseTimesThatGoBackDrawWhereTheyAre();
    void columnsEndAtTheLastInnerColumn();
    void brokenStylesStayBroken_data();
    void brokenStylesStayBroken();

    // Grid lines.
    void gridLines();

    // Guards and progress.
    void onePointAndOneInstant();
    void tinySurfaceDrawsNothing();
    void absurdStepsEnd();
    void noDataSetsDrawsNoPlot();
    void progressPerDataSet();
};

void DrawingTest::frameOnWhiteOverBackground() {
    const Drawing d = draw(series({{45.f, 55.f}}), [](PlotArea& area) { fixLevels(area, 0, 100); });
    QCOMPARE(d.at(d.left(), d.top()), kBlack);
    QCOMPARE(d.at(d.right(), d.top()), kBlack);
    QCOMPARE(d.at(d.left(), d.lowest()), kBlack);
    QCOMPARE(d.at(d.right(), d.lowest()), kBlack);
    QCOMPARE(d.at((d.left() + d.right()) / 2, d.top()), kBlack);
    QCOMPARE(d.at((d.left() + d.right()) / 2, d.top() + 1), kWhite);
    QCOMPARE(d.at(d.left() + 1, d.lowest() - 1), kWhite);
    QCOMPARE(d.at(2, 2), kBackground.rgb());
    QCOMPARE(d.at(d.right() + 3, d.top() + 5), kBackground.rgb());
    QCOMPARE(d.at(d.left() + 5, d.top() - 2), kBackground.rgb());
}

void DrawingTest::timeTicksAndLabels() {
    // One day of data: ticks every few minutes, labels every few hours.
    const Drawing d = draw(series({{40.f, 60.f}}, 1.0));
    const TimeAxis& axis = d.area.timeAxis;
    const int perMajor = int(std::lround(axis.majorStep / axis.minorStep));
    QVERIFY(perMajor >= 1);
    const int ticks = int(std::floor(timeSpan(axis) / axis.minorStep + 1e-6));
    QVERIFY(ticks > 10);
    const int lineHeight = int(std::ceil(QFontMetricsF(testFont()).height()));
    int labels = 0;
    for (int i = 0; i <= ticks; ++i) {
        const int x = d.xOf(axis.start + i * axis.minorStep);
        QVERIFY2(d.at(x, d.bottom()) == kBlack, qPrintable(QString("tick %1").arg(i)));
        QCOMPARE(d.at(x, d.bottom() + 5), kBlack);
        if (i % perMajor == 0) {
            QCOMPARE(d.at(x, d.bottom() + 12), kBlack);
            // Time above date, centred under the tick.
            QVERIFY(d.anyDark(QRect(x - 15, d.bottom() + 13, 30, lineHeight)));
            QVERIFY(d.anyDark(QRect(x - 15, d.bottom() + 13 + lineHeight, 30, lineHeight)));
            ++labels;
        } else {
            QCOMPARE(d.at(x, d.bottom() + 9), kBackground.rgb());
        }
    }
    QVERIFY(labels >= 2);
    // Between two labels, below the ticks, nothing is drawn.
    const int firstLabel = d.xOf(axis.start);
    const int secondLabel = d.xOf(axis.start + axis.majorStep);
    const int gap = (firstLabel + secondLabel) / 2;
    QVERIFY(!d.anyDark(QRect(gap - 1, d.bottom() + 14, 3, 2 * lineHeight - 2)));
}

void DrawingTest::levelTicksAndLabels() {
    const Drawing d = draw(series({{41.3f, 60.f, 78.9f}}));
    const LevelAxis& axis = d.area.levelAxis;
    QCOMPARE(axis.min, 41.3f);
    const int axisX = d.left() - 1;
    const int lineHeight = int(std::ceil(QFontMetricsF(testFont()).height()));
    int majors = 0;
    for (double v = firstLevelTick(axis, axis.majorStep); v <= axis.max + 1e-6;
         v += axis.majorStep) {
        const int y = d.yOf(v);
        QCOMPARE(d.at(axisX, y), kBlack);
        QCOMPARE(d.at(axisX - 11, y), kBlack);
        // The tick is 12 units long and ends where the label column does.
        const int lw = px(d.area.levelLabelWidth);
        QCOMPARE(axisX - 12, lw);
        QCOMPARE(d.at(axisX - 12, y), kBackground.rgb());
        // The label stands right-aligned at Lw, centred on its tick.
        QVERIFY(d.anyDark(QRect(lw - 8, y - lineHeight / 2, 8, lineHeight)));
        ++majors;
    }
    QVERIFY(majors >= 4);
    int minors = 0;
    for (double v = firstLevelTick(axis, axis.minorStep); v <= axis.max + 1e-6;
         v += axis.minorStep) {
        if (isOnLevelTick(axis, v, axis.majorStep))
            continue;
        const int y = d.yOf(v);
        QCOMPARE(d.at(axisX, y), kBlack);
        QCOMPARE(d.at(axisX - 5, y), kBlack);
        QCOMPARE(d.at(axisX - 7, y), kBackground.rgb());
        ++minors;
    }
    QVERIFY(minors > majors);
}

void DrawingTest::fewPointsDrawAJoinedLine() {
    // 10 points on a plot about 600 units wide: a polyline of 9 segments.
    const std::vector<float> values = {50, 55, 45, 60, 40, 65, 52, 48, 70, 44};
    const GraphData data = series({values});
    const Drawing d = draw(data);
    QVERIFY(d.area.width >= 500);
    for (size_t i = 0; i < values.size(); ++i)
        QVERIFY2(d.at(d.xOf(data.times[i]), d.yOf(values[i])) == kRed,
                 qPrintable(QString("point %1 at %2,%3")
                                .arg(i)
                                .arg(d.xOf(data.times[i]))
                                .arg(d.yOf(values[i]))));
    for (int x = d.xOf(data.times.front()); x <= d.xOf(data.times.back()); ++x)
        QVERIFY2(d.countInColumn(x, kRed) > 0, qPrintable(QString("gap at x = %1").arg(x)));
    QCOMPARE(d.countInColumn(d.xOf(data.times.back()) + 1, kRed), 0);
}

void DrawingTest::manyPointsDrawOneColumnPerUnit() {
    const std::vector<float> values = randomLevels(5000, 3);
    const GraphData data = series({values});
    const Drawing d = draw(data);
    int columns = 0;
    for (int x = 0; x < d.image.width(); ++x) {
        QList<int> rows;
        for (int y = 0; y < d.image.height(); ++y)
            if (d.at(x, y) == kRed)
                rows << y;
        if (rows.isEmpty())
            continue;
        ++columns;
        QVERIFY(x >= d.left() && x <= d.right());
        // One unbroken vertical line per column.
        QCOMPARE(rows.last() - rows.first() + 1, rows.size());
    }
    QVERIFY(columns <= int(d.area.width));
    QVERIFY(columns >= int(d.area.width) - 2);
    // Every point lies on its column's line (or the neighbour's, at a rounding
    // boundary).
    for (size_t i = 0; i < values.size(); ++i) {
        const int x = d.xOf(data.times[i]);
        const int y = d.yOf(values[i]);
        QVERIFY2(d.at(x, y) == kRed || d.at(x - 1, y) == kRed || d.at(x + 1, y) == kRed,
                 qPrintable(QString("point %1 missing").arg(i)));
    }
}

void DrawingTest::columnsKeepEachColumnsExtremes() {
    std::vector<float> values(20000, 50.0f);
    values[12345] = 95.0f;
    values[777] = 5.0f;
    const GraphData data = series({values});
    const Drawing d = draw(data, [](PlotArea& area) { fixLevels(area, 0, 100); });
    const int spikeX = d.xOf(data.times[12345]);
    const int dipX = d.xOf(data.times[777]);
    const auto reaches = [&](int x, int y) {
        return d.at(x, y) == kRed || d.at(x - 1, y) == kRed || d.at(x + 1, y) == kRed;
    };
    QVERIFY(reaches(spikeX, d.yOf(95)));
    QVERIFY(reaches(dipX, d.yOf(5)));
    // Elsewhere the line stays at 50.
    const int quietX = (spikeX + dipX) / 2;
    QCOMPARE(d.countInColumn(quietX, kRed), 1);
    QCOMPARE(d.at(quietX, d.yOf(50)), kRed);
}

void DrawingTest::hiddenSetsLeaveNoLine() {
    GraphData data = series({{50.f, 60.f, 55.f}, {70.f, 30.f, 40.f}});
    data.sets[1].colour = kGreen;
    data.sets[1].shown = false;
    const Drawing d = draw(data);
    int red = 0;
    for (int y = 0; y < d.image.height(); ++y)
        for (int x = 0; x < d.image.width(); ++x) {
            QVERIFY(d.at(x, y) != kGreen);
            red += d.at(x, y) == kRed;
        }
    QVERIFY(red > 0);
}

void DrawingTest::colourWeightAndStyle() {
    GraphData data = series({std::vector<float>(50, 30.f), std::vector<float>(50, 70.f)});
    data.sets[0].weight = 3;
    data.sets[0].colour = qRgb(0, 0, 128);
    data.sets[1].style = 1; // dash
    const Drawing d = draw(data, [](PlotArea& area) { fixLevels(area, 0, 100); });
    const int middle = (d.left() + d.right()) / 2;
    QCOMPARE(d.countInColumn(middle, qRgb(0, 0, 128)), 3);
    QCOMPARE(d.at(middle, d.yOf(30)), qRgb(0, 0, 128));
    const int y = d.yOf(70);
    int on = 0, off = 0;
    for (int x = d.xOf(data.times.front()); x <= d.xOf(data.times.back()); ++x)
        (d.at(x, y) == kRed ? on : off)++;
    QVERIFY2(on > off && off > 20, qPrintable(QString("dash %1 on, %2 off").arg(on).arg(off)));
}

void DrawingTest::levelsOutsideTheAxisDrawOnTheEdge() {
    const GraphData data = series({{90.f, 90.f, 10.f, 10.f}});
    const Drawing d = draw(data, [](PlotArea& area) { fixLevels(area, 20, 60); });
    QCOMPARE(d.at(d.xOf(data.times[0]) + 1, d.top()), kRed);
    QCOMPARE(d.at(d.xOf(data.times[3]) - 1, d.lowest()), kRed);
    for (int x = 0; x < d.image.width(); ++x) {
        QCOMPARE(d.at(x, d.top() - 1) == kRed, false);
        QCOMPARE(d.at(x, d.lowest() + 1) == kRed, false);
    }
}

void DrawingTest::dataLinesAreNotAntialiased() {
    GraphData data = series({randomLevels(300, 5), randomLevels(300, 6)});
    data.sets[1].colour = kGreen;
    data.sets[1].weight = 2;
    const Drawing d = draw(data);
    for (int y = d.top(); y <= d.lowest(); ++y)
        for (int x = d.left(); x <= d.right(); ++x) {
            const QRgb c = d.at(x, y);
            QVERIFY2(c == kWhite || c == kBlack || c == kRed || c == kGreen,
                     qPrintable(QString("blended pixel at %1,%2").arg(x).arg(y)));
        }
}

void DrawingTest::denseTimesThatGoBackDrawWhereTheyAre() {
    // A clock set back by two thirds of the survey: the rows after it overlap
    // the earlier ones in time.
    std::vector<float> values(6000, 40.f);
    std::fill(values.begin() + 3000, values.end(), 80.f);
    GraphData data = series({values});
    const std::vector<double> steady = data.times;
    for (size_t i = 3000; i < data.times.size(); ++i)
        data.times[i] = steady[i - 2000];
    const Drawing d = draw(data, [](PlotArea& area) { fixLevels(area, 0, 100); });
    // Only the first run at its start, both where they overlap, only the
    // second after the first run's end.
    const auto levelsAt = [&](size_t point) {
        const int x = d.xOf(data.times[point]);
        return std::make_pair(d.at(x, d.yOf(40)) == kRed, d.at(x, d.yOf(80)) == kRed);
    };
    QCOMPARE(levelsAt(500), std::make_pair(true, false));
    QCOMPARE(levelsAt(2000), std::make_pair(true, true));
    QCOMPARE(levelsAt(5500), std::make_pair(false, true));
}

void DrawingTest::columnsEndAtTheLastInnerColumn() {
    const Drawing d = draw(series({randomLevels(5000, 7)}));
    QCOMPARE(d.countInColumn(d.right(), kRed), 0);
    QVERIFY(d.countInColumn(d.right() - 1, kRed) > 0);
}

void DrawingTest::brokenStylesStayBroken_data() {
    QTest::addColumn<int>("points");
    QTest::addColumn<int>("style");
    QTest::newRow("few points, dash") << 50 << 1;
    QTest::newRow("few points, dot") << 50 << 2;
    QTest::newRow("many points, dash") << 20000 << 1;
    QTest::newRow("many points, dash-dot") << 20000 << 3;
}

void DrawingTest::brokenStylesStayBroken() {
    QFETCH(int, points);
    QFETCH(int, style);
    GraphData data = series({std::vector<float>(size_t(points), 70.f)});
    data.sets[0].style = style;
    const Drawing d = draw(data, [](PlotArea& area) { fixLevels(area, 0, 100); });
    int on = 0, off = 0;
    for (int x = d.xOf(data.times.front()); x < d.xOf(data.times.back()); ++x)
        (d.at(x, d.yOf(70)) == kRed ? on : off)++;
    QVERIFY2(on > 20 && off > 20, qPrintable(QString("%1 on, %2 off").arg(on).arg(off)));
}

void DrawingTest::gridLines() {
    GraphData data = series({{41.3f, 60.f, 78.9f}}, 0.5);
    data.sets[0].shown = false; // keep the plot clear of data
    const Drawing d = draw(data, [](PlotArea& area) {
        area.levelAxis.majorGrid = 0;
        area.timeAxis.minorGrid = 2;
    });
    const LevelAxis& level = d.area.levelAxis;
    const int majorY = d.yOf(firstLevelTick(level, level.majorStep));
    for (int x = d.left(); x <= d.right(); ++x)
        QCOMPARE(d.at(x, majorY), kBlack);
    // No minor level grid was asked for.
    const double minor = firstLevelTick(level, level.minorStep);
    const double minorOnly =
        isOnLevelTick(level, minor, level.majorStep) ? minor + level.minorStep : minor;
    QCOMPARE(d.at(d.left() + 3, d.yOf(minorOnly)), kWhite);
    // A dotted time grid line: black and white in turn down the plot.
    const TimeAxis& time = d.area.timeAxis;
    const int x = d.xOf(time.start + time.minorStep);
    int black = 0;
    for (int y = d.top() + 1; y < d.lowest(); ++y)
        black += d.at(x, y) == kBlack;
    const int inside = d.lowest() - d.top() - 1;
    QVERIFY2(black > inside / 4 && black < inside * 3 / 4, qPrintable(QString::number(black)));
}

void DrawingTest::onePointAndOneInstant() {
    Drawing d = draw(series({{55.f}}));
    QCOMPARE(d.area.timeAxis.first, 0);
    QCOMPARE(d.area.timeAxis.last, 0);
    QCOMPARE(d.at(d.left(), d.yOf(55)), kRed);

    GraphData sameInstant = series({{50.f, 60.f, 70.f}}, 0.0);
    d = draw(sameInstant);
    QCOMPARE(d.countInColumn(d.left(), kRed), d.yOf(50) - d.yOf(70) + 1);
}

void DrawingTest::tinySurfaceDrawsNothing() {
    const Drawing d = draw(series({randomLevels(100, 1)}), {}, QSize(40, 30));
    for (int y = 0; y < d.image.height(); ++y)
        for (int x = 0; x < d.image.width(); ++x)
            QCOMPARE(d.at(x, y), kBackground.rgb());
}

void DrawingTest::absurdStepsEnd() {
    const Drawing d = draw(series({{40.f, 60.f}}), [](PlotArea& area) {
        area.levelAxis.autoMajor = area.levelAxis.autoMinor = false;
        area.levelAxis.majorStep = 1e-6f;
        area.levelAxis.minorStep = 1e-7f;
        area.levelAxis.majorGrid = area.levelAxis.minorGrid = 0;
    });
    QCOMPARE(d.at(d.left(), d.top()), kBlack);
}

void DrawingTest::noDataSetsDrawsNoPlot() {
    GraphData empty;
    const Drawing d = draw(empty);
    QCOMPARE(d.at(d.left(), d.top()), kBackground.rgb());
    QCOMPARE(d.at(d.left() + 10, d.top() + 10), kBackground.rgb());
}

void DrawingTest::progressPerDataSet() {
    QList<int> seen;
    draw(series({{1.f, 2.f}, {1.f, 2.f}, {1.f, 2.f}, {1.f, 2.f}}), {}, QSize(700, 450),
         [&](int percent) { seen << percent; });
    QCOMPARE(seen, QList<int>({0, 0, 25, 50, 75}));
}

QTEST_MAIN(DrawingTest)
#include "test_drawing.moc"
