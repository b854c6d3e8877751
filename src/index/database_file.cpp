#include "index/database_file.h"

#include "index/database_lines.h"
#include "platform/text.h"
#include "textio/text_file.h"

namespace vx::index {

namespace {

constexpr std::size_t kNoLine = static_cast<std::size_t>(-1);

}  // namespace

DatabaseFile::DatabaseFile(std::vector<std::u16string> lines) : lines_(std::move(lines)) {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (IsIndexMarkerLine(lines_[i])) {
            marker_ = i;
            break;
        }
    }
    // Lookups read up to and including the marker line, so that index entries such as
    // "P1=5," are never taken for path lines.
    const std::size_t end = marker_ ? *marker_ + 1 : lines_.size();
    std::size_t folderLine = kNoLine;
    for (std::size_t i = 0; i < end; ++i) {
        MapHeaderLine(lines_[i], i, folderLine, documentLines_, pathLines_);
    }
}

DatabaseFile DatabaseFile::Load(std::u16string_view fileName) {
    return DatabaseFile(textio::SplitLines(textio::ReadTextFile(fileName)));
}

const std::u16string* DatabaseFile::DocumentLine(std::u16string_view number) const {
    const std::size_t end = marker_ ? *marker_ + 1 : lines_.size();
    if (number.find(u' ') != std::u16string_view::npos) {
        // A key with a blank cannot come from the map (keyed by the text before the first
        // blank); such keys never come from a database, so a scan is fine.
        for (std::size_t i = 0; i < end; ++i) {
            const std::u16string_view line = lines_[i];
            if (line.size() > number.size() && line.starts_with(number) &&
                line[number.size()] == u' ') {
                return &lines_[i];
            }
        }
        return nullptr;
    }
    const auto found = documentLines_.find(std::u16string(number));
    return found == documentLines_.end() ? nullptr : &lines_[found->second];
}

std::optional<std::u16string> DatabaseFile::PathLine(std::u16string_view key) const {
    std::size_t folderLine = kNoLine;
    bool found = false;
    if (key.find(u'=') != std::u16string_view::npos) {
        // Same rule as the map, walked for a key the map cannot hold.
        const std::size_t end = marker_ ? *marker_ + 1 : lines_.size();
        for (std::size_t i = 0; i < end && !found; ++i) {
            const std::u16string_view line = lines_[i];
            if (NamesFolder(line)) folderLine = i;
            found = line.size() > key.size() && line.starts_with(key) && line[key.size()] == u'=';
        }
    } else {
        const auto it = pathLines_.find(std::u16string(key));
        if (it != pathLines_.end()) {
            found = true;
            folderLine = it->second;
        }
    }
    if (!found) return std::nullopt;
    if (folderLine == kNoLine) return std::u16string();
    return platform::Trim(lines_[folderLine]);
}

}  // namespace vx::index
