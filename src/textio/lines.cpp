#include "textio/detail/line_break.h"
#include "textio/text_file.h"

namespace vx::textio {

std::vector<std::u16string> SplitLines(std::u16string_view text) {
    std::vector<std::u16string> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = start + FindLineBreak(text.substr(start));
        if (end == text.size()) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == u'\r' && start < text.size() && text[start] == u'\n') ++start;
    }
    return lines;
}

std::u16string JoinLines(const std::vector<std::u16string>& lines) {
    size_t size = 0;
    for (const auto& line : lines) size += line.size() + 2;
    std::u16string text;
    text.reserve(size);
    for (const auto& line : lines) {
        text += line;
        text += u"\r\n";
    }
    return text;
}

}  // namespace vx::textio
