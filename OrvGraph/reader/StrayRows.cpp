#include "StrayRows.h"

#include <cmath>

namespace {

// Longer than any pause between two rows of one run (a weekly timer's week).
constexpr double kFarApartDays = 31.0;

// Whether row i lies far from its neighbours while the run goes on without
// it. The first and last rows have one neighbour, which cannot tell a damaged
// date from a real gap (a dump's oldest buffer may be one record months before
// the next): they are kept.
bool isStray(const std::vector<double>& times, size_t i) {
    if (i == 0 || i + 1 >= times.size())
        return false;
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
