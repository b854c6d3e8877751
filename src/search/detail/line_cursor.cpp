#include "search/detail/line_cursor.h"

#include <algorithm>

#include "platform/utf8.h"
#include "textio/byte_lines.h"

namespace vx::search {

namespace {
constexpr std::size_t kWindowSize = FileWindow::kDefaultReadSize;
}

std::string_view FileWindow::At(uint64_t offset, std::size_t count) {
    if (offset < start_ || offset - start_ > bytes_.size() ||
        bytes_.size() - (offset - start_) < count) {
        // Not all in the window: read it anew from offset (a final piece shorter than asked for
        // is read again, so that a file growing meanwhile is seen as it is now).
        start_ = offset;
        bytes_.resize(std::max(count, readSize_));
        bytes_.resize(file_.ReadAt(offset, bytes_.data(), bytes_.size()));
    }
    return std::string_view(bytes_).substr(offset - start_);
}

bool LineCursor::NextBytes(std::string_view& line, std::size_t maxBytes) {
    cut_ = false;
    for (std::size_t want = LineCursor::kFirstLineRead;; want *= 2) {
        const std::string_view bytes = window_.At(offset_, want);
        const bool atEnd = bytes.size() < want;
        const char* const begin = bytes.data();
        const char* const end = begin + bytes.size();
        const char* const lineEnd = textio::FindByteLineBreak(begin, end);
        // A line is complete at its break (a CR once the byte after it is known) or at the end
        // of the file.
        const bool complete =
            lineEnd != end ? (*lineEnd == '\n' || lineEnd + 1 != end || atEnd) : atEnd;
        if (!complete && bytes.size() > maxBytes) {
            // Too long to hold: read past it piece by piece. No break stands before the last
            // byte read (which may be a CR whose LF follows).
            cut_ = true;
            uint64_t at = offset_ + bytes.size() - 1;
            for (;;) {
                const std::string_view piece = window_.At(at, kWindowSize);
                const char* const first = piece.data();
                const char* const last = first + piece.size();
                const char* const brk = textio::FindByteLineBreak(first, last);
                const bool more = piece.size() >= kWindowSize;  // not yet at the end of the file
                if (brk == last) {
                    at += piece.size();
                    if (more) continue;
                    offset_ = at;
                    break;
                }
                if (*brk == '\r' && brk + 1 == last && more) {
                    at += static_cast<uint64_t>(brk - first);  // look again from the CR
                    continue;
                }
                offset_ = at + static_cast<uint64_t>(textio::SkipByteLineBreak(brk, last) - first);
                break;
            }
            line = std::string_view();
            return true;
        }
        if (!complete) continue;
        if (begin == end) return false;
        line = std::string_view(begin, static_cast<std::size_t>(lineEnd - begin));
        if (line.size() > maxBytes) {
            cut_ = true;
            line = std::string_view();
        }
        offset_ += static_cast<uint64_t>(textio::SkipByteLineBreak(lineEnd, end) - begin);
        return true;
    }
}

bool LineCursor::Next(std::u16string& line, std::size_t maxBytes) {
    std::string_view bytes;
    if (!NextBytes(bytes, maxBytes)) return false;
    line.clear();
    platform::AppendDecodedUtf8(bytes, line);
    return true;
}

bool StartsLine(FileWindow& window, uint64_t offset, uint64_t textStart) {
    if (offset == textStart) return true;
    if (offset < textStart) return false;
    const std::string_view before = window.At(offset - 1, 1);
    return !before.empty() && (before[0] == '\r' || before[0] == '\n');
}

}  // namespace vx::search
