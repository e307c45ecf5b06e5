#include "LoggerModel.h"

#include "BufferRecordLayout.h"
#include "MemoryBlocks.h"
#include "TimerWindows.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kBlocksInMemory = LoggerModel::kMemoryBytes / static_cast<int>(sim::kBlockSize);

// A run's statistical interval; a damaged block's 0 minutes counts as one.
std::int64_t IntervalSeconds(const std::string& record) {
    return std::max(1, int(static_cast<unsigned char>(record[sim::buffer_record::kInterval]))) * 60;
}
// Top of each measuring range in tenths of a dB: low, mid, high, auto.
constexpr std::array<int, 4> kRangeTop{1000, 1200, 1400, 1400};
// How far a reference tone may lie from the measured level for the logger to
// accept a system calibration.
constexpr int kCalibrationWindow = 100;
constexpr int kLowestReference = 600;
constexpr int kHighestReference = 1200;
constexpr std::int64_t kSecondsPerDay = 86400;

std::vector<int> bellHistogram(int centreTenths) {
    std::vector<int> counts(LoggerModel::kHistogramBins, 0);
    for (int bin = 1; bin <= LoggerModel::kHistogramBins; ++bin) {
        const double d = (bin - centreTenths) / 30.0;
        counts[static_cast<std::size_t>(bin - 1)] =
            static_cast<int>(std::lround(1000.0 * std::exp(-d * d / 2.0)));
    }
    return counts;
}

} // namespace

LoggerModel::LoggerModel() {
    histograms_[0] = bellHistogram(level_);
    histograms_[1] = std::vector<int>(kHistogramBins, 0);
    setClock(sim::localNow());
}

LoggerModel::Status LoggerModel::status() const {
    std::lock_guard lock(mutex_);
    Status s;
    s.serialNumber = serialNumber_;
    s.processorVersion = processorVersion_;
    s.measurementVersion = measurementVersion_;
    s.battery = battery_;
    s.temperature = sensorTemperature_ == kTemperatureNotFitted
                        ? kTemperatureNotFitted
                        : sensorTemperature_ + temperatureOffset_;
    s.powerDownDisabled = powerDownDisabled_;
    s.weekday = weekdayLocked();
    s.clock = clockLocked();
    s.mode = mode_;
    s.freeMemory = freeMemoryLocked();
    s.level = level_;
    s.rawLevel = std::clamp(level_ - calibrationOffset_, 0, 32767);
    s.overload = overload_;
    s.frequencyWeighting = frequencyWeighting_;
    s.timeWeighting = timeWeighting_;
    s.range = range_;
    return s;
}

void LoggerModel::setLevel(int tenths) {
    std::lock_guard lock(mutex_);
    setLevelLocked(tenths);
}

void LoggerModel::setLevelLocked(int tenths) {
    level_ = std::clamp(tenths, 0, 32767);
    if (level_ > kRangeTop[static_cast<std::size_t>(range_)])
        overload_ = true;
}

int LoggerModel::level() const {
    return status().level;
}

void LoggerModel::queueSplReadings(std::vector<int> tenths) {
    std::lock_guard lock(mutex_);
    splReadings_.assign(tenths.begin(), tenths.end());
}

int LoggerModel::takeSplReading() {
    std::lock_guard lock(mutex_);
    if (splReadings_.empty())
        return level_;
    const int reading = splReadings_.front();
    splReadings_.pop_front();
    return reading;
}

int LoggerModel::rawLevel() const {
    return status().rawLevel;
}

void LoggerModel::setOverload(bool on) {
    std::lock_guard lock(mutex_);
    overload_ = on;
}

bool LoggerModel::overload() const {
    return status().overload;
}
void LoggerModel::clearOverload() {
    setOverload(false);
}

void LoggerModel::setBattery(int tenthsOfVolt) {
    std::lock_guard lock(mutex_);
    battery_ = tenthsOfVolt;
}

int LoggerModel::battery() const {
    return status().battery;
}

void LoggerModel::setTemperature(int tenths) {
    std::lock_guard lock(mutex_);
    sensorTemperature_ = tenths;
}

int LoggerModel::temperature() const {
    return status().temperature;
}

void LoggerModel::setSerialNumber(std::int32_t serial) {
    std::lock_guard lock(mutex_);
    serialNumber_ = serial;
}

std::int32_t LoggerModel::serialNumber() const {
    return status().serialNumber;
}

void LoggerModel::setFirmwareVersions(int processor, int measurement) {
    std::lock_guard lock(mutex_);
    processorVersion_ = processor;
    measurementVersion_ = measurement;
}

void LoggerModel::setClock(const sim::DateTime& dt, std::optional<int> weekday) {
    std::lock_guard lock(mutex_);
    clockBase_ = sim::toSeconds(dt);
    clockSetAt_ = std::chrono::steady_clock::now();
    weekdayBase_ = weekday ? ((*weekday % 7) + 7) % 7 : sim::weekday(dt);
}

sim::DateTime LoggerModel::clock() const {
    return status().clock;
}
int LoggerModel::weekday() const {
    return status().weekday;
}

sim::DateTime LoggerModel::clockLocked() const {
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - clockSetAt_);
    const std::int64_t last = sim::toSeconds({sim::kLastYear, 12, 31, 23, 59, 59});
    return sim::fromSeconds(std::min(clockBase_ + elapsed.count() * clockRate_ / 1000, last));
}

void LoggerModel::setClockRate(int factor) {
    std::lock_guard lock(mutex_);
    const sim::DateTime now = clockLocked();
    const int days = weekdayLocked();
    clockBase_ = sim::toSeconds(now);
    clockSetAt_ = std::chrono::steady_clock::now();
    weekdayBase_ = days;
    clockRate_ = std::max(1, factor);
}

int LoggerModel::weekdayLocked() const {
    // The weekday register counts on by itself at midnight, whatever it was set to.
    const std::int64_t days =
        sim::toSeconds(clockLocked()) / kSecondsPerDay - clockBase_ / kSecondsPerDay;
    return static_cast<int>((weekdayBase_ + days) % 7);
}

void LoggerModel::setFrequencyWeighting(int code) {
    std::lock_guard lock(mutex_);
    frequencyWeighting_ = code == 1 ? 1 : 0;
}

int LoggerModel::frequencyWeighting() const {
    return status().frequencyWeighting;
}

void LoggerModel::setTimeWeighting(int code) {
    std::lock_guard lock(mutex_);
    timeWeighting_ = code == 1 ? 1 : 0;
}

int LoggerModel::timeWeighting() const {
    return status().timeWeighting;
}

bool LoggerModel::setRange(int range) {
    if (range < 0 || range >= static_cast<int>(kRangeTop.size()))
        return false;
    std::lock_guard lock(mutex_);
    range_ = range;
    setLevelLocked(level_);
    return true;
}

int LoggerModel::range() const {
    return status().range;
}

void LoggerModel::setPowerDownDisabled(bool disabled) {
    std::lock_guard lock(mutex_);
    powerDownDisabled_ = disabled;
}

bool LoggerModel::powerDownDisabled() const {
    return status().powerDownDisabled;
}

void LoggerModel::setMode(int mode) {
    std::lock_guard lock(mutex_);
    nextRecord_ = kNoRecord;
    mode_ = mode & 3;
}

int LoggerModel::mode() const {
    return status().mode;
}

int LoggerModel::bufferCount() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(buffers_.size());
}

std::string LoggerModel::bufferRecord(int buffer) const {
    std::lock_guard lock(mutex_);
    if (buffer < 0 || buffer >= static_cast<int>(buffers_.size()))
        return {};
    return buffers_[static_cast<std::size_t>(buffer)].record;
}

std::vector<std::string> LoggerModel::bufferBlocks(int buffer) const {
    std::lock_guard lock(mutex_);
    if (buffer < 0 || buffer >= static_cast<int>(buffers_.size()))
        return {};
    return buffers_[static_cast<std::size_t>(buffer)].blocks;
}

bool LoggerModel::addBuffer(const std::string& record, const std::vector<std::string>& blocks) {
    std::lock_guard lock(mutex_);
    // One block always stays free for the terminator.
    if (buffers_.size() >= kMaxBuffers ||
        usedBlocksLocked() + static_cast<int>(blocks.size()) >= kBlocksInMemory)
        return false;
    Buffer buffer{record, {}};
    buffer.record.resize(sim::buffer_record::kSize, '\0');
    for (const std::string& block : blocks) {
        std::string sized = block;
        sized.resize(sim::kBlockSize, '\0');
        buffer.blocks.push_back(std::move(sized));
    }
    buffers_.push_back(std::move(buffer));
    return true;
}

void LoggerModel::clearBuffers() {
    std::lock_guard lock(mutex_);
    buffers_.clear();
    residue_.clear();
    mode_ = 0;
}

bool LoggerModel::clearLastBuffer() {
    std::lock_guard lock(mutex_);
    if (buffers_.empty() || mode_ != 0)
        return false;
    // Clearing only moves the end of the data back: the buffer's blocks and the
    // terminator after them stay in the memory until they are written over.
    const int used = usedBlocksLocked();
    const int first = used - static_cast<int>(buffers_.back().blocks.size());
    residue_.resize(std::max<std::size_t>(residue_.size(), static_cast<std::size_t>(used) + 1));
    for (int index = first; index <= used; ++index)
        residue_[static_cast<std::size_t>(index)] = memoryBlockLocked(index);
    buffers_.pop_back();
    return true;
}

int LoggerModel::usedBlocksLocked() const {
    int used = 0;
    for (const Buffer& buffer : buffers_)
        used += static_cast<int>(buffer.blocks.size());
    return used;
}

std::int32_t LoggerModel::freeMemoryLocked() const {
    return std::max(0, kMemoryBytes - usedBlocksLocked() * static_cast<int>(sim::kBlockSize));
}

std::int32_t LoggerModel::freeMemory() const {
    std::lock_guard lock(mutex_);
    return freeMemoryLocked();
}

void LoggerModel::fillMemory(const sim::DayOfDataOptions& options) {
    sim::DayOfDataOptions sized = options;
    sized.maxBlocks = std::min<std::size_t>(options.maxBlocks, kBlocksInMemory - 1);
    const sim::RecordedBuffer day = sim::generateDayOfData(sized);
    std::lock_guard lock(mutex_);
    buffers_.assign(1, Buffer{day.record, day.blocks});
    residue_.clear();
    mode_ = 0;
}

int LoggerModel::memoryBlockCount() const {
    return kBlocksInMemory;
}

std::string LoggerModel::memoryBlock(int index) const {
    std::lock_guard lock(mutex_);
    return memoryBlockLocked(index);
}

std::string LoggerModel::memoryBlockLocked(int index) const {
    if (index < 0 || index >= kBlocksInMemory)
        return {};
    const std::string* last = nullptr;
    int offset = index;
    for (const Buffer& buffer : buffers_) {
        if (offset < static_cast<int>(buffer.blocks.size()))
            return buffer.blocks[static_cast<std::size_t>(offset)];
        offset -= static_cast<int>(buffer.blocks.size());
        if (!buffer.blocks.empty())
            last = &buffer.blocks.back();
    }
    if (offset > 0) {
        const auto position = static_cast<std::size_t>(index);
        if (position < residue_.size() && !residue_[position].empty())
            return residue_[position];
        return sim::erasedBlock();
    }
    // The terminator carries the time of the last record, so it reads the same
    // every time.
    const auto stamp = last ? sim::readDateTime(*last, 1) : std::nullopt;
    return sim::terminatorBlock(stamp.value_or(sim::DateTime{}));
}

std::optional<LoggerModel::Range> LoggerModel::bufferRange(int buffer) const {
    std::lock_guard lock(mutex_);
    if (buffer < 0 || buffer >= static_cast<int>(buffers_.size()))
        return std::nullopt;
    Range range;
    for (int i = 0; i < buffer; ++i)
        range.first += static_cast<int>(buffers_[static_cast<std::size_t>(i)].blocks.size());
    range.count = static_cast<int>(buffers_[static_cast<std::size_t>(buffer)].blocks.size());
    return range;
}

std::optional<std::string> LoggerModel::lastResults() const {
    std::lock_guard lock(mutex_);
    for (auto buffer = buffers_.rbegin(); buffer != buffers_.rend(); ++buffer) {
        for (auto block = buffer->blocks.rbegin(); block != buffer->blocks.rend(); ++block) {
            if (sim::blockType(*block) == sim::BlockType::Statistical)
                return *block;
        }
    }
    return std::nullopt;
}

bool LoggerModel::appendBlockLocked(const std::string& block) {
    if (buffers_.empty() || usedBlocksLocked() + 1 >= kBlocksInMemory)
        return false;
    buffers_.back().blocks.push_back(block);
    return true;
}

bool LoggerModel::startLogging(const std::string& setup) {
    std::lock_guard lock(mutex_);
    if (mode_ != 0 || buffers_.size() >= kMaxBuffers || usedBlocksLocked() + 3 >= kBlocksInMemory)
        return false;
    Buffer buffer{setup, {}};
    buffer.record.resize(sim::buffer_record::kSize, '\0');
    // The stop time stays unset while the run is in progress.
    buffer.record.replace(sim::buffer_record::kStop, 6, sim::unsetDateTimeBytes());
    // The run measures with the set-up's weightings, which the logger keeps.
    const int flags = static_cast<unsigned char>(buffer.record[sim::buffer_record::kFlags]);
    frequencyWeighting_ = flags & sim::buffer_record::kFlagAWeighting ? 1 : 0;
    timeWeighting_ = flags & sim::buffer_record::kFlagSlow ? 1 : 0;
    const bool timers = sim::buffer_record::masterTimerType(buffer.record) != 0;
    const sim::DateTime now = clockLocked();
    // Statistical blocks fall on the interval's boundaries of the clock.
    const std::int64_t interval = IntervalSeconds(buffer.record);
    nextRecord_ = (sim::toSeconds(now) / interval + 1) * interval;
    if (timers) {
        buffer.record.replace(sim::buffer_record::kStart, 6, sim::unsetDateTimeBytes());
        buffers_.push_back(std::move(buffer));
        mode_ = kModeTimersOn;
        return true;
    }
    sim::buffer_record::setStart(buffer.record, now);
    const bool leq = sim::buffer_record::leqMode(buffer.record) == 1;
    buffers_.push_back(std::move(buffer));
    appendBlockLocked(sim::eventBlock(now, sim::LoggingStarted));
    if (leq)
        appendBlockLocked(sim::eventBlock(now, sim::LeqStarted));
    mode_ = kModeLogging;
    return true;
}

bool LoggerModel::stopLogging() {
    std::lock_guard lock(mutex_);
    catchUpLocked();
    if (mode_ == 0 || buffers_.empty())
        return false;
    const sim::DateTime now = clockLocked();
    std::string& record = buffers_.back().record;
    if (mode_ & kModeLogging) {
        if (sim::buffer_record::leqMode(record) == 1)
            appendBlockLocked(sim::eventBlock(now, sim::LeqStopped));
        appendBlockLocked(sim::eventBlock(now, sim::LoggingStopped));
    }
    sim::buffer_record::setStop(record, now);
    mode_ = 0;
    return true;
}

void LoggerModel::catchUp() {
    std::lock_guard lock(mutex_);
    catchUpLocked();
}

void LoggerModel::catchUpLocked() {
    if (mode_ == 0 || buffers_.empty())
        return;
    std::string& record = buffers_.back().record;
    const std::int64_t interval = IntervalSeconds(record);
    const std::int64_t now = sim::toSeconds(clockLocked());
    // A clock set far ahead fills the memory, not an endless loop.
    for (; nextRecord_ <= now && usedBlocksLocked() + 3 < kBlocksInMemory;
         nextRecord_ += interval) {
        const sim::DateTime at = sim::fromSeconds(nextRecord_);
        if (sim::oneShotOverAt(record, at)) {
            if (mode_ & kModeLogging)
                appendBlockLocked(sim::eventBlock(at, sim::LoggingStopped));
            sim::buffer_record::setStop(record, at);
            mode_ = 0;
            return;
        }
        const bool open = sim::timersOpenAt(record, at);
        if (open && !(mode_ & kModeLogging)) {
            if (record.compare(sim::buffer_record::kStart, 6, sim::unsetDateTimeBytes()) == 0)
                sim::buffer_record::setStart(record, at);
            appendBlockLocked(sim::eventBlock(at, sim::LoggingStarted));
            mode_ |= kModeLogging;
        } else if (!open && (mode_ & kModeLogging)) {
            appendBlockLocked(sim::eventBlock(at, sim::LoggingStopped));
            mode_ &= ~kModeLogging;
        }
        if (open)
            appendBlockLocked(sim::statisticalBlock(at, measuredLocked(record)));
    }
}

// The steady level the logger hears, spread as a real sound's statistics are.
sim::StatisticalValues LoggerModel::measuredLocked(const std::string& record) const {
    sim::StatisticalValues values;
    values.leq = level_;
    values.lmax = level_ + 80;
    values.lmin = std::max(0, level_ - 40);
    for (std::size_t i = 0; i < values.percentiles.size(); ++i) {
        const int n = static_cast<unsigned char>(record[sim::buffer_record::kPercentiles + i]);
        values.percentiles[i] = std::max(0, level_ + 60 - 100 * n / 100);
    }
    values.temperature = sensorTemperature_ + temperatureOffset_;
    values.battery = battery_;
    values.overload = overload_;
    return values;
}

bool LoggerModel::setPostReference(int tenths) {
    std::lock_guard lock(mutex_);
    if (buffers_.empty() || mode_ != 0)
        return false;
    sim::buffer_record::setPostReference(buffers_.back().record, tenths);
    return true;
}

bool LoggerModel::calibrateSystem(int referenceTenths) {
    std::lock_guard lock(mutex_);
    if (referenceTenths < kLowestReference || referenceTenths > kHighestReference ||
        std::abs(level_ - referenceTenths) > kCalibrationWindow)
        return false;
    calibrationOffset_ += referenceTenths - level_;
    level_ = referenceTenths;
    return true;
}

void LoggerModel::calibrateTemperature(int referenceTenths) {
    std::lock_guard lock(mutex_);
    if (sensorTemperature_ != kTemperatureNotFitted)
        temperatureOffset_ = referenceTenths - sensorTemperature_;
}

void LoggerModel::reset() {
    std::lock_guard lock(mutex_);
    buffers_.clear();
    residue_.clear();
    mode_ = 0;
    temperatureOffset_ = 0;
    overload_ = false;
}

int LoggerModel::filterA() const {
    std::lock_guard lock(mutex_);
    return filterA_;
}

int LoggerModel::filterB() const {
    std::lock_guard lock(mutex_);
    return filterB_;
}

void LoggerModel::setFilters(int a, int b) {
    std::lock_guard lock(mutex_);
    filterA_ = a & 0xFF;
    filterB_ = b & 0xFF;
}

int LoggerModel::histogramBin(int bin) const {
    std::lock_guard lock(mutex_);
    if (bin < 1 || bin > kHistogramBins)
        return 0;
    return histograms_[static_cast<std::size_t>(activeHistogram_)]
                      [static_cast<std::size_t>(bin - 1)];
}

void LoggerModel::setHistogram(const std::vector<int>& counts) {
    std::lock_guard lock(mutex_);
    std::vector<int>& bank = histograms_[static_cast<std::size_t>(activeHistogram_)];
    bank.assign(kHistogramBins, 0);
    std::copy_n(counts.begin(), std::min<std::size_t>(counts.size(), kHistogramBins), bank.begin());
}

void LoggerModel::switchHistogramBanks() {
    std::lock_guard lock(mutex_);
    activeHistogram_ = 1 - activeHistogram_;
}
