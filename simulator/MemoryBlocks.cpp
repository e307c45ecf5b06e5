#include "MemoryBlocks.h"

#include "WireBytes.h"

#include <algorithm>

namespace sim {

namespace {

std::string header(BlockType type, const DateTime& stamp) {
    return static_cast<char>(type) + dateTimeBytes(stamp);
}

std::string padded(std::string block) {
    block.resize(kBlockSize, '\0');
    return block;
}

} // namespace

std::string statisticalBlock(const DateTime& stamp, const StatisticalValues& values) {
    std::string block = header(BlockType::Statistical, stamp);
    block += wordBytes(values.leq);
    block += wordBytes(values.lmin);
    block += wordBytes(values.lmax);
    for (int level : values.percentiles)
        block += wordBytes(level);
    block += wordBytes(values.temperature);
    block += wordBytes(values.battery);
    block += static_cast<char>(values.overload ? 1 : 0);
    return block;
}

std::string shortTermLeqBlock(const DateTime& stamp, const std::vector<int>& values) {
    std::string block = header(BlockType::ShortTermLeq, stamp);
    const std::size_t count = std::min<std::size_t>(values.size(), 12);
    for (std::size_t i = 0; i < count; ++i)
        block += wordBytes(values[i]);
    return padded(block);
}

std::string eventBlock(const DateTime& stamp, int code) {
    return padded(header(BlockType::Event, stamp) + static_cast<char>(code));
}

std::string errorBlock(const DateTime& stamp, int code) {
    return padded(header(BlockType::Error, stamp) + static_cast<char>(code));
}

std::string terminatorBlock(const DateTime& stamp) {
    return padded(header(BlockType::Terminator, stamp));
}

std::string erasedBlock() {
    return std::string(kBlockSize, static_cast<char>(0xFF));
}

BlockType blockType(const std::string& block) {
    return static_cast<BlockType>(byteAt(block, 0));
}

} // namespace sim
