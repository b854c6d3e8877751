// Unsigned numbers in 7-bit groups, low group first, the high bit marking a group that follows:
// the length fields of the engine's own binary files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vx::platform {

inline void PutVarint(std::string& out, uint64_t value) {
    char bytes[10];
    std::size_t n = 0;
    for (; value >= 0x80; value >>= 7) bytes[n++] = static_cast<char>(value | 0x80);
    bytes[n++] = static_cast<char>(value);
    out.append(bytes, n);
}

// A little-endian number of byteCount (1 to 8) bytes: the fixed-width fields of those files
// (ByteReader::Fixed reads it back).
inline void PutFixed(std::string& out, uint64_t value, std::size_t byteCount) {
    for (std::size_t i = 0; i < byteCount; ++i) out.push_back(static_cast<char>(value >> (8 * i)));
}

// Reads the number at position and moves position past it; false when the bytes end first or
// the number runs over ten groups.
inline bool GetVarint(std::string_view bytes, std::size_t& position, uint64_t& value) {
    value = 0;
    for (int shift = 0; shift < 64 && position < bytes.size(); shift += 7) {
        const auto byte = static_cast<unsigned char>(bytes[position++]);
        value |= static_cast<uint64_t>(byte & 0x7F) << shift;
        if (byte < 0x80) return true;
    }
    return false;
}

// Signed numbers as unsigned ones that stay small for small magnitudes: 0, -1, 1, -2 ... become
// 0, 1, 2, 3 ...
inline uint64_t ZigZag(int64_t value) {
    return (static_cast<uint64_t>(value) << 1) ^ static_cast<uint64_t>(value >> 63);
}
inline int64_t UnZigZag(uint64_t value) {
    return static_cast<int64_t>(value >> 1) ^ -static_cast<int64_t>(value & 1);
}

}  // namespace vx::platform
