#include "textio/byte_lines.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vx::textio {

namespace {

std::optional<uint64_t> TextStartOf(const unsigned char* head, std::size_t got, uint64_t size) {
    const bool ff = got >= 2 && head[0] == 0xFF && head[1] == 0xFE;
    const bool fe = got >= 2 && head[0] == 0xFE && head[1] == 0xFF;
    if (size > 1 && (ff || fe)) return std::nullopt;  // UTF-16, or UTF-32 with zeros after it
    if (size > 2 && got >= 3 && head[0] == 0xEF && head[1] == 0xBB && head[2] == 0xBF) return 3;
    return 0;
}

}  // namespace

std::optional<uint64_t> Utf8TextStart(const platform::ReadOnlyFile& file) {
    const uint64_t size = file.Size();
    unsigned char head[4] = {};
    const std::size_t got = file.ReadAt(0, head, size > 3 ? 4 : static_cast<std::size_t>(size));
    return TextStartOf(head, got, size);
}

std::optional<uint64_t> Utf8TextStart(std::string_view contents) {
    unsigned char head[4] = {};
    const std::size_t got = std::min<std::size_t>(contents.size(), 4);
    std::memcpy(head, contents.data(), got);
    return TextStartOf(head, got, contents.size());
}

const char* FindByteLineBreak(const char* p, const char* end) {
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    for (; end - p >= 16; p += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const int mask =
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, cr), _mm_cmpeq_epi8(bytes, lf)));
        if (mask != 0) return p + __builtin_ctz(static_cast<unsigned>(mask));
    }
#endif
    for (; p != end; ++p) {
        if (*p == '\r' || *p == '\n') return p;
    }
    return end;
}

ByteBlockReader::ByteBlockReader(const platform::ReadOnlyFile& file, uint64_t start,
                                 std::size_t pieceSize, std::size_t maxLineBytes)
    : file_(file),
      fileOffset_(start),
      readOffset_(start),
      pieceSize_(pieceSize),
      maxLineBytes_(std::max(maxLineBytes, pieceSize)) {}

bool ByteBlockReader::Next(std::string_view& block, uint64_t& offset) {
    if (tooLong_) return false;
    // Keep the bytes not handed out yet at the front.
    if (given_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + given_, used_ - given_);
        used_ -= given_;
        fileOffset_ += given_;
        given_ = 0;
    }
    bool atEnd = false;
    for (;;) {
        // No more room than the rest of the file needs (small files are read often).
        const uint64_t left = file_.Size() > readOffset_ ? file_.Size() - readOffset_ : 0;
        const auto piece = static_cast<std::size_t>(std::min<uint64_t>(pieceSize_, left));
        if (buffer_.size() < used_ + piece) buffer_.resize(used_ + piece);
        const std::size_t before = used_;
        const std::size_t got =
            piece > 0 ? file_.ReadAt(readOffset_, buffer_.data() + used_, piece) : 0;
        used_ += got;
        readOffset_ += got;
        atEnd = got < pieceSize_;
        if (atEnd) break;
        // Cut after the last line break whose kind is known (a CR at the very end may still be
        // followed by its LF); the bytes kept before this read held none, except maybe such a CR.
        const std::size_t lowest = before > 0 ? before - 1 : 0;
        for (std::size_t at = used_; at-- > lowest;) {
            if (buffer_[at] == '\n' || (buffer_[at] == '\r' && at + 1 < used_)) {
                given_ = at + 1;
                break;
            }
        }
        if (given_ > 0) break;
        // No line break yet: the piece grows by another piece, unless the line is too long.
        if (used_ > maxLineBytes_) {
            tooLong_ = true;
            return false;
        }
    }
    if (atEnd) given_ = used_;
    if (given_ == 0) return false;
    // Only the first line can be longer than a piece (the buffer grows for it alone).
    const auto firstLine = static_cast<std::size_t>(
        FindByteLineBreak(buffer_.data(), buffer_.data() + given_) - buffer_.data());
    if (firstLine > maxLineBytes_) {
        tooLong_ = true;
        return false;
    }
    block = std::string_view(buffer_.data(), given_);
    offset = fileOffset_;
    return true;
}

}  // namespace vx::textio
