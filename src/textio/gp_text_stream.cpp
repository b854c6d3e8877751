#include "textio/gp_text_stream.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include <unicode/normalizer2.h>
#include <unicode/uchar.h>

#include "platform/ansi.h"

namespace vx::textio {
namespace {

static_assert(std::endian::native == std::endian::little,
              "UTF-16 buffers are copied to little-endian files unchanged");

// Text is converted in pieces of this many code units, so memory stays bounded for any size.
constexpr size_t kPieceUnits = size_t{32} * 1024;

constexpr char16_t kReplacement = 0xFFFD;

std::string WithName(const char* text) {
    return std::string(TGpTextStream::kName) + ":" + text;
}

// The canonical composition of base and mark when the ANSI code page has a byte for it, else 0.
char16_t AnsiComposite(char16_t base, char16_t mark) {
    if (u_getCombiningClass(mark) == 0) return 0;
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
    if (U_FAILURE(status)) return 0;
    const UChar32 composed = nfc->composePair(base, mark);
    if (composed <= 0 || composed > 0xFFFF) return 0;
    const auto unit = static_cast<char16_t>(composed);
    return vx::platform::IsAnsiChar(unit) ? unit : 0;
}

char16_t UnitAt(const uint8_t* bytes, size_t index) {
    char16_t c;
    std::memcpy(&c, bytes + index * 2, 2);  // the caller's buffer may be unaligned
    return c;
}

bool IsCombiningMark(char16_t c) {
    return c >= 0x300 && u_getCombiningClass(c) != 0;
}

}  // namespace

TextStreamError ConversionError(std::string_view function, uint32_t systemError,
                                std::string_view systemMessage) {
    std::string message(function);
    message += " failed. ";
    if (systemError != 0) {
        message += "Win32-Fehler. Code: " + std::to_string(systemError) + ".\n";
        message += systemMessage;
        return TextStreamError(message, kErrorConversionFailed);
    }
    message += "Eine Win32-API-Funktion ist fehlgeschlagen";
    return TextStreamError(message, kErrorConversionFailedNoCode);
}

TGpTextStream::TGpTextStream(ByteStream& stream, uint16_t codePage, unsigned createFlags,
                             TextAccess access)
    : TGpStreamWrapper(stream), codePage_(codePage), flags_(createFlags), access_(access) {
    if (codePage_ == kCodePageUtf16 || codePage_ == kCodePageUtf32 || codePage_ == kCodePageUtf8) {
        flags_ |= kCreateUnicode;
    } else if (codePage_ != 0) {
        flags_ &= ~kCreateUnicode;
    } else if (IsUnicode()) {
        codePage_ = kCodePageUtf16;  // Unicode without a code page is UTF-16
    } else {
        codePage_ = kCodePageAnsi;
    }
    // Refused before the stream is touched, so nothing is emptied.
    if (access_ == TextAccess::Write && IsReversed()) {
        throw TextStreamError(WithName("Cannot write to reversed Unicode stream."),
                              kErrorCannotWriteReversed);
    }
    if (access_ == TextAccess::Append && IsReversed()) {
        throw TextStreamError(WithName("Cannot append reversed Unicode stream."),
                              kErrorCannotAppendReversed);
    }
    switch (access_) {
        case TextAccess::Read:
        case TextAccess::ReadWrite:
            DetectMark();
            break;
        case TextAccess::Write:
            Seek(0, SeekOrigin::Begin);
            SetSize(0);
            WriteMark();
            break;
        case TextAccess::Append:
            Seek(0, SeekOrigin::End);
            if (Size() == 0) WriteMark();
            break;
    }
}

void TGpTextStream::DetectMark() {
    const int64_t size = Size();
    Seek(0, SeekOrigin::Begin);
    uint8_t head[4] = {};
    const size_t got = TGpStreamWrapper::Read(head, size > 3 ? 4 : static_cast<size_t>(size));
    int64_t markLength = 0;
    auto found = [&](uint16_t codePage, bool reversed, int64_t length) {
        codePage_ = codePage;
        flags_ |= kCreateUnicode;
        flags_ =
            reversed ? (flags_ | kCreateReverseByteOrder) : (flags_ & ~kCreateReverseByteOrder);
        markLength = length;
    };
    // 4-byte marks first and only for files longer than 3 bytes; the shorter ones after that.
    if (size > 3 && got == 4 && head[2] == 0 && head[3] == 0) {
        if (head[0] == 0xFF && head[1] == 0xFE) found(kCodePageUtf32, false, 4);
        if (head[0] == 0xFE && head[1] == 0xFF) found(kCodePageUtf32, true, 4);
    }
    if (markLength == 0 && size > 1 && got >= 2) {
        if (head[0] == 0xFF && head[1] == 0xFE) {
            found(kCodePageUtf16, false, 2);
        } else if (head[0] == 0xFE && head[1] == 0xFF) {
            found(kCodePageUtf16, true, 2);
        } else if (size > 2 && got >= 3 && head[0] == 0xEF && head[1] == 0xBB && head[2] == 0xBF) {
            found(kCodePageUtf8, false, 3);
        }
    }
    Seek(markLength, SeekOrigin::Begin);
}

void TGpTextStream::WriteMark() {
    static const uint8_t kUtf32[] = {0xFF, 0xFE, 0x00, 0x00};
    static const uint8_t kUtf16[] = {0xFF, 0xFE};
    static const uint8_t kUtf8[] = {0xEF, 0xBB, 0xBF};
    if (codePage_ == kCodePageUtf32) WriteBytes(kUtf32, sizeof kUtf32);
    if (codePage_ == kCodePageUtf16) WriteBytes(kUtf16, sizeof kUtf16);
    if (codePage_ == kCodePageUtf8 && (flags_ & kCreateWriteUtf8Mark) != 0) {
        WriteBytes(kUtf8, sizeof kUtf8);
    }
}

size_t TGpTextStream::ReadRawUtf16(void* buffer, size_t count) {
    const size_t n = TGpStreamWrapper::Read(buffer, count);
    if (IsReversed()) {
        auto* bytes = static_cast<uint8_t*>(buffer);
        for (size_t i = 0; i + 1 < n; i += 2) std::swap(bytes[i], bytes[i + 1]);
    }
    return n;
}

bool TGpTextStream::DecodePiece(size_t maxUnits) {
    const size_t units = std::min(maxUnits, kPieceUnits);
    stage_.clear();
    if (codePage_ == kCodePageUtf8) {
        inputBuffer_.resize(units);
        const size_t n = TGpStreamWrapper::Read(inputBuffer_.data(), units);
        stage_.resize(platform::Utf8Decoder::MaxUnits(n));
        size_t produced;
        if (n == 0) {
            produced = utf8_.Finish(stage_.data());
        } else {
            produced = utf8_.Decode(reinterpret_cast<const uint8_t*>(inputBuffer_.data()), n,
                                    stage_.data());
        }
        stage_.resize(produced);
        return n > 0 || produced > 0;
    }
    if (codePage_ == kCodePageUtf32) {
        // Each 32-bit unit gives its low 16 bits; a unit cut by the read waits for the next one.
        inputBuffer_.resize(carryLength_ + units * 4);
        std::memcpy(inputBuffer_.data(), carry_, carryLength_);
        const size_t n = TGpStreamWrapper::Read(inputBuffer_.data() + carryLength_, units * 4);
        const size_t total = carryLength_ + n;
        const auto* bytes = reinterpret_cast<const uint8_t*>(inputBuffer_.data());
        const size_t whole = total / 4;
        stage_.resize(whole);
        for (size_t i = 0; i < whole; ++i) {
            const uint8_t* u = bytes + i * 4;
            stage_[i] = IsReversed() ? static_cast<char16_t>((u[2] << 8) | u[3])
                                     : static_cast<char16_t>(u[0] | (u[1] << 8));
        }
        carryLength_ = total - whole * 4;
        std::memcpy(carry_, bytes + whole * 4, carryLength_);
        if (n == 0 && carryLength_ > 0) {  // a truncated last unit
            stage_.push_back(kReplacement);
            carryLength_ = 0;
        }
        return !stage_.empty() || n > 0;
    }
    inputBuffer_.resize(units);
    const size_t n = TGpStreamWrapper::Read(inputBuffer_.data(), units);
    stage_.resize(n);
    for (size_t i = 0; i < n; ++i) {
        stage_[i] = vx::platform::AnsiToWideChar(static_cast<unsigned char>(inputBuffer_[i]));
    }
    return n > 0;
}

size_t TGpTextStream::Read(void* buffer, size_t count) {
    if (!IsUnicode() && count % 2 != 0) {
        throw TextStreamError(
            WithName("Cannot convert odd number of bytes: ") + std::to_string(count),
            kErrorOddByteCount);
    }
    if (codePage_ == kCodePageUtf16) return ReadRawUtf16(buffer, count);
    auto* out = static_cast<uint8_t*>(buffer);
    const size_t units = count / 2;
    size_t done = std::min(units, pendingUnits_.size());
    std::memcpy(out, pendingUnits_.data(), done * 2);
    pendingUnits_.erase(0, done);
    while (done < units && DecodePiece(units - done)) {
        const size_t take = std::min(units - done, stage_.size());
        std::memcpy(out + done * 2, stage_.data(), take * 2);
        pendingUnits_.append(stage_, take);
        done += take;
    }
    return done * 2;
}

size_t TGpTextStream::EncodeUnits(const char16_t* units, size_t count, uint8_t* out) const {
    if (codePage_ == kCodePageUtf8) return platform::EncodeUtf8Units(units, count, out);
    if (codePage_ == kCodePageUtf16) {
        for (size_t i = 0; i < count; ++i) {
            const auto low = static_cast<uint8_t>(units[i] & 0xFF);
            const auto high = static_cast<uint8_t>(units[i] >> 8);
            out[2 * i] = IsReversed() ? high : low;
            out[2 * i + 1] = IsReversed() ? low : high;
        }
        return count * 2;
    }
    if (codePage_ == kCodePageUtf32) {
        // Every code unit widened on its own, surrogate halves included.
        for (size_t i = 0; i < count; ++i) {
            uint8_t* u = out + 4 * i;
            const auto low = static_cast<uint8_t>(units[i] & 0xFF);
            const auto high = static_cast<uint8_t>(units[i] >> 8);
            u[0] = IsReversed() ? 0 : low;
            u[1] = IsReversed() ? 0 : high;
            u[2] = IsReversed() ? high : 0;
            u[3] = IsReversed() ? low : 0;
        }
        return count * 4;
    }
    // Composite check: a base character followed by combining marks becomes the precomposed
    // character where the code page has one; what does not compose is converted unit by unit,
    // with the default character for units without a byte.
    size_t n = 0;
    for (size_t i = 0; i < count; ++i) {
        char16_t c = units[i];
        while (i + 1 < count) {
            const char16_t composed = AnsiComposite(c, units[i + 1]);
            if (composed == 0) break;
            c = composed;
            ++i;
        }
        out[n++] = static_cast<uint8_t>(vx::platform::AnsiByte(c));
    }
    return n;
}

bool TGpTextStream::WriteBytes(const uint8_t* bytes, size_t count) {
    return TGpStreamWrapper::Write(bytes, count) == count;
}

size_t TGpTextStream::Write(const void* buffer, size_t count) {
    const auto* in = static_cast<const uint8_t*>(buffer);
    const size_t units = count / 2;
    std::u16string piece;
    size_t done = 0;
    while (done < units) {
        size_t take = std::min(kPieceUnits, units - done);
        if (!IsUnicode()) {
            // A base character stays in the piece of the marks that follow it, so that the
            // composite check sees them together.
            while (take > 1 && done + take < units && IsCombiningMark(UnitAt(in, done + take))) {
                --take;
            }
        } else if (take > 1 && done + take < units) {
            // Both halves of a surrogate pair go into one piece (one 4-byte UTF-8 sequence).
            const char16_t last = UnitAt(in, done + take - 1);
            if (last >= 0xD800 && last <= 0xDBFF) --take;
        }
        piece.resize(take);
        std::memcpy(piece.data(), in + done * 2, take * 2);  // the caller's buffer may be unaligned
        outputBuffer_.resize(take * 4);
        auto* bytes = reinterpret_cast<uint8_t*>(outputBuffer_.data());
        const size_t n = EncodeUnits(piece.data(), take, bytes);
        if (!WriteBytes(bytes, n)) break;
        done += take;
    }
    return done * 2;
}

bool TGpTextStream::WriteString(std::u16string_view text) {
    if (text.empty()) return true;
    return Write(text.data(), text.size() * 2) == text.size() * 2;
}

}  // namespace vx::textio
