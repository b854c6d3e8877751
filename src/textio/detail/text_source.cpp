#include "textio/detail/text_source.h"

#include <algorithm>

#include "platform/ansi.h"

namespace vx::textio {

TextFileSource::TextFileSource(std::u16string_view fileName, bool ansiRoundTrip)
    : file_(fileName, FileOpenMode::Read),
      text_(std::make_unique<TGpTextStream>(file_, 0, 0, TextAccess::Read)),
      ansiRoundTrip_(ansiRoundTrip) {
    // Code page 0 without a mark reads as ANSI, and ReadTextFile converts the result back to ANSI
    // before decoding it as UTF-8. Windows-1252 maps all 256 bytes to distinct code units and
    // back, so that round trip is the identity: the file's bytes are decoded as UTF-8 directly.
    // A UTF-8 mark is skipped and the rest decoded once. Only the UTF-16 and UTF-32 marks take the
    // long way: decode to wide text, convert it to ANSI ("?" for characters without a byte) and
    // decode those bytes as UTF-8.
    wide_ = text_->Codepage() == kCodePageUtf16 || text_->Codepage() == kCodePageUtf32;
}

size_t TextFileSource::ReadUnits(char16_t* out, size_t capacity) {
    // The decoder may add up to 4 units beyond the bytes it is given.
    const size_t room = capacity - 4;
    if (wide_ && !ansiRoundTrip_) {
        // An odd last byte of a UTF-16 file is not a code unit and is dropped.
        units_.resize(std::min(capacity, kReadChunkBytes / 2));
        const size_t unitCount = text_->Read(units_.data(), units_.size() * 2) / 2;
        std::copy_n(units_.data(), unitCount, out);
        return unitCount;
    }
    while (!finished_) {
        size_t byteCount;
        if (wide_) {
            units_.resize(std::min(room, kReadChunkBytes / 2));
            // An odd last byte of a UTF-16 file is not a code unit and is dropped.
            const size_t unitCount = text_->Read(units_.data(), units_.size() * 2) / 2;
            bytes_.resize(unitCount);
            for (size_t i = 0; i < unitCount; ++i) {
                bytes_[i] = vx::platform::AnsiByte(units_[i]);
            }
            byteCount = unitCount;
        } else {
            bytes_.resize(std::min(room, kReadChunkBytes));
            byteCount = text_->Wrapped().Read(bytes_.data(), bytes_.size());
        }
        if (byteCount == 0) {
            finished_ = true;
            return decoder_.Finish(out);
        }
        const size_t produced =
            decoder_.Decode(reinterpret_cast<const uint8_t*>(bytes_.data()), byteCount, out);
        if (produced > 0) return produced;
        // Only the start of a multi-byte sequence was read: read on.
    }
    return 0;
}

}  // namespace vx::textio
