#pragma once

#include "SimDateTime.h"

#include <array>
#include <string>
#include <vector>

// The 34-byte blocks of the logger's data memory: every block starts with its
// type and a time stamp; levels are tenths of a decibel, big-endian.
namespace sim {

constexpr std::size_t kBlockSize = 34;

enum class BlockType : unsigned char {
    Statistical = 1,
    ShortTermLeq = 2,
    Event = 3,
    Error = 4,
    Terminator = 5,
};

// Event codes the logger writes into its memory.
enum EventCode : unsigned char {
    TapeOn = 0,
    TapeOff = 1,
    LeqStarted = 10,
    LeqStopped = 11,
    LoggingStarted = 20,
    LoggingStopped = 21,
    AuxiliaryOn = 30,
    AuxiliaryOff = 31,
};

// A value above this in a short-term Leq slot carries an overload mark.
constexpr int kLeqOverloadMark = 2000;

struct StatisticalValues {
    int leq = 0;
    int lmin = 0;
    int lmax = 0;
    std::array<int, 8> percentiles{}; // in the order of the buffer's percentile indices
    int temperature = 0;              // tenths of a degree
    int battery = 0;                  // tenths of a volt
    bool overload = false;
};

std::string statisticalBlock(const DateTime& stamp, const StatisticalValues& values);
// stamp = time of the last value; up to twelve values, oldest first, a short
// record ends with a 0 slot.
std::string shortTermLeqBlock(const DateTime& stamp, const std::vector<int>& values);
std::string eventBlock(const DateTime& stamp, int code);
std::string errorBlock(const DateTime& stamp, int code);
std::string terminatorBlock(const DateTime& stamp);
// Memory that was never written reads as all ones.
std::string erasedBlock();

BlockType blockType(const std::string& block);

} // namespace sim
