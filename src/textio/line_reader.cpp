#include <algorithm>

#include "textio/detail/line_break.h"
#include "textio/detail/text_source.h"
#include "textio/text_file.h"

namespace vx::textio {

namespace {
constexpr size_t kLinePieceUnits = size_t{64} * 1024;
}

struct LineReader::Impl {
    explicit Impl(std::u16string_view fileName) : source(fileName) {}

    // Refills the buffer; false at the end of the file.
    bool Fill() {
        buffer.resize(kLinePieceUnits);
        const size_t n = source.ReadUnits(buffer.data(), buffer.size());
        buffer.resize(n);
        position = 0;
        return n > 0;
    }

    TextFileSource source;
    std::u16string buffer;
    size_t position = 0;
    // The previous line ended with CR at the end of the buffer: a leading LF belongs to it.
    bool skipLf = false;
    std::size_t limit = static_cast<std::size_t>(-1);
    bool cut = false;

    void Append(std::u16string& line, std::u16string_view piece) {
        const std::size_t room = limit - std::min(limit, line.size());
        if (piece.size() > room) {
            cut = true;
            piece = piece.substr(0, room);
        }
        line.append(piece);
    }
};

LineReader::LineReader(std::u16string_view fileName) : impl_(std::make_unique<Impl>(fileName)) {}

LineReader::~LineReader() = default;

bool LineReader::Next(std::u16string& line) {
    Impl& r = *impl_;
    line.clear();
    r.cut = false;
    bool any = false;  // a line has begun (possibly empty, ended by a break)
    for (;;) {
        if (r.position == r.buffer.size() && !r.Fill()) return any;
        if (r.skipLf) {
            r.skipLf = false;
            if (r.buffer[r.position] == u'\n') {
                ++r.position;
                continue;
            }
        }
        const std::u16string_view rest(r.buffer.data() + r.position, r.buffer.size() - r.position);
        const size_t end = FindLineBreak(rest);
        if (end == rest.size()) {
            r.Append(line, rest);
            r.position = r.buffer.size();
            any = true;
            continue;
        }
        r.Append(line, rest.substr(0, end));
        r.position += end + 1;
        if (rest[end] == u'\r') {
            if (r.position < r.buffer.size()) {
                if (r.buffer[r.position] == u'\n') ++r.position;
            } else {
                r.skipLf = true;
            }
        }
        return true;
    }
}

void LineReader::SetLineLimit(std::size_t maxUnits) {
    impl_->limit = maxUnits;
}

bool LineReader::LastLineCut() const {
    return impl_->cut;
}

}  // namespace vx::textio
