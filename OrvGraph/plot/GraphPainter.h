#pragma once

#include "Axes.h"
#include "GraphData.h"

#include <QColor>
#include <QLocale>

#include <functional>

class QPainter;

// Draws a GraphData as a level-against-time graph with QPainter, on whatever
// surface the painter is open on (the viewer's backing pixmap, an image, later a
// printer page). Data lines use cosmetic pens without antialiasing: a long
// survey is drawn as one min/max line per pixel column, so its cost follows the
// plot's width, not the number of points.
class GraphPainter {
public:
    explicit GraphPainter(QPainter& painter, const QLocale& locale = QLocale::system());

    // Called with 0 and then with each data set's share while the lines are drawn.
    void setProgress(std::function<void(int percent)> progress);

    // Clears the surface, chooses the time steps and the level scale, and draws
    // the graph when there is at least one data set.
    void redraw(PlotArea& area, const GraphData& data, const QColor& background);

private:
    void drawGraph(const PlotArea& area, const GraphData& data);
    void drawFrame(const PlotArea& area);
    void drawTimeAxis(const PlotArea& area);
    void drawTimeGrid(const PlotArea& area, double step, int style);
    void drawLevelAxis(const PlotArea& area);
    void drawLevelGrid(const PlotArea& area);
    void drawDataSet(const PlotArea& area, const GraphData& data, const DataSet& set);
    void drawColumns(const PlotArea& area, qsizetype first, const DataSet& set);

    QPainter& m_painter;
    QLocale m_locale;
    std::function<void(int)> m_progress;

    // When the view holds more points than the plot is wide: the column (from
    // the plot's left) of each point first..last, the same for every data set,
    // and one set's highest and lowest level per column.
    std::vector<int> m_pointColumns;
    std::vector<float> m_high;
    std::vector<float> m_low;
};
