#pragma once

#include "DayOfData.h"
#include "MemoryBlocks.h"
#include "SimDateTime.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

// Everything the QN-7x knows about itself: clock, settings, status, buffers and
// its memory of 34-byte blocks. One consistent state behind one lock, because
// the serving thread and the test's thread use it at the same time.
class LoggerModel {
public:
    static constexpr std::int32_t kMemoryBytes = 262144;
    static constexpr int kMaxBuffers = 8;
    static constexpr int kTemperatureNotFitted = -100;
    static constexpr int kHistogramBins = 1500;

    // Logging mode bits.
    static constexpr int kModeLogging = 1;
    static constexpr int kModeTimersOn = 2;

    struct Status {
        std::int32_t serialNumber = 0;
        int processorVersion = 0;   // high byte major, low byte minor
        int measurementVersion = 0; // the measurement unit (DAP)
        int battery = 0;            // tenths of a volt
        int temperature = 0;        // tenths of a degree, -100 not fitted
        bool powerDownDisabled = false;
        int weekday = 0; // 0 = Sunday ... 6 = Saturday
        sim::DateTime clock;
        int mode = 0;
        std::int32_t freeMemory = 0;
        int level = 0; // tenths of a dB
        int rawLevel = 0;
        bool overload = false;
        int frequencyWeighting = 1; // 1 = A, 0 = C
        int timeWeighting = 0;      // 1 = slow, 0 = fast
        int range = 0;
    };

    LoggerModel();

    Status status() const;

    // Sound level in tenths of a dB; a level above the measuring range's top sets
    // the overload flag, which stays until clearOverload().
    void setLevel(int tenths);
    int level() const;
    // Readings that "Get SPL" hands out one by one before the steady level
    // again, as a changing tone gives them; a negative one goes out as the
    // missing-value word of a failed reading.
    void queueSplReadings(std::vector<int> tenths);
    int takeSplReading();
    int rawLevel() const; // before the system calibration's correction
    void setOverload(bool on);
    bool overload() const;
    void clearOverload();

    void setBattery(int tenthsOfVolt);
    int battery() const;
    // The sensor's reading in tenths of a degree, or kTemperatureNotFitted.
    void setTemperature(int tenths);
    int temperature() const; // with the temperature calibration applied

    void setSerialNumber(std::int32_t serial);
    std::int32_t serialNumber() const;
    void setFirmwareVersions(int processor, int measurement);

    // The clock runs from the moment it is set. weekday: 0 = Sunday ... 6 =
    // Saturday; by default the weekday of the date.
    void setClock(const sim::DateTime& dt, std::optional<int> weekday = std::nullopt);
    sim::DateTime clock() const;
    int weekday() const;

    void setFrequencyWeighting(int code);
    int frequencyWeighting() const;
    void setTimeWeighting(int code);
    int timeWeighting() const;
    // 0 low, 1 mid, 2 high, 3 auto ranging; false for any other index.
    bool setRange(int range);
    int range() const;
    void setPowerDownDisabled(bool disabled);
    bool powerDownDisabled() const;
    void setMode(int mode);
    int mode() const;

    // Buffers, oldest first.
    int bufferCount() const;
    std::string bufferRecord(int buffer) const; // empty when there is no such buffer
    std::vector<std::string> bufferBlocks(int buffer) const;
    // Appends a buffer; false when eight are in use or the memory cannot hold it.
    bool addBuffer(const std::string& record, const std::vector<std::string>& blocks = {});
    void clearBuffers();
    // Only the most recent buffer can be cleared, and not while it records.
    bool clearLastBuffer();
    std::int32_t freeMemory() const;
    // Replaces every buffer with one recorded survey (buffer 0).
    void fillMemory(const sim::DayOfDataOptions& options = {});

    // The memory as the whole-memory download reads it: the buffers' blocks in
    // order, a terminator, then what the memory held before up to its end:
    // the blocks and terminator of buffers cleared since the memory was last
    // erased (filled, reset or emptied), otherwise erased blocks.
    int memoryBlockCount() const;
    std::string memoryBlock(int index) const;
    // First block and block count of one buffer in that sequence.
    struct Range {
        int first = 0;
        int count = 0;
    };
    std::optional<Range> bufferRange(int buffer) const;
    // The most recent statistical block, if any.
    std::optional<std::string> lastResults() const;

    // A logging run: "Q" with the 99-byte set-up, "q", and "p" afterwards.
    bool startLogging(const std::string& setup);
    // Records what a run has measured since the last look: a statistical block
    // at each interval the timers let through, and the logging started and
    // stopped events as their windows open and close; a one shot ends the run.
    void catchUp();
    // The clock runs this many times faster than real time (1: real time), so
    // that a run of hours can be watched in seconds.
    void setClockRate(int factor);
    bool stopLogging();
    bool setPostReference(int tenths);

    // System calibration against a reference tone (tenths of a dB): succeeds when
    // a steady level near the reference is being measured.
    bool calibrateSystem(int referenceTenths);
    // Temperature calibration: the sensor is corrected to read the reference.
    void calibrateTemperature(int referenceTenths);
    // "g": memory and temperature calibration lost, logging stopped.
    void reset();

    // Factory tools.
    int filterA() const;
    int filterB() const;
    void setFilters(int a, int b);
    int histogramBin(int bin) const;                   // bins 1 to 1500 of the active bank
    void setHistogram(const std::vector<int>& counts); // into the active bank
    void switchHistogramBanks();

private:
    struct Buffer {
        std::string record;
        std::vector<std::string> blocks;
    };

    static constexpr std::int64_t kNoRecord = INT64_MAX;
    sim::DateTime clockLocked() const;
    void catchUpLocked();
    sim::StatisticalValues measuredLocked(const std::string& record) const;
    int weekdayLocked() const;
    int usedBlocksLocked() const;
    std::int32_t freeMemoryLocked() const;
    bool appendBlockLocked(const std::string& block);
    std::string memoryBlockLocked(int index) const;
    void setLevelLocked(int tenths);

    mutable std::mutex mutex_;
    int level_ = 450;
    std::deque<int> splReadings_;
    int calibrationOffset_ = 0;
    bool overload_ = false;
    int battery_ = 124;
    int sensorTemperature_ = 215;
    int temperatureOffset_ = 0;
    std::int32_t serialNumber_ = 12345678;
    int processorVersion_ = 0x0402;
    int measurementVersion_ = 0x0201;
    std::int64_t clockBase_ = 0; // logger seconds at clockSetAt_
    int weekdayBase_ = 0;
    std::chrono::steady_clock::time_point clockSetAt_;
    int clockRate_ = 1;
    // Logger seconds of the run's next statistical block; none outside a run
    // that "Q" started (a mode set by hand records nothing by itself).
    std::int64_t nextRecord_ = kNoRecord;
    int frequencyWeighting_ = 1;
    int timeWeighting_ = 0;
    int range_ = 1;
    bool powerDownDisabled_ = false;
    int mode_ = 0;
    std::vector<Buffer> buffers_;
    // What each memory position held when a buffer over it was cleared, from
    // position 0; empty entries and positions beyond are erased.
    std::vector<std::string> residue_;
    int filterA_ = 120;
    int filterB_ = 35;
    std::array<std::vector<int>, 2> histograms_;
    int activeHistogram_ = 0;
};
