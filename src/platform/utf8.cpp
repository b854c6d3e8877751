#include "platform/utf8.h"

#include "platform/text.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace vx::platform {
namespace {

static_assert(std::endian::native == std::endian::little,
              "the ASCII block test reads little-endian");

constexpr char16_t kReplacement = 0xFFFD;

inline bool IsContinuation(uint8_t b) {
    return (b & 0xC0) == 0x80;
}

// Writes one code unit of the Basic Multilingual Plane in its 1-, 2- or 3-byte form.
[[gnu::always_inline]] inline uint8_t* PutUnit(uint8_t* o, uint32_t c) {
    if (c < 0x80) {
        *o++ = static_cast<uint8_t>(c);
    } else if (c < 0x800) {
        *o++ = static_cast<uint8_t>(0xC0 | (c >> 6));
        *o++ = static_cast<uint8_t>(0x80 | (c & 0x3F));
    } else {
        *o++ = static_cast<uint8_t>(0xE0 | (c >> 12));
        *o++ = static_cast<uint8_t>(0x80 | ((c >> 6) & 0x3F));
        *o++ = static_cast<uint8_t>(0x80 | (c & 0x3F));
    }
    return o;
}

// Decodes the sequence at p (avail > 0 bytes) into out. Returns the bytes consumed, or 0 when the
// bytes end inside a sequence that is valid so far. An invalid sequence yields one U+FFFD and
// consumes the bytes up to (not including) the first byte that breaks it.
[[gnu::always_inline]] inline size_t DecodeOne(const uint8_t* p, size_t avail, char16_t*& out) {
    const uint8_t b0 = p[0];
    if (b0 < 0x80) {
        *out++ = b0;
        return 1;
    }
    if (b0 < 0xC2 || b0 > 0xF4) {  // stray continuation byte, overlong lead or no UTF-8 lead
        *out++ = kReplacement;
        return 1;
    }
    if (avail < 2) return 0;
    const uint8_t b1 = p[1];
    if (b0 < 0xE0) {
        if (!IsContinuation(b1)) {
            *out++ = kReplacement;
            return 1;
        }
        *out++ = static_cast<char16_t>(((b0 & 0x1F) << 6) | (b1 & 0x3F));
        return 2;
    }
    if (b0 < 0xF0) {
        // E0 80 80 is the form earlier versions wrote for U+0000; other overlong forms stay
        // invalid. Surrogate halves (ED A0 80 ... ED BF BF) are accepted because earlier versions
        // wrote a pair as two of them.
        const bool zeroForm = b0 == 0xE0 && b1 == 0x80;
        if (!IsContinuation(b1) || (b0 == 0xE0 && b1 < 0xA0 && !zeroForm)) {
            *out++ = kReplacement;
            return 1;
        }
        if (avail < 3) return 0;
        const uint8_t b2 = p[2];
        if (!IsContinuation(b2) || (zeroForm && b2 != 0x80)) {
            *out++ = kReplacement;
            return 2;
        }
        *out++ = static_cast<char16_t>(((b0 & 0x0F) << 12) | ((b1 & 0x3F) << 6) | (b2 & 0x3F));
        return 3;
    }
    const uint8_t low = b0 == 0xF0 ? 0x90 : 0x80;
    const uint8_t high = b0 == 0xF4 ? 0x8F : 0xBF;
    if (b1 < low || b1 > high) {
        *out++ = kReplacement;
        return 1;
    }
    if (avail < 3) return 0;
    if (!IsContinuation(p[2])) {
        *out++ = kReplacement;
        return 2;
    }
    if (avail < 4) return 0;
    if (!IsContinuation(p[3])) {
        *out++ = kReplacement;
        return 3;
    }
    const uint32_t cp = (static_cast<uint32_t>(b0 & 0x07) << 18) | ((b1 & 0x3F) << 12) |
                        ((p[2] & 0x3F) << 6) | (p[3] & 0x3F);
    const uint32_t v = cp - 0x10000;
    *out++ = static_cast<char16_t>(0xD800 + (v >> 10));
    *out++ = static_cast<char16_t>(0xDC00 + (v & 0x3FF));
    return 4;
}

}  // namespace

size_t EncodeUtf8Units(const char16_t* units, size_t count, uint8_t* out, LoneSurrogates lone) {
    uint8_t* o = out;
    for (size_t i = 0; i < count; ++i) {
        // Runs of ASCII go four units at a time.
        while (i + 4 <= count) {
            uint64_t block;
            std::memcpy(&block, units + i, sizeof block);
            if ((block & 0xFF80FF80FF80FF80ULL) != 0) break;
            o[0] = static_cast<uint8_t>(block);
            o[1] = static_cast<uint8_t>(block >> 16);
            o[2] = static_cast<uint8_t>(block >> 32);
            o[3] = static_cast<uint8_t>(block >> 48);
            o += 4;
            i += 4;
        }
        if (i == count) break;
        const uint32_t c = units[i];
        if (c < 0x800) {
            o = PutUnit(o, c);
        } else if (c >= 0xD800 && c <= 0xDBFF && i + 1 < count && units[i + 1] >= 0xDC00 &&
                   units[i + 1] <= 0xDFFF) {
            const uint32_t cp = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00u);
            *o++ = static_cast<uint8_t>(0xF0 | (cp >> 18));
            *o++ = static_cast<uint8_t>(0x80 | ((cp >> 12) & 0x3F));
            *o++ = static_cast<uint8_t>(0x80 | ((cp >> 6) & 0x3F));
            *o++ = static_cast<uint8_t>(0x80 | (cp & 0x3F));
        } else {
            const uint32_t unit =
                (c >= 0xD800 && c <= 0xDFFF && lone == LoneSurrogates::Replace) ? 0xFFFD : c;
            o = PutUnit(o, unit);
        }
    }
    return static_cast<size_t>(o - out);
}

std::string EncodeUtf8(std::u16string_view text, LoneSurrogates lone) {
    std::string bytes(text.size() * kMaxUtf8BytesPerUnit, '\0');
    const size_t n =
        EncodeUtf8Units(text.data(), text.size(), reinterpret_cast<uint8_t*>(bytes.data()), lone);
    bytes.resize(n);
    return bytes;
}

bool UpperCaseUsualUtf8(std::string_view bytes, std::string& out) {
    static const char16_t* const upper = UpperCaseTable();
    // Room for 3 bytes per byte: an upper-case form may need more bytes than its unit (U+0250,
    // 2 bytes, becomes U+2C6F, 3 bytes).
    out.resize(bytes.size() * 3);
    auto* o = reinterpret_cast<uint8_t*>(out.data());
    const auto* p = reinterpret_cast<const uint8_t*>(bytes.data());
    const auto* const end = p + bytes.size();
    while (p != end) {
        const uint8_t b0 = *p;
        if (b0 < 0x80) {
            *o++ = b0 >= 'a' && b0 <= 'z' ? static_cast<uint8_t>(b0 - 0x20) : b0;
            ++p;
        } else if (b0 >= 0xC2 && b0 < 0xE0 && end - p >= 2 && IsContinuation(p[1])) {
            o = PutUnit(o, upper[((b0 & 0x1F) << 6) | (p[1] & 0x3F)]);
            p += 2;
        } else if (b0 >= 0xE0 && b0 < 0xF0 && end - p >= 3 && IsContinuation(p[1]) &&
                   IsContinuation(p[2])) {
            const unsigned c = ((b0 & 0x0F) << 12) | ((p[1] & 0x3F) << 6) | (p[2] & 0x3F);
            if (c < 0x800 || (c >= 0xD800 && c <= 0xDFFF)) return false;
            o = PutUnit(o, upper[c]);
            p += 3;
        } else {
            return false;
        }
    }
    out.resize(static_cast<std::size_t>(o - reinterpret_cast<uint8_t*>(out.data())));
    return true;
}

size_t Utf8Decoder::Decode(const uint8_t* bytes, size_t count, char16_t* out) {
    char16_t* o = out;
    const uint8_t* p = bytes;
    const uint8_t* const end = bytes + count;
    if (carryLength_ > 0 && count > 0) {
        // Complete the sequence kept from the previous piece; it needs at most 3 more bytes.
        uint8_t joined[8];
        std::memcpy(joined, carry_, carryLength_);
        const size_t take = std::min<size_t>(count, 4);
        std::memcpy(joined + carryLength_, bytes, take);
        const size_t consumed = DecodeOne(joined, carryLength_ + take, o);
        if (consumed == 0) {  // still incomplete: every new byte belongs to the sequence
            std::memcpy(carry_, joined, carryLength_ + take);
            carryLength_ += take;
            return 0;
        }
        // The kept bytes were a valid prefix, so the sequence consumed all of them.
        p += consumed - carryLength_;
        carryLength_ = 0;
    }
    // Bulk loop: at least 8 bytes remain, so no sequence can be cut here. ASCII runs are copied
    // a block at a time; the common 2- and 3-byte forms are decoded inline.
    while (end - p >= 8) {
        const uint8_t b0 = p[0];
        if (b0 < 0x80) {
            uint64_t block;
            std::memcpy(&block, p, sizeof block);
            const uint64_t high = block & 0x8080808080808080ULL;
            // Little-endian load: the lowest set bit belongs to the first non-ASCII byte.
            const size_t ascii = high == 0 ? 8 : static_cast<size_t>(std::countr_zero(high)) / 8;
            for (size_t i = 0; i < 8; ++i) o[i] = p[i];  // units beyond the run are overwritten
            o += ascii;
            p += ascii;
            continue;
        }
        const uint8_t b1 = p[1];
        if (b0 >= 0xC2 && b0 < 0xE0 && IsContinuation(b1)) {
            *o++ = static_cast<char16_t>(((b0 & 0x1F) << 6) | (b1 & 0x3F));
            p += 2;
            continue;
        }
        const uint8_t b2 = p[2];
        if (b0 > 0xE0 && b0 < 0xF0 && IsContinuation(b1) && IsContinuation(b2)) {
            *o++ = static_cast<char16_t>(((b0 & 0x0F) << 12) | ((b1 & 0x3F) << 6) | (b2 & 0x3F));
            p += 3;
            continue;
        }
        p += DecodeOne(p, static_cast<size_t>(end - p), o);
    }
    while (p < end) {
        const size_t consumed = DecodeOne(p, static_cast<size_t>(end - p), o);
        if (consumed == 0) {
            carryLength_ = static_cast<size_t>(end - p);
            std::memcpy(carry_, p, carryLength_);
            break;
        }
        p += consumed;
    }
    return static_cast<size_t>(o - out);
}

size_t Utf8Decoder::Finish(char16_t* out) {
    if (carryLength_ == 0) return 0;
    carryLength_ = 0;
    *out = kReplacement;
    return 1;
}

void AppendDecodedUtf8(std::string_view bytes, std::u16string& out) {
    const size_t base = out.size();
    out.resize(base + Utf8Decoder::MaxUnits(bytes.size()));
    Utf8Decoder decoder;
    size_t n =
        decoder.Decode(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &out[base]);
    n += decoder.Finish(&out[base + n]);
    out.resize(base + n);
}

std::u16string DecodeUtf8(std::string_view bytes) {
    std::u16string text;
    AppendDecodedUtf8(bytes, text);
    return text;
}

}  // namespace vx::platform
