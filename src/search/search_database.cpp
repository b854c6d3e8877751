#include "search/search_database.h"

#include <algorithm>

namespace vx::search {

SearchDatabase::SearchDatabase(std::u16string text) : text_(std::move(text)) {
    ReadHeader();
}

SearchDatabase SearchDatabase::Open(std::u16string_view fileName) {
    SearchDatabase database;
    database.reader_ = std::make_unique<textio::LineReader>(fileName);
    database.ReadHeader();
    return database;
}

void SearchDatabase::ReadHeader() {
    std::vector<std::u16string> header;
    std::u16string line;
    while (NextLine(line, kMaxHeaderLineUnits)) {
        header.push_back(line);
        if (index::IsIndexMarkerLine(line)) {
            marker_ = line;
            markerPending_ = true;
            break;
        }
    }
    header_ = std::make_unique<index::DatabaseFile>(std::move(header));
}

bool SearchDatabase::NextLine(std::u16string& line, std::size_t limit) {
    bool cut = false;
    if (reader_) {
        reader_->SetLineLimit(limit);
        if (!reader_->Next(line)) return false;
        cut = reader_->LastLineCut();
    } else {
        // The text given: the lines as SplitLines gives them.
        const std::size_t size = text_.size();
        if (position_ >= size) return false;
        std::size_t end = position_;
        while (end < size && text_[end] != u'\r' && text_[end] != u'\n') ++end;
        cut = end - position_ > limit;
        line.assign(text_, position_, std::min(end - position_, limit));
        position_ = end;
        if (position_ < size) {
            position_ +=
                (text_[position_] == u'\r' && position_ + 1 < size && text_[position_ + 1] == u'\n')
                    ? 2
                    : 1;
        }
    }
    if (cut) throw DamagedDatabaseError("a line of the database file is longer than any can be");
    return true;
}

bool SearchDatabase::NextIndexLine(std::u16string& line) {
    if (markerPending_) {
        markerPending_ = false;
        line = marker_;
        return true;
    }
    if (marker_.empty()) return false;  // no index section
    return NextLine(line, kMaxIndexLineUnits);
}

}  // namespace vx::search
