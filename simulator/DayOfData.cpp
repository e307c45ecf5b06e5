#include "DayOfData.h"

#include "BufferRecordLayout.h"
#include "MemoryBlocks.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace sim {

namespace {

// splitmix64: tiny, and the same sequence everywhere (unlike the standard
// library's distributions).
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    double uniform() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }

private:
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    std::uint64_t state_;
};

constexpr int kMinLevel = 250; // tenths of a dB
constexpr int kMaxLevel = 1400;

// One level per second, in tenths of a decibel.
std::vector<int> secondLevels(const DayOfDataOptions& options) {
    Random random(options.seed);
    const int seconds = options.hours * 3600;
    const double startHour = options.start.hour + options.start.minute / 60.0;
    std::vector<int> levels(static_cast<std::size_t>(seconds));
    double drift = 0.0;
    int eventLeft = 0;
    int eventLength = 1;
    double eventPeak = 0.0;
    for (int s = 0; s < seconds; ++s) {
        const double hour = std::fmod(startHour + s / 3600.0, 24.0);
        // Quietest around 02:00, loudest around 14:00.
        const double base = 55.0 + 20.0 * std::cos(2.0 * std::numbers::pi * (hour - 14.0) / 24.0);
        drift = 0.98 * drift + (random.uniform() - 0.5) * 0.8;
        double level = base + drift + (random.uniform() + random.uniform() - 1.0) * 1.5;
        const double eventsPerSecond = (base - 30.0) / 45.0 / 120.0;
        if (eventLeft == 0 && random.uniform() < eventsPerSecond) {
            eventLength = 5 + static_cast<int>(random.uniform() * 35.0);
            eventLeft = eventLength;
            eventPeak = 5.0 + random.uniform() * 15.0;
        }
        if (eventLeft > 0) {
            const double phase = 1.0 - std::abs(2.0 * eventLeft / eventLength - 1.0);
            level = std::max(level, base + eventPeak * phase);
            --eventLeft;
        }
        levels[static_cast<std::size_t>(s)] =
            std::clamp(static_cast<int>(std::lround(level * 10.0)), kMinLevel, kMaxLevel);
    }
    return levels;
}

int energyMean(std::vector<int>::const_iterator first, std::vector<int>::const_iterator last) {
    double sum = 0.0;
    for (auto it = first; it != last; ++it)
        sum += std::pow(10.0, *it / 100.0);
    return static_cast<int>(std::lround(100.0 * std::log10(sum / (last - first))));
}

StatisticalValues statistics(std::vector<int>::const_iterator first,
                             std::vector<int>::const_iterator last,
                             const std::array<unsigned char, 8>& indices) {
    StatisticalValues values;
    std::vector<int> sorted(first, last);
    std::sort(sorted.begin(), sorted.end());
    values.leq = energyMean(first, last);
    values.lmin = sorted.front();
    values.lmax = sorted.back();
    for (std::size_t i = 0; i < indices.size(); ++i) {
        // LN: the level exceeded for N per cent of the interval.
        const double fraction = 1.0 - std::clamp(int(indices[i]), 0, 100) / 100.0;
        values.percentiles[i] =
            sorted[static_cast<std::size_t>(std::lround(fraction * (sorted.size() - 1)))];
    }
    return values;
}

DateTime at(const DateTime& start, int seconds) {
    return fromSeconds(toSeconds(start) + seconds);
}

} // namespace

RecordedBuffer generateDayOfData(const DayOfDataOptions& options) {
    buffer_record::Settings settings;
    settings.intervalMinutes = std::max(1, options.intervalMinutes);
    settings.leqMode = options.leqSeconds > 0 ? 1 : 0;
    settings.leqSeconds = options.leqSeconds > 0 ? options.leqSeconds : 1;
    settings.title = options.title;
    settings.preReference = 940;
    settings.postReference = 941;

    const std::vector<int> levels = secondLevels(options);
    const int seconds = static_cast<int>(levels.size());
    const int interval = settings.intervalMinutes * 60;
    const DateTime& start = options.start;

    RecordedBuffer buffer;
    auto& blocks = buffer.blocks;
    blocks.push_back(eventBlock(start, LoggingStarted));
    if (settings.leqMode == 1)
        blocks.push_back(eventBlock(start, LeqStarted));

    std::vector<int> leqValues;
    for (int s = 1; s <= seconds; ++s) {
        const auto end = levels.begin() + s;
        if (settings.leqMode == 1 && s % settings.leqSeconds == 0) {
            leqValues.push_back(energyMean(end - settings.leqSeconds, end));
            if (leqValues.size() == 12) {
                blocks.push_back(shortTermLeqBlock(at(start, s), leqValues));
                leqValues.clear();
            }
        }
        if (s % interval == 0) {
            StatisticalValues values = statistics(end - interval, end, settings.percentiles);
            const double day = 2.0 * std::numbers::pi * s / 86400.0;
            values.temperature = options.temperature + static_cast<int>(40.0 * std::sin(day));
            values.battery = options.battery - s / 43200;
            blocks.push_back(statisticalBlock(at(start, s), values));
        }
    }
    const DateTime stop = at(start, seconds);
    if (!leqValues.empty())
        blocks.push_back(shortTermLeqBlock(stop, leqValues));
    if (settings.leqMode == 1)
        blocks.push_back(eventBlock(stop, LeqStopped));
    blocks.push_back(eventBlock(stop, LoggingStopped));

    if (blocks.size() > options.maxBlocks) {
        // The logger shuts down when its memory is full and says so.
        blocks.resize(options.maxBlocks);
        blocks.back() = errorBlock(readDateTime(blocks.back(), 1).value_or(stop), 5);
    }
    settings.start = start;
    settings.stop = stop;
    buffer.record = buffer_record::encode(settings);
    return buffer;
}

} // namespace sim
