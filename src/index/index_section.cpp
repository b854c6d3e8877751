#include "index/index_section.h"

#include "index/database_lines.h"
#include "platform/text.h"

namespace vx::index {

ChunkParts SplitChunk(const std::vector<std::u16string>& lines) {
    ChunkParts parts;
    std::size_t i = 0;
    for (; i < lines.size(); ++i) {
        if (IsSizeLine(lines[i])) break;
        parts.header.push_back(lines[i]);
    }
    for (i = 0; i < lines.size(); ++i) {
        if (IsIndexMarkerLine(lines[i])) break;
    }
    for (++i; i < lines.size(); ++i) parts.entries.push_back(lines[i]);
    return parts;
}

std::u16string ContinuationText(const std::vector<std::u16string>& lines, std::size_t entryLine) {
    constexpr std::size_t kMaxContinuationLines = 100;
    std::u16string text;
    for (std::size_t j = 1; j <= kMaxContinuationLines && entryLine + j < lines.size(); ++j) {
        const std::u16string& line = lines[entryLine + j];
        if (line.find(u'=') != std::u16string::npos) break;
        text.append(platform::TrimView(line));
    }
    return text;
}

std::vector<std::u16string> EntryDocuments(std::u16string_view entry) {
    std::u16string_view numbers = EntryNumberList(entry);
    std::vector<std::u16string> documents;
    while (!numbers.empty()) {
        const std::size_t comma = numbers.find(u',');
        const std::u16string_view piece = numbers.substr(0, comma);
        if (!piece.empty()) documents.emplace_back(piece);
        if (comma == std::u16string_view::npos) break;
        numbers.remove_prefix(comma + 1);
    }
    return documents;
}

}  // namespace vx::index
