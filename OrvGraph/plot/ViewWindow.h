#pragma once

#include "Axes.h"
#include "GraphData.h"

// Which stretch of the data the time axis shows, for each time axis mode.
namespace ViewWindow {

constexpr int kAllData = 0;
constexpr int kDay = 2;
constexpr int kHour = 3;
constexpr int kBetween = 4;

// Sets first, last, start and end for the axis's mode. Modes 2 and 3 take the
// day or hour of the point at first; mode 4 keeps start and end and finds the
// points between them. A view holds at least two points when the data has two.
void compute(TimeAxis& axis, const GraphData& data);

// Whether the paging buttons apply, and which of them has somewhere to go.
bool isPaged(int mode);
bool hasPrevious(const TimeAxis& axis);
bool hasNext(const TimeAxis& axis, const GraphData& data);

} // namespace ViewWindow
