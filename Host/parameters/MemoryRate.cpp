#include "MemoryRate.h"

double MemoryRateOf(int intervalMinutes, int leqOption, int leqLengthSeconds) {
    if (intervalMinutes <= 0)
        return 0;
    double rate = 34.0 / (60.0 * intervalMinutes);
    if (leqOption == 1) {
        if (leqLengthSeconds <= 0)
            return 0;
        rate += 34.0 / (12.0 * leqLengthSeconds);
    }
    return rate;
}

double MemoryRate(const ParameterSet& set) {
    return MemoryRateOf(set.Interval, set.LeqOption, set.LeqLength);
}
