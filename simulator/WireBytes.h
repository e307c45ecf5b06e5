#pragma once

#include <cstdint>
#include <string>

// Big-endian words and longs as the QN-7x puts them on the wire. Callers never
// shift bytes by hand, so the byte order lives in one place.
namespace sim {

inline std::uint8_t byteAt(const std::string& bytes, std::size_t offset) {
    return offset < bytes.size() ? static_cast<std::uint8_t>(bytes[offset]) : 0;
}

inline std::string wordBytes(int value) {
    const auto v = static_cast<std::uint16_t>(value);
    return {static_cast<char>(v >> 8), static_cast<char>(v & 0xFF)};
}

inline std::string longBytes(std::int64_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    return {static_cast<char>(v >> 24), static_cast<char>((v >> 16) & 0xFF),
            static_cast<char>((v >> 8) & 0xFF), static_cast<char>(v & 0xFF)};
}

inline int readU16(const std::string& bytes, std::size_t offset) {
    return byteAt(bytes, offset) << 8 | byteAt(bytes, offset + 1);
}

inline std::int16_t readS16(const std::string& bytes, std::size_t offset) {
    return static_cast<std::int16_t>(readU16(bytes, offset));
}

inline std::uint32_t readU32(const std::string& bytes, std::size_t offset) {
    return static_cast<std::uint32_t>(readU16(bytes, offset)) << 16 |
           static_cast<std::uint32_t>(readU16(bytes, offset + 2));
}

} // namespace sim
