#include "LoggerCommands.h"

#include "BufferRecordLayout.h"
#include "LoggerModel.h"
#include "WireBytes.h"

#include <array>
#include <map>

namespace sim {

namespace {

using Blocks = std::vector<int>;

// Letters the logger understands, with the data blocks each takes.
const std::map<char, Blocks>& commandTable() {
    static const std::map<char, Blocks> table{
        {'/', {}},  {'d', {}},  {'D', {7}}, {'R', {1}}, {'F', {1}}, {'W', {1}}, {'L', {1}},
        {'l', {}},  {'I', {4}}, {'b', {}},  {'B', {1}}, {'C', {}},  {'s', {}},  {'z', {}},
        {'1', {}},  {'2', {}},  {'3', {}},  {'#', {1}}, {'$', {}},  {'p', {2}}, {'q', {}},
        {'n', {}},  {'h', {}},  {'g', {}},  {'U', {2}}, {'v', {}},  {'o', {}},  {'Q', {99}},
        {'S', {2}}, {'t', {2}}, {'K', {2}}, {'x', {}},  {'X', {}},  {'<', {}},  {'>', {1, 1}},
    };
    return table;
}

// Rates the logger's serial port can be switched to.
constexpr std::array<int, 5> kBaudRates{1200, 2400, 4800, 9600, 19200};

constexpr char kRefused = '?';
constexpr int kWholeMemory = 8;

std::deque<Reply> one(std::string bytes) {
    return {Reply{std::move(bytes), std::nullopt}};
}
std::deque<Reply> one(char c) {
    return one(std::string(1, c));
}
std::deque<Reply> ack(char letter, bool ok) {
    return one(ok ? letter : kRefused);
}

// A reference level word; FF FF is "not taken".
int referenceValue(const std::string& data) {
    return byteAt(data, 0) >= 128 ? buffer_record::kNoReference : readU16(data, 0);
}

} // namespace

std::optional<std::vector<int>> LoggerCommands::blockSizes(char letter) {
    const auto found = commandTable().find(letter);
    if (found == commandTable().end())
        return std::nullopt;
    return found->second;
}

void LoggerCommands::unlinked() {
    downloading_ = false;
}

std::deque<Reply> LoggerCommands::run(char letter, const std::vector<std::string>& blocks) {
    const std::string data = blocks.empty() ? std::string() : blocks.front();
    model_.catchUp(); // a running logger has gone on recording since the last command
    switch (letter) {
    case '/':
        return one('k');
    case 'd':
        return one(dateTimeBytes(model_.clock()));
    case 'D':
        return setClock(data);
    case 'R': {
        const int value = byteAt(data, 0);
        if (value > 1)
            return one(kRefused);
        model_.setPowerDownDisabled(value == 1);
        return one('R');
    }
    case 'F':
        model_.setFrequencyWeighting(byteAt(data, 0));
        return one('F');
    case 'W':
        model_.setTimeWeighting(byteAt(data, 0));
        return one('W');
    case 'L':
        return ack('L', model_.setRange(byteAt(data, 0)));
    case 'l':
        return one(static_cast<char>(model_.range()));
    case 'I':
        model_.setSerialNumber(static_cast<std::int32_t>(readU32(data, 0)));
        return one('O');
    case 'b':
        return one(static_cast<char>(model_.bufferCount()));
    case 'B': {
        const std::string record = model_.bufferRecord(byteAt(data, 0));
        if (record.empty())
            return {}; // no such buffer: nothing to send
        return one(record);
    }
    case 'C':
        return ack('C', model_.clearLastBuffer());
    case 's':
        return one(wordBytes(model_.takeSplReading()));
    case 'z':
        return one(wordBytes(model_.rawLevel()));
    case '1':
        return update();
    case '2':
        return information();
    case '3':
        return one(std::string{static_cast<char>(model_.frequencyWeighting()),
                               static_cast<char>(model_.timeWeighting())});
    case '#':
        return downloadStart(data);
    case '$':
        return downloadBlock();
    case 'p':
        return ack('p', model_.setPostReference(referenceValue(data)));
    case 'q':
        return ack('q', model_.stopLogging());
    case 'n':
        unlinked();
        return {};
    case 'h':
        return one(static_cast<char>(model_.mode()));
    case 'g':
        downloading_ = false;
        model_.reset();
        return one('g');
    case 'U':
        return changeBaudRate(data);
    case 'v':
        model_.clearOverload();
        return {};
    case 'o':
        return lastResults();
    case 'Q':
        return ack('Q', model_.startLogging(data));
    case 'S':
    case 't':
        return one(model_.calibrateSystem(referenceValue(data)) ? 'T' : 't');
    case 'K':
        model_.calibrateTemperature(readS16(data, 0));
        return one('K');
    case 'x':
        return histogram();
    case 'X':
        model_.switchHistogramBanks();
        return one('X');
    case '<':
        return {Reply{std::string(1, static_cast<char>(model_.filterA())), std::nullopt},
                Reply{std::string(1, static_cast<char>(model_.filterB())), std::nullopt}};
    case '>':
        if (blocks.size() == 2)
            model_.setFilters(byteAt(blocks[0], 0), byteAt(blocks[1], 0));
        return {};
    default:
        return {};
    }
}

std::deque<Reply> LoggerCommands::setClock(const std::string& data) {
    // Monday = 1 ... Sunday = 7 on the way in; the logger counts Sunday as 0.
    const int weekday = byteAt(data, 0);
    const auto dt = readDateTime(data, 1);
    if (weekday < 1 || weekday > 7 || !dt)
        return one(kRefused);
    model_.setClock(*dt, weekday % 7);
    return one('D');
}

std::deque<Reply> LoggerCommands::update() {
    const LoggerModel::Status s = model_.status();
    return one(wordBytes(s.level) + static_cast<char>(s.overload ? 1 : 0) + dateTimeBytes(s.clock));
}

std::deque<Reply> LoggerCommands::information() {
    const LoggerModel::Status s = model_.status();
    std::string record = longBytes(s.serialNumber);
    record += wordBytes(s.processorVersion);
    record += wordBytes(s.measurementVersion);
    record += static_cast<char>(s.range);
    record += wordBytes(s.battery);
    record += wordBytes(s.temperature);
    record += static_cast<char>(s.powerDownDisabled ? 1 : 0);
    record += static_cast<char>(s.weekday);
    record += dateTimeBytes(s.clock);
    record += static_cast<char>(s.mode);
    record += longBytes(s.freeMemory);
    return one(record);
}

std::deque<Reply> LoggerCommands::downloadStart(const std::string& data) {
    const int buffer = byteAt(data, 0);
    if (buffer == kWholeMemory) {
        downloadNext_ = 0;
        downloadEnd_ = model_.memoryBlockCount();
    } else if (const auto range = model_.bufferRange(buffer)) {
        downloadNext_ = range->first;
        downloadEnd_ = range->first + range->count;
    } else {
        downloadNext_ = downloadEnd_ = 0;
    }
    downloading_ = true;
    return one(wordBytes(downloadEnd_ - downloadNext_));
}

std::deque<Reply> LoggerCommands::downloadBlock() {
    // Reading on past the announced count continues through the memory (the
    // next buffer, the terminator, erased blocks) as the read pointer moves.
    if (!downloading_ || downloadNext_ >= model_.memoryBlockCount())
        return {};
    return one(model_.memoryBlock(downloadNext_++));
}

std::deque<Reply> LoggerCommands::changeBaudRate(const std::string& data) {
    const int baud = readU16(data, 0);
    for (int rate : kBaudRates) {
        if (rate == baud)
            return {Reply{"U", baud}};
    }
    return one(kRefused);
}

std::deque<Reply> LoggerCommands::lastResults() {
    const auto results = model_.lastResults();
    if (!results)
        return one('\0');
    return {Reply{std::string(1, '\1'), std::nullopt}, Reply{*results, std::nullopt}};
}

std::deque<Reply> LoggerCommands::histogram() {
    std::deque<Reply> replies;
    for (int bin = 1; bin <= LoggerModel::kHistogramBins; ++bin)
        replies.push_back(Reply{wordBytes(model_.histogramBin(bin)), std::nullopt});
    return replies;
}

} // namespace sim
