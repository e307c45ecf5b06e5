#pragma once

#include "SimDateTime.h"

#include <array>
#include <optional>
#include <string>

// The 99-byte parameter block kept with every buffer: the host sends it with
// "Q", the logger fills in the start and stop times and returns it with "B".
namespace sim::buffer_record {

constexpr std::size_t kSize = 99;

// Offsets from 0.
constexpr std::size_t kFlags = 0;
constexpr std::size_t kStart = 1;
constexpr std::size_t kStop = 7;
constexpr std::size_t kMasterTimer = 13;
constexpr std::size_t kSubTimer = 28;
constexpr std::size_t kInterval = 43;
constexpr std::size_t kLeq = 44;
constexpr std::size_t kAuxiliary = 45;
constexpr std::size_t kPercentiles = 46;
constexpr std::size_t kTitle = 62;
constexpr std::size_t kTitleLength = 16;
constexpr std::size_t kPreReference = 78;
constexpr std::size_t kPostReference = 80;
constexpr std::size_t kTapePower = 82;

constexpr unsigned char kFlagAWeighting = 32;
constexpr unsigned char kFlagSlow = 16;

// A reference level that was not taken.
constexpr int kNoReference = -1;

struct Settings {
    bool aWeighting = true;
    bool slow = false;
    int intervalMinutes = 15;
    int leqMode = 0; // 0 off, 1 whilst logging, 2 on trigger
    int leqSeconds = 1;
    std::array<unsigned char, 8> percentiles{1, 5, 10, 25, 50, 75, 90, 99};
    std::string title;
    int preReference = kNoReference; // tenths of a dB
    int postReference = kNoReference;
    std::optional<DateTime> start;
    std::optional<DateTime> stop;
};

// A record with no timers and no triggers.
std::string encode(const Settings& settings);

void setStart(std::string& record, const DateTime& dt);
void setStop(std::string& record, const DateTime& dt);
void setPostReference(std::string& record, int tenths);

int leqMode(const std::string& record);
int leqSeconds(const std::string& record);
int masterTimerType(const std::string& record);
std::string title(const std::string& record);

} // namespace sim::buffer_record
