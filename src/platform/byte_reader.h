// Reading the engine's own binary files front to back: varints (varint.h), little-endian numbers
// of fixed width and runs of bytes. A read past the end, or a varint that does not end, fails the
// reader: that read and every later one give 0 or no bytes, and Failed() tells. Readers that
// must stop at once (throw) check Failed() after each read.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/varint.h"

namespace vx::platform {

class ByteReader {
  public:
    explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}

    uint64_t Varint() {
        uint64_t value = 0;
        if (failed_ || !GetVarint(bytes_, position_, value)) {
            Fail();
            return 0;
        }
        return value;
    }
    // A little-endian number of byteCount (1 to 8) bytes.
    uint64_t Fixed(std::size_t byteCount) {
        if (failed_ || byteCount > Remaining()) {
            Fail();
            return 0;
        }
        uint64_t value = 0;
        for (std::size_t i = 0; i < byteCount; ++i) {
            value |= uint64_t{static_cast<unsigned char>(bytes_[position_ + i])} << (8 * i);
        }
        position_ += byteCount;
        return value;
    }
    uint8_t Byte() { return static_cast<uint8_t>(Fixed(1)); }
    std::string_view Bytes(uint64_t count) {
        if (failed_ || count > Remaining()) {
            Fail();
            return {};
        }
        const std::string_view taken = bytes_.substr(position_, static_cast<std::size_t>(count));
        position_ += taken.size();
        return taken;
    }
    // Moves on by byteCount bytes, to the end at the most (no failure).
    void Skip(std::size_t byteCount) { position_ += std::min(byteCount, Remaining()); }

    std::size_t Remaining() const { return bytes_.size() - position_; }
    bool Failed() const { return failed_; }
    // Fails the reader also for a value its user finds out of range.
    void Fail() { failed_ = true; }

  private:
    std::string_view bytes_;
    std::size_t position_ = 0;
    bool failed_ = false;
};

}  // namespace vx::platform
