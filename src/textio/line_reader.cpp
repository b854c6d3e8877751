#include "textio/line_break.h"
#include "textio/text_file.h"
#include "textio/text_source.h"

namespace vx::textio {

namespace {
constexpr size_t kLinePieceUnits = 64 * 1024;
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
};

LineReader::LineReader(std::u16string_view fileName) : impl_(std::make_unique<Impl>(fileName)) {}

LineReader::~LineReader() = default;

bool LineReader::Next(std::u16string& line) {
    Impl& r = *impl_;
    line.clear();
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
            line.append(rest);
            r.position = r.buffer.size();
            any = true;
            continue;
        }
        line.append(rest.substr(0, end));
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

}  // namespace vx::textio
