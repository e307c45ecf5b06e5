#pragma once

#include "GraphData.h"

#include <QColor>
#include <QPen>

// The pens the graph is drawn with, on screen and on paper: cosmetic (a unit of
// width is one device pixel whatever the transform) and one of the five line
// styles 0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot.
QPen linePen(const QColor& colour, int width = 1, int style = 0);

// A data set's line: its colour, style and weight (1 to 5).
QPen dataSetPen(const DataSet& set);
