// A fast 64-bit hash of bytes, for checksums of the engine's own files (not for security).
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace vx::platform {

// The final mixing step of MurmurHash3: every input bit reaches every output bit.
inline uint64_t MixBits64(uint64_t h) {
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDULL;
    h ^= h >> 33;
    h *= 0xC4CEB9FE1A85EC53ULL;
    h ^= h >> 33;
    return h;
}

inline uint64_t Hash64(const void* data, std::size_t size, uint64_t seed = 0) {
    constexpr uint64_t k1 = 0x9E3779B97F4A7C15ULL;
    constexpr uint64_t k2 = 0xC2B2AE3D27D4EB4FULL;
    constexpr uint64_t k3 = 0x165667B19E3779F9ULL;
    const auto* p = static_cast<const unsigned char*>(data);
    uint64_t h = seed ^ (static_cast<uint64_t>(size) * k1);
    const auto mix = [&](uint64_t word) {
        word *= k2;
        word = std::rotl(word, 31);
        word *= k1;
        h ^= word;
        h = std::rotl(h, 27) * k1 + k3;
    };
    for (; size >= 8; p += 8, size -= 8) {
        uint64_t word;
        std::memcpy(&word, p, 8);
        mix(word);
    }
    if (size > 0) {
        uint64_t word = 0;
        std::memcpy(&word, p, size);
        mix(word);
    }
    return MixBits64(h);
}

}  // namespace vx::platform
