#include "StrayRows.h"

#include <cmath>

namespace {

// Longer than any pause between two rows of one run (a weekly timer's week).
constexpr double kFarApartDays = 31.0;

// Whether row i lies far from its neighbours while the run goes on without it.
bool isStray(const std::vector<double>& times, size_t i) {
    if (times.size() < 3)
        return false; // no run to judge by
    const size_t last = times.size() - 1;
    if (i == 0)
        return farApart(times[0], times[1]) && !farApart(times[1], times[2]);
    if (i == last)
        return farApart(times[last - 1], times[last]) &&
               !farApart(times[last - 2], times[last - 1]);
    return farApart(times[i - 1], times[i]) && farApart(times[i], times[i + 1]) &&
           !farApart(times[i - 1], times[i + 1]);
}

} // namespace

bool farApart(double time, double otherTime) {
    return std::fabs(time - otherTime) > kFarApartDays;
}

int leaveOutStrayRows(GraphData& data) {
    std::vector<bool> stray(data.times.size(), false);
    int strays = 0;
    for (size_t i = 0; i < stray.size(); ++i) {
        stray[i] = isStray(data.times, i);
        strays += stray[i] ? 1 : 0;
    }
    if (strays == 0)
        return 0;
    const auto keep = [&stray](auto& column) {
        size_t kept = 0;
        for (size_t i = 0; i < column.size(); ++i) {
            if (!stray[i])
                column[kept++] = column[i];
        }
        column.resize(kept);
    };
    keep(data.times);
    for (DataSet& set : data.sets)
        keep(set.values);
    return strays;
}
