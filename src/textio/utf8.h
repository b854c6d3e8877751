// UTF-8 in the form the text files use: writing encodes every UTF-16 code unit on its own (U+0000
// as E0 80 80, each surrogate half as its own 3-byte sequence); reading accepts exactly those forms
// besides standard UTF-8, so everything written reads back unchanged.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vx::textio {

// Longest UTF-8 form of one code unit.
constexpr size_t kMaxUtf8BytesPerUnit = 3;

// Encodes one code unit into out (room for 3 bytes); returns the byte count (1 ... 3).
inline size_t EncodeUtf8Unit(char16_t c, uint8_t* out) {
    if (c != 0 && c < 0x80) {
        out[0] = static_cast<uint8_t>(c);
        return 1;
    }
    if (c != 0 && c < 0x800) {
        out[0] = static_cast<uint8_t>(0xC0 | (c >> 6));
        out[1] = static_cast<uint8_t>(0x80 | (c & 0x3F));
        return 2;
    }
    out[0] = static_cast<uint8_t>(0xE0 | (c >> 12));
    out[1] = static_cast<uint8_t>(0x80 | ((c >> 6) & 0x3F));
    out[2] = static_cast<uint8_t>(0x80 | (c & 0x3F));
    return 3;
}

// Encodes the units into out (room for 3 bytes per unit); returns the byte count.
size_t EncodeUtf8Units(const char16_t* units, size_t count, uint8_t* out);
std::string EncodeUtf8(std::u16string_view text);

// Incremental decoder: bytes may arrive in pieces of any size; a multi-byte sequence cut at the
// end of a piece is kept and completed by the next one. Invalid bytes become U+FFFD; decoding never
// fails.
class Utf8Decoder {
  public:
    // Decodes the bytes into out, which needs room for MaxUnits(count) units; returns the units
    // written.
    size_t Decode(const uint8_t* bytes, size_t count, char16_t* out);
    // Ends the input: a sequence still incomplete becomes one U+FFFD. Returns the units written
    // (0 or 1).
    size_t Finish(char16_t* out);
    // Output bound of Decode for count input bytes (a kept sequence can yield up to two units).
    static constexpr size_t MaxUnits(size_t count) { return count + 4; }

  private:
    uint8_t carry_[4] = {};
    size_t carryLength_ = 0;
};

// Decodes a whole byte string.
std::u16string DecodeUtf8(std::string_view bytes);

}  // namespace vx::textio
