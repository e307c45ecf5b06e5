#include "Axes.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace {

// The texts whose widths fix the room for labels: the widest level label and
// a date label.
const QString kLevelLabelSample = QStringLiteral("222.2");
const QString kDateLabelSample = QStringLiteral("22/22/2222");

// Share of a date label's width kept free between labels.
constexpr double kLabelSpacing = 1.3;
// Target spacing in units of small time ticks and of level labels.
constexpr double kUnitsPerTimeTick = 5.0;
constexpr double kUnitsPerLevelLabel = 30.0;
constexpr double kTickTolerance = 0.0001;

double textWidth(const QFontMetricsF& metrics, const QString& text) {
    return std::ceil(metrics.horizontalAdvance(text));
}

// One line of text, whatever its letters.
double textHeight(const QFontMetricsF& metrics) {
    return std::ceil(metrics.height());
}

bool usableStep(double step) {
    return std::isfinite(step) && step > 0.0;
}

// The level range the mappings use: min to max, or min to min + 10 when the
// axis has no extent.
double levelSpan(const LevelAxis& axis, double& top) {
    top = axis.max;
    if (!(double(axis.max) > double(axis.min)))
        top = double(axis.min) + 10.0;
    return double(axis.min) - top;
}

bool isWholeMultiple(double value, double step) {
    const double ratio = std::fabs(value / step);
    const double fraction = ratio - std::floor(ratio);
    // Both sides: 0.3 / 0.1 comes out as 2.9999999999999996.
    return fraction < kTickTolerance || fraction > 1.0 - kTickTolerance;
}

} // namespace

PlotArea initPlotArea(const QSizeF& surface, const QFontMetricsF& metrics, int margin,
                      double lineFactor) {
    PlotArea area;
    area.margin = margin;
    area.lineFactor = lineFactor;
    layoutPlotArea(area, surface, metrics);
    return area;
}

void layoutPlotArea(PlotArea& area, const QSizeF& surface, const QFontMetricsF& metrics) {
    area.surface = surface;
    area.levelLabelWidth = textWidth(metrics, kLevelLabelSample);
    area.left = area.levelLabelWidth + area.margin;
    area.width =
        std::floor(surface.width() - area.left - textWidth(metrics, kDateLabelSample) / 2.0);
    area.top = std::ceil(textHeight(metrics) * area.lineFactor);
    area.height =
        std::floor(surface.height() - textHeight(metrics) * (area.lineFactor + 2.0) - area.margin);
    area.bottom = area.top + area.height;
}

void viewAllData(TimeAxis& axis, const GraphData& data) {
    axis.first = 0;
    axis.last = qMax<qsizetype>(0, data.pointCount() - 1);
    if (data.times.empty()) {
        axis.start = axis.end = 0.0;
        return;
    }
    // Earliest to latest rather than first row to last row: a logger clock set
    // back during a survey leaves the rows out of time order.
    const auto [earliest, latest] = std::minmax_element(data.times.begin(), data.times.end());
    axis.start = *earliest;
    axis.end = *latest;
}

double timeSpan(const TimeAxis& axis) {
    const double span = axis.end - axis.start;
    return usableStep(span) ? span : 1.0;
}

double timeToX(const PlotArea& area, double time) {
    const TimeAxis& axis = area.timeAxis;
    return area.left + (area.width - 1.0) * (time - axis.start) / timeSpan(axis);
}

double xToTime(const PlotArea& area, double x) {
    const TimeAxis& axis = area.timeAxis;
    const double units = area.width > 1.0 ? area.width - 1.0 : 1.0;
    return axis.start + (x - area.left) * timeSpan(axis) / units;
}

double levelToY(const PlotArea& area, double level) {
    double top = 0.0;
    const double span = levelSpan(area.levelAxis, top);
    const double y = area.top + (area.height - 1.0) * (level - top) / span;
    const double lowest = area.top + qMax(0.0, area.height - 1.0);
    return std::clamp(y, area.top, lowest);
}

double yToLevel(const PlotArea& area, double y) {
    double top = 0.0;
    const double span = levelSpan(area.levelAxis, top);
    const double units = area.height > 1.0 ? area.height - 1.0 : 1.0;
    return top + (y - area.top) * span / units;
}

std::pair<float, float> extremesOf(const std::vector<float>& values, qsizetype from, qsizetype to) {
    const qsizetype last = qMin(to, qsizetype(values.size()) - 1);
    qsizetype i = qMax<qsizetype>(0, from);
    // Four running pairs, so the comparisons of a long survey do not wait on
    // one another; one pass over the values.
    constexpr float kNone = std::numeric_limits<float>::infinity();
    float low[4] = {kNone, kNone, kNone, kNone};
    float high[4] = {-kNone, -kNone, -kNone, -kNone};
    const float* v = values.data();
    for (; i + 3 <= last; i += 4) {
        for (int k = 0; k < 4; ++k) {
            low[k] = v[i + k] < low[k] ? v[i + k] : low[k];
            high[k] = v[i + k] > high[k] ? v[i + k] : high[k];
        }
    }
    for (; i <= last; ++i) {
        low[0] = qMin(low[0], v[i]);
        high[0] = qMax(high[0], v[i]);
    }
    for (int k = 1; k < 4; ++k) {
        low[0] = qMin(low[0], low[k]);
        high[0] = qMax(high[0], high[k]);
    }
    return {low[0], high[0]};
}

double roundEven(double value) {
    // The default rounding mode rounds halves to even; nothing here changes it.
    return std::nearbyint(value);
}

double snapStep(double q) {
    for (const double step : {1.0, 2.0, 4.0, 5.0, 10.0, 15.0}) {
        if (q <= step)
            return step;
    }
    return roundEven(q);
}

double niceStep(double x) {
    static constexpr std::array<double, 12> steps = {0.01, 0.02, 0.05, 0.1,  0.2,  0.5,
                                                     1.0,  2.0,  5.0,  10.0, 20.0, 50.0};
    for (const double step : steps) {
        if (step > x)
            return step;
    }
    return x;
}

void computeTimeSteps(PlotArea& area, const QFontMetricsF& metrics) {
    TimeAxis& axis = area.timeAxis;
    const double range = axis.end - axis.start;
    const double ticks = roundEven(area.width / kUnitsPerTimeTick);
    axis.minorStep = ticks != 0.0 ? range / ticks : range;
    if (!usableStep(axis.minorStep))
        axis.minorStep = 1.0;
    const double labels =
        roundEven(area.width / (kLabelSpacing * textWidth(metrics, kDateLabelSample)));
    if (labels != 0.0) {
        const double q = roundEven((range / labels) / axis.minorStep);
        axis.majorStep = snapStep(q) * axis.minorStep;
    } else {
        axis.majorStep = range;
    }
    if (!usableStep(axis.majorStep))
        axis.majorStep = 1.0;
}

void computeLevelScale(PlotArea& area, const GraphData& data) {
    LevelAxis& axis = area.levelAxis;
    const qsizetype first = area.timeAxis.first;
    const qsizetype last = area.timeAxis.last;
    double max = axis.max;
    double min = axis.min;
    double lowest = std::numeric_limits<double>::infinity();
    if (axis.autoMax || axis.autoMin) {
        if (axis.autoMax)
            max = 0.0;
        for (const DataSet& set : data.sets) {
            if (!set.shown)
                continue;
            const auto [low, high] = extremesOf(set.values, first, last);
            lowest = qMin(lowest, double(low));
            if (axis.autoMax)
                max = qMax(max, double(high));
        }
    }
    if (axis.autoMin)
        min = qMin(max, lowest);
    if (min == 0.0 && max == 0.0)
        max = 10.0;
    if (min >= max) {
        if (axis.autoMin)
            min = max * 0.9;
        else
            max = min * 1.1;
    }
    // Zero or negative levels defeat the two rules above (0.9 and 1.1 times a
    // negative number move the wrong way): fall back to a 10 dB axis.
    if (!(min < max))
        max = min + 10.0;
    axis.min = float(min);
    axis.max = float(max);

    const double range = double(axis.max) - double(axis.min);
    if (axis.autoMajor || !usableStep(axis.majorStep)) {
        const double labels = roundEven(area.height / kUnitsPerLevelLabel);
        const double rough = labels != 0.0 ? range / labels : range;
        axis.majorStep = float(niceStep(rough));
    }
    if (axis.autoMinor || !usableStep(axis.minorStep)) {
        const double k = roundEven(area.height * axis.majorStep / (range * 5.0));
        axis.minorStep = k != 0.0 ? float(axis.majorStep / snapStep(k)) : axis.majorStep;
    }
    if (axis.minorStep > axis.majorStep)
        axis.minorStep = axis.majorStep;
}

double firstLevelTick(const LevelAxis& axis, double step) {
    if (axis.roundOff && !isWholeMultiple(axis.min, step))
        return (std::floor(axis.min / step) + 1.0) * step;
    return axis.min;
}

bool isOnLevelTick(const LevelAxis& axis, double value, double step) {
    return isWholeMultiple(axis.roundOff ? value : value - axis.min, step);
}
