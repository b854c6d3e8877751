// The UTF-8 text of a file as bytes: where it begins, and its lines in blocks of whole lines
// with their offsets, without decoding. Lines break at CR LF, LF or CR, exactly where SplitLines
// breaks the decoded text (no multi-byte sequence holds a CR or LF byte), and a line decodes on
// its own to what the whole text decodes to there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/read_only_file.h"

namespace vx::textio {

// The offset where the file's UTF-8 text begins (3 after a UTF-8 mark, else 0), or nullopt when
// a UTF-16 or UTF-32 mark makes ReadTextFile read it otherwise. Marks as the text stream sees
// them.
std::optional<uint64_t> Utf8TextStart(const platform::ReadOnlyFile& file);
// The same for the whole contents of a file.
std::optional<uint64_t> Utf8TextStart(std::string_view contents);

// Position of the first CR or LF byte in [p, end), or end.
const char* FindByteLineBreak(const char* p, const char* end);
// Position after the line break at p (CR LF counts as one), p when p is end.
inline const char* SkipByteLineBreak(const char* p, const char* end) {
    if (p == end) return p;
    return (*p == '\r' && p + 1 != end && p[1] == '\n') ? p + 2 : p + 1;
}

// Reads a file from an offset in large pieces, each cut after a line break, so that no line and
// no CR LF pair is split between two blocks. A line longer than a piece makes the piece grow, up
// to maxLineBytes: a longer line ends the reading (TooLong), so that it is never held.
class ByteBlockReader {
  public:
    ByteBlockReader(const platform::ReadOnlyFile& file, uint64_t start,
                    std::size_t pieceSize = std::size_t{1} << 20,
                    std::size_t maxLineBytes = static_cast<std::size_t>(-1));
    // The next block and the file offset of its first byte; false at the end of the file or at a
    // line longer than maxLineBytes.
    bool Next(std::string_view& block, uint64_t& offset);
    bool TooLong() const { return tooLong_; }

  private:
    const platform::ReadOnlyFile& file_;
    uint64_t fileOffset_;  // offset of buffer_[0]
    uint64_t readOffset_;  // next byte to read from the file
    std::size_t pieceSize_;
    std::size_t maxLineBytes_;
    bool tooLong_ = false;
    std::string buffer_;
    std::size_t used_ = 0;   // bytes of buffer_ holding file data
    std::size_t given_ = 0;  // bytes of buffer_ already handed out
};

}  // namespace vx::textio
