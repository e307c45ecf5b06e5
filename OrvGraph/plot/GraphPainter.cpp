#include "GraphPainter.h"

#include "DateSerial.h"
#include "LinePen.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPolygon>

#include <cmath>
#include <limits>

namespace {

const QColor kPlotBackground = Qt::white;
const QColor kAxisColour = Qt::black;
// Tick lengths as shares of the tick margin m.
constexpr double kMinorTimeTick = 0.5;
constexpr double kMinorLevelTick = 0.45;
constexpr double kMajorLevelTick = 0.9;
// Tick series denser than this are not drawn: they would only blacken the axis
// (and an absurd manual step must not stall the viewer).
constexpr double kMaxTicks = 20000.0;

int px(double value) {
    return int(std::floor(value + 0.5));
}

// Calls draw(value) for first, first + step, ... up to last (inclusive, with a
// little slack for rounding). Nothing for a step that is not positive or a
// series too dense to draw.
template <typename Draw> void forEachTick(double first, double last, double step, Draw draw) {
    if (!(step > 0.0) || !std::isfinite(step) || last < first)
        return;
    const double count = std::floor((last - first) / step + 1e-6);
    if (count > kMaxTicks)
        return;
    for (int i = 0; i <= int(count); ++i)
        draw(first + i * step);
}

// A vertical line of length pixels starting at (x, top), ends included.
void verticalLine(QPainter& painter, int x, int top, int length) {
    if (length > 0)
        painter.drawLine(x, top, x, top + length - 1);
}

// A horizontal line of length pixels ending at (right, y), going left.
void leftwardLine(QPainter& painter, int right, int y, int length) {
    if (length > 0)
        painter.drawLine(right - length + 1, y, right, y);
}

} // namespace

GraphPainter::GraphPainter(QPainter& painter, const QLocale& locale)
    : m_painter(painter), m_locale(locale) {
    m_locale.setNumberOptions(QLocale::OmitGroupSeparator);
}

void GraphPainter::setProgress(std::function<void(int)> progress) {
    m_progress = std::move(progress);
}

void GraphPainter::redraw(PlotArea& area, const GraphData& data, const QColor& background) {
    m_painter.fillRect(QRectF(QPointF(0, 0), area.surface), background);
    const QFontMetricsF metrics(m_painter.font(), m_painter.device());
    computeTimeSteps(area, metrics);
    computeLevelScale(area, data);
    if (data.setCount() >= 1 && area.isDrawable())
        drawGraph(area, data);
}

void GraphPainter::drawGraph(const PlotArea& area, const GraphData& data) {
    if (m_progress)
        m_progress(0);
    m_painter.save();
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    drawFrame(area);
    drawTimeAxis(area);
    drawTimeGrid(area, area.timeAxis.minorStep, area.timeAxis.minorGrid);
    drawTimeGrid(area, area.timeAxis.majorStep, area.timeAxis.majorGrid);
    drawLevelAxis(area);
    drawLevelGrid(area);

    m_pointColumns.clear();
    m_painter.setClipRect(QRect(px(area.left), px(area.top), px(area.width), px(area.height)));
    for (qsizetype i = 0; i < data.setCount(); ++i) {
        if (m_progress)
            m_progress(int(roundEven(double(i) * 100.0 / double(data.setCount()))));
        if (data.sets[i].shown)
            drawDataSet(area, data, data.sets[i]);
    }
    m_painter.restore();
}

void GraphPainter::drawFrame(const PlotArea& area) {
    const QRect plot(px(area.left), px(area.top), px(area.width), px(area.height));
    m_painter.fillRect(plot, kPlotBackground);
    m_painter.setPen(linePen(kAxisColour));
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawRect(plot.adjusted(0, 0, -1, -1));
}

void GraphPainter::drawTimeAxis(const PlotArea& area) {
    const TimeAxis& axis = area.timeAxis;
    const double end = axis.start + timeSpan(axis);
    const int bottom = px(area.bottom);
    m_painter.setPen(linePen(kAxisColour));
    forEachTick(axis.start, end, axis.minorStep, [&](double t) {
        verticalLine(m_painter, px(timeToX(area, t)), bottom, px(area.margin * kMinorTimeTick));
    });
    const QFontMetricsF metrics(m_painter.font(), m_painter.device());
    const double lineHeight = std::ceil(metrics.height());
    forEachTick(axis.start, end, axis.majorStep, [&](double t) {
        const int x = px(timeToX(area, t));
        verticalLine(m_painter, x, bottom, area.margin);
        const QDateTime stamp = DateSerial::toDateTime(t);
        const QString time = m_locale.toString(stamp.time(), QLocale::ShortFormat);
        const QString date = m_locale.toString(stamp.date(), QLocale::ShortFormat);
        const double timeTop = area.bottom + area.margin;
        m_painter.drawText(
            QPointF(x - metrics.horizontalAdvance(time) / 2.0, timeTop + metrics.ascent()), time);
        m_painter.drawText(QPointF(x - metrics.horizontalAdvance(date) / 2.0,
                                   timeTop + lineHeight + metrics.ascent()),
                           date);
    });
}

void GraphPainter::drawTimeGrid(const PlotArea& area, double step, int style) {
    if (style == -1)
        return;
    const TimeAxis& axis = area.timeAxis;
    m_painter.setPen(linePen(kAxisColour, 1, style));
    const int top = px(area.top);
    forEachTick(axis.start, axis.start + timeSpan(axis), step, [&](double t) {
        verticalLine(m_painter, px(timeToX(area, t)), top, px(area.height));
    });
    m_painter.setPen(linePen(kAxisColour));
}

void GraphPainter::drawLevelAxis(const PlotArea& area) {
    const LevelAxis& axis = area.levelAxis;
    const int axisX = px(area.levelLabelWidth) + area.margin - 1;
    m_painter.setPen(linePen(kAxisColour));
    forEachTick(firstLevelTick(axis, axis.minorStep), axis.max, axis.minorStep, [&](double v) {
        if (!isOnLevelTick(axis, v, axis.majorStep))
            leftwardLine(m_painter, axisX, px(levelToY(area, v)),
                         px(area.margin * kMinorLevelTick));
    });
    const QFontMetricsF metrics(m_painter.font(), m_painter.device());
    forEachTick(firstLevelTick(axis, axis.majorStep), axis.max, axis.majorStep, [&](double v) {
        const int y = px(levelToY(area, v));
        leftwardLine(m_painter, axisX, y, px(area.margin * kMajorLevelTick));
        const QString label = m_locale.toString(v, 'f', 1);
        const double top = y - std::ceil(metrics.height()) / 2.0;
        m_painter.drawText(QPointF(area.levelLabelWidth - metrics.horizontalAdvance(label),
                                   top + metrics.ascent()),
                           label);
    });
}

void GraphPainter::drawLevelGrid(const PlotArea& area) {
    const LevelAxis& axis = area.levelAxis;
    const int left = px(area.left);
    const int right = left + px(area.width) - 1;
    const auto gridLine = [&](double v, int style) {
        m_painter.setPen(linePen(kAxisColour, 1, style));
        const int y = px(levelToY(area, v));
        m_painter.drawLine(left, y, right, y);
        m_painter.setPen(linePen(kAxisColour));
    };
    if (axis.minorGrid != -1) {
        forEachTick(firstLevelTick(axis, axis.minorStep), axis.max, axis.minorStep, [&](double v) {
            if (!isOnLevelTick(axis, v, axis.majorStep))
                gridLine(v, axis.minorGrid);
        });
    }
    if (axis.majorGrid != -1) {
        forEachTick(firstLevelTick(axis, axis.majorStep), axis.max, axis.majorStep,
                    [&](double v) { gridLine(v, axis.majorGrid); });
    }
}

void GraphPainter::drawDataSet(const PlotArea& area, const GraphData& data, const DataSet& set) {
    const TimeAxis& axis = area.timeAxis;
    const qsizetype last = qMin(axis.last, data.pointCount() - 1);
    const qsizetype first = qMax<qsizetype>(0, axis.first);
    if (first > last || qsizetype(set.values.size()) <= last)
        return;
    m_painter.setPen(dataSetPen(set));
    if (double(last - first + 1) <= area.width) {
        QPolygon line;
        line.reserve(last - first + 1);
        for (qsizetype i = first; i <= last; ++i)
            line << QPoint(px(timeToX(area, data.times[size_t(i)])),
                           px(levelToY(area, set.values[size_t(i)])));
        m_painter.drawPolyline(line);
        // The points themselves as well: the rasteriser leaves the tip of a
        // sharp V open, and a peak must show at its level. Not on broken
        // styles, whose gaps the points would fill.
        if (set.style == 0)
            m_painter.drawPoints(line);
        return;
    }
    if (m_pointColumns.empty()) {
        // Each point goes to the column its own x rounds to, whatever the order
        // of the times (a logger clock set back), up to the last inner column.
        const int left = px(area.left);
        const int lastColumn = left + px(area.width) - 2;
        m_pointColumns.reserve(size_t(last - first + 1));
        for (qsizetype i = first; i <= last; ++i)
            m_pointColumns.push_back(
                std::clamp(px(timeToX(area, data.times[size_t(i)])), left, lastColumn) - left);
    }
    drawColumns(area, first, set);
}

void GraphPainter::drawColumns(const PlotArea& area, qsizetype first, const DataSet& set) {
    const int left = px(area.left);
    const size_t columns = size_t(qMax(1, px(area.width) - 1));
    m_high.assign(columns, -std::numeric_limits<float>::infinity());
    m_low.assign(columns, std::numeric_limits<float>::infinity());
    const float* values = set.values.data() + first;
    const int* columnOf = m_pointColumns.data();
    const size_t count = m_pointColumns.size();
    // Run by run of points in one column, the extremes kept in registers; a run
    // also takes the point before it, so the line stays joined from column to
    // column.
    for (size_t i = 0; i < count;) {
        const int column = columnOf[i];
        float high = values[i];
        float low = high;
        if (i > 0) {
            high = qMax(high, values[i - 1]);
            low = qMin(low, values[i - 1]);
        }
        size_t j = i + 1;
        for (; j < count && columnOf[j] == column; ++j) {
            const float v = values[j];
            high = v > high ? v : high;
            low = v < low ? v : low;
        }
        m_high[size_t(column)] = qMax(m_high[size_t(column)], high);
        m_low[size_t(column)] = qMin(m_low[size_t(column)], low);
        i = j;
    }
    // A broken style is drawn as one stroke down and up the columns, so its
    // pattern runs on instead of starting afresh in every column.
    const bool solid = set.style == 0;
    QPolygon stroke;
    bool down = true;
    for (size_t c = 0; c < columns; ++c) {
        if (m_high[c] < m_low[c])
            continue;
        const int x = left + int(c);
        const int top = px(levelToY(area, m_high[c]));
        const int bottom = px(levelToY(area, m_low[c]));
        if (solid) {
            m_painter.drawLine(x, top, x, bottom);
            continue;
        }
        stroke << QPoint(x, down ? top : bottom) << QPoint(x, down ? bottom : top);
        down = !down;
    }
    if (!solid)
        m_painter.drawPolyline(stroke);
}
