// UTF-8, the one encoder and decoder of the engine. Writing produces standard UTF-8: a surrogate
// pair becomes one 4-byte sequence, U+0000 one 0 byte, and a lone surrogate half U+FFFD (or, for
// names of the host that must survive a round trip, its 3-byte form). Reading accepts standard
// UTF-8 and also the forms that earlier versions wrote (each surrogate half as its own 3-byte
// sequence, U+0000 as E0 80 80), so files written before read back unchanged.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vx::platform {

// Longest UTF-8 form per code unit (a pair of units takes 4 bytes).
constexpr size_t kMaxUtf8BytesPerUnit = 3;

enum class LoneSurrogates {
    Replace,  // U+FFFD: the output is valid UTF-8 (files)
    Keep,     // the 3-byte form of the half (host names, which must map back to the same bytes)
};

// Encodes the units into out (room for kMaxUtf8BytesPerUnit bytes per unit); returns the byte
// count. A high surrogate at the very end has no partner here: callers that write in pieces keep
// it for the next piece (see EndsInsidePair).
size_t EncodeUtf8Units(const char16_t* units, size_t count, uint8_t* out,
                       LoneSurrogates lone = LoneSurrogates::Replace);
std::string EncodeUtf8(std::u16string_view text, LoneSurrogates lone = LoneSurrogates::Replace);

// True when the text ends with a high surrogate, whose low half may follow in the next piece.
inline bool EndsInsidePair(std::u16string_view text) {
    return !text.empty() && text.back() >= 0xD800 && text.back() <= 0xDBFF;
}

// The UTF-8 of UpperCase(DecodeUtf8(bytes)) (text.h), made without decoding into units, for
// bytes of the usual kinds: ASCII and the 2- and 3-byte sequences of code units other than
// surrogate halves. False for any other bytes (their upper-case form then needs the decoding).
bool UpperCaseUsualUtf8(std::string_view bytes, std::string& out);

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
// Appends the decoded bytes to out.
void AppendDecodedUtf8(std::string_view bytes, std::u16string& out);

}  // namespace vx::platform
