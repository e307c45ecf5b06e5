#pragma once

#include "SimDateTime.h"

#include <cstdint>
#include <string>
#include <vector>

// A plausible recorded survey for tests, the demo and benchmarks: a diurnal
// level curve between about 35 and 75 dB with passing events on top, logged as
// the logger would (start events, statistical and short-term Leq records in time
// order, stop events). Seeded, so the same options give the same bytes on every
// machine.
namespace sim {

struct DayOfDataOptions {
    std::uint32_t seed = 1;
    DateTime start{2004, 3, 1, 0, 0, 0};
    int hours = 24;
    int intervalMinutes = 15;
    int leqSeconds = 1; // 0 records no short-term Leq
    std::string title = "Day survey";
    int temperature = 215;        // tenths of a degree at the start
    int battery = 126;            // tenths of a volt at the start
    std::size_t maxBlocks = 7709; // room left in the logger's memory
};

struct RecordedBuffer {
    std::string record;              // the 99-byte parameter block
    std::vector<std::string> blocks; // 34-byte memory blocks
};

RecordedBuffer generateDayOfData(const DayOfDataOptions& options);

} // namespace sim
