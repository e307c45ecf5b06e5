#pragma once

#include "GraphData.h"

#include <QFontMetricsF>
#include <QRectF>
#include <QSizeF>

#include <utility>

// The plot layout and the two axes of a level-against-time graph, in the
// drawing surface's units (pixels on screen). Pure computation: the painter
// (GraphPainter.h) draws what these describe.

struct TimeAxis {
    int mode = 0;        // 0 all data, 2 a day, 3 an hour, 4 between two times
    qsizetype first = 0; // indexes into the times of the first and last point shown
    qsizetype last = 0;
    double start = 0.0; // day serials of the plot's left and right edges
    double end = 0.0;
    double majorStep = 0.0; // days between labelled ticks
    double minorStep = 0.0; // days between small ticks
    int majorGrid = -1;     // line style 0..4, or -1 for no grid lines
    int minorGrid = -1;
};

struct LevelAxis {
    float min = 20.0f;
    float max = 120.0f;
    float majorStep = 10.0f;
    float minorStep = 1.0f;
    bool autoMin = true;
    bool autoMax = true;
    bool autoMajor = true;
    bool autoMinor = true;
    bool roundOff = true; // ticks on whole multiples of their step
    int majorGrid = -1;
    int minorGrid = -1;
};

struct PlotArea {
    int margin = 13;            // tick margin m
    double lineFactor = 1.0;    // k: label room in text lines
    QSizeF surface;             // scale width and height of the surface
    double levelLabelWidth = 0; // Lw
    double left = 0;            // L
    double top = 0;             // T
    double width = 0;           // W
    double height = 0;          // H
    double bottom = 0;          // B = T + H
    TimeAxis timeAxis;
    LevelAxis levelAxis;

    QRectF plotRect() const { return {left, top, width, height}; }
    // True when the plot has room for at least two units each way.
    bool isDrawable() const { return width > 1.0 && height > 1.0; }
};

// A fresh plot area with the axis defaults, laid out for the surface.
PlotArea initPlotArea(const QSizeF& surface, const QFontMetricsF& metrics, int margin,
                      double lineFactor);
// Recomputes the rectangles for the surface's current size.
void layoutPlotArea(PlotArea& area, const QSizeF& surface, const QFontMetricsF& metrics);

// Mode 0: the view holds every point, from the earliest time to the latest.
void viewAllData(TimeAxis& axis, const GraphData& data);

// The time span the mappings use: end - start, or one day when the view has no
// extent (one point, or every point at one instant).
double timeSpan(const TimeAxis& axis);
double timeToX(const PlotArea& area, double time);
double xToTime(const PlotArea& area, double x);
// Levels outside the axis land on the plot's top or bottom edge.
double levelToY(const PlotArea& area, double level);
double yToLevel(const PlotArea& area, double y);

// The smallest and largest value of one data set over an index range
// (inclusive); +inf and -inf for an empty range.
std::pair<float, float> extremesOf(const std::vector<float>& values, qsizetype from, qsizetype to);

// Rounding to an integer with halves to even, as the axis rules count.
double roundEven(double value);
// The step multipliers 1, 2, 4, 5, 10, 15, then q itself rounded.
double snapStep(double q);
// The first of 0.01, 0.02, 0.05 ... 50 above x; x itself from 50 up.
double niceStep(double x);

// Minor and major time steps for the view's range and the plot's width.
void computeTimeSteps(PlotArea& area, const QFontMetricsF& metrics);
// Level min, max and steps over the shown sets' points first..last.
void computeLevelScale(PlotArea& area, const GraphData& data);

// The tick values of one step, from first to max, and whether a value falls on
// a tick of a given step (in the axis's round-off sense).
double firstLevelTick(const LevelAxis& axis, double step);
bool isOnLevelTick(const LevelAxis& axis, double value, double step);
