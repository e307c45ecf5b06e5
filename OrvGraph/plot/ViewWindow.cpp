#include "ViewWindow.h"

#include <cmath>

namespace ViewWindow {

namespace {

constexpr double kHoursPerDay = 24.0;
// Serials of whole hours come out a hair off the hour (about a millionth of a
// second); edges are compared with this much room, well under a millisecond.
constexpr double kSerialSlack = 1e-9;

double startOfDay(double serial) {
    return std::floor(serial + kSerialSlack);
}

double startOfHour(double serial) {
    return std::floor(serial * kHoursPerDay + kSerialSlack) / kHoursPerDay;
}

// From first, back over the run of points at or after start, then forward to
// the latest point not after end.
void search(TimeAxis& axis, const GraphData& data) {
    const qsizetype count = data.pointCount();
    const std::vector<double>& times = data.times;
    qsizetype first = std::clamp<qsizetype>(axis.first, 0, count - 1);
    while (first > 0 && times[size_t(first - 1)] >= axis.start - kSerialSlack)
        --first;
    qsizetype last = first;
    while (last < count - 1 && times[size_t(last + 1)] <= axis.end + kSerialSlack)
        ++last;
    // One point alone widens to its neighbour, when there is one.
    if (last == first && count > 1) {
        if (first == 0)
            last = 1;
        else
            --first;
    }
    axis.first = first;
    axis.last = last;
}

} // namespace

void compute(TimeAxis& axis, const GraphData& data) {
    if (data.pointCount() == 0 || axis.mode == kAllData) {
        viewAllData(axis, data);
        return;
    }
    const qsizetype count = data.pointCount();
    axis.first = std::clamp<qsizetype>(axis.first, 0, count - 1);
    const double at = data.times[size_t(axis.first)];
    switch (axis.mode) {
    case kDay:
        axis.start = startOfDay(at);
        axis.end = axis.start + 1.0;
        break;
    case kHour:
        axis.start = startOfHour(at);
        axis.end = axis.start + 1.0 / kHoursPerDay;
        break;
    default:
        axis.first = count - 1;
        break;
    }
    search(axis, data);
}

bool isPaged(int mode) {
    return mode == kDay || mode == kHour;
}

bool hasPrevious(const TimeAxis& axis) {
    return axis.first >= 1;
}

bool hasNext(const TimeAxis& axis, const GraphData& data) {
    return axis.last < data.pointCount() - 1;
}

} // namespace ViewWindow
