#include "search/search_database.h"

#include <unistd.h>

#include <cerrno>

#include "index/database_files.h"
#include "index/database_lines.h"
#include "platform/files.h"
#include "platform/text.h"
#include "search/detail/line_cursor.h"
#include "textio/byte_lines.h"
#include "textio/text_file.h"

namespace vx::search {

namespace {

// What a header line read brings in: the line cursor asks for its first read from the line's
// start, one byte after where the check of the byte before it began to read.
constexpr std::size_t kHeaderLineRead = 2 * LineCursor::kFirstLineRead;

}  // namespace

SearchDatabase::SearchDatabase(std::u16string fileName, platform::ReadOnlyFile file)
    : fileName_(std::move(fileName)),
      file_(std::make_unique<platform::ReadOnlyFile>(std::move(file))),
      window_(std::make_unique<FileWindow>(*file_)),
      // A document or path line is short; the bytes before it tell whether it begins a line.
      lineWindow_(std::make_unique<FileWindow>(*file_, kHeaderLineRead)) {}

SearchDatabase::~SearchDatabase() = default;
SearchDatabase::SearchDatabase(SearchDatabase&&) noexcept = default;
SearchDatabase& SearchDatabase::operator=(SearchDatabase&&) noexcept = default;

SearchDatabase SearchDatabase::Open(std::u16string_view fileName, bool useLookup) {
    std::optional<platform::ReadOnlyFile> file = platform::ReadOnlyFile::Open(fileName);
    if (!file) throw textio::FileError::About(fileName, u"kann nicht geöffnet werden", errno);
    SearchDatabase database{std::u16string(fileName), std::move(*file)};
    database.textStart_ = textio::Utf8TextStart(*database.file_);
    if (database.textStart_ && useLookup) {
        database.lookup_ =
            index::LookupFile::Open(index::LookupFileName(fileName), *database.file_);
        database.lookupWanted_ = database.lookup_ == nullptr;
    }
    return database;
}

void SearchDatabase::DropLookup() {
    if (!lookup_) return;
    lookup_.reset();
    lookupWanted_ = true;
}

const index::DatabaseFile& SearchDatabase::Header() {
    if (header_) return *header_;
    const auto tooLong = [] {
        throw DamagedDatabaseError("a line of the database file is longer than any can be");
    };
    std::vector<std::u16string> lines;
    std::u16string line;
    if (textStart_) {
        LineCursor cursor(*window_, *textStart_);
        for (uint64_t offset = cursor.Offset();
             cursor.Next(line, index::BytesBeyond(kMaxHeaderLineUnits)); offset = cursor.Offset()) {
            if (cursor.Cut() || line.size() > kMaxHeaderLineUnits) tooLong();
            lines.push_back(line);
            if (index::IsIndexMarkerLine(line)) {
                markerOffset_ = offset;
                break;
            }
        }
    } else {
        textio::LineReader reader(fileName_);
        reader.SetLineLimit(kMaxHeaderLineUnits);
        while (reader.Next(line)) {
            if (reader.LastLineCut()) tooLong();
            lines.push_back(line);
            if (index::IsIndexMarkerLine(line)) break;
        }
    }
    header_ = std::make_unique<index::DatabaseFile>(std::move(lines));
    return *header_;
}

std::optional<uint64_t> SearchDatabase::MarkerOffset() {
    if (!textStart_) return std::nullopt;
    if (lookup_) {
        // The lookup file's word, checked: the line there must be the marker line.
        const std::optional<uint64_t> marker = lookup_->MarkerOffset();
        if (!marker) return marker;
        LineCursor cursor(*window_, *marker);
        std::u16string line;
        if (StartsLine(*window_, *marker, *textStart_) && cursor.Next(line) &&
            index::IsIndexMarkerLine(line)) {
            return marker;
        }
        DropLookup();
    }
    Header();
    return markerOffset_;
}

std::optional<std::u16string> SearchDatabase::HeaderLineAt(uint64_t offset) {
    const std::optional<uint64_t> marker = lookup_->MarkerOffset();
    if ((marker && offset > *marker) || !StartsLine(*lineWindow_, offset, *textStart_)) {
        DropLookup();
        return std::nullopt;
    }
    LineCursor cursor(*lineWindow_, offset);
    std::u16string line;
    if (!cursor.Next(line)) {
        DropLookup();
        return std::nullopt;
    }
    return line;
}

std::optional<std::u16string> SearchDatabase::DocumentLine(std::u16string_view number) {
    if (lookup_ && number.find(u' ') == std::u16string_view::npos) {
        try {
            const std::optional<uint64_t> offset = lookup_->DocumentLine(number);
            if (!offset) return std::nullopt;
            std::optional<std::u16string> line = HeaderLineAt(*offset);
            if (line && line->size() > number.size() && line->starts_with(number) &&
                (*line)[number.size()] == u' ') {
                return line;
            }
        } catch (const index::LookupDamaged&) {
            // A damaged lookup file is dropped; the database file's header answers instead.
        }
        DropLookup();
    }
    const std::u16string* line = Header().DocumentLine(number);
    if (line == nullptr) return std::nullopt;
    return *line;
}

std::optional<std::u16string> SearchDatabase::PathLine(std::u16string_view key) {
    if (lookup_ && key.find(u'=') == std::u16string_view::npos) {
        try {
            const index::LookupFile::PathEntry entry = lookup_->PathLine(key);
            if (!entry.found) return std::nullopt;
            if (!entry.folderLine) return std::u16string();
            std::optional<std::u16string> line = HeaderLineAt(*entry.folderLine);
            const std::size_t eq = line ? line->find(u'=') : std::u16string::npos;
            if (eq != std::u16string::npos && eq + 1 != line->size()) return platform::Trim(*line);
        } catch (const index::LookupDamaged&) {
            // A damaged lookup file is dropped; the database file's header answers instead.
        }
        DropLookup();
    }
    return Header().PathLine(key);
}

void RefreshLookupFile(std::u16string_view databaseFile) {
    const std::u16string lookupFile = index::LookupFileName(databaseFile);
    // Unique per process, in the same folder, and never listed as a database.
    const std::u16string temporary =
        index::LookupScratchName(lookupFile, static_cast<int64_t>(getpid()));
    try {
        if (index::WriteLookupFile(databaseFile, temporary) && platform::SyncFileAt(temporary) &&
            platform::ReplaceFileAt(temporary, lookupFile)) {
            return;
        }
    } catch (const std::exception&) {
        // The lookup file only speeds searches up; without it the next search scans again.
    }
    platform::DeleteFileAt(temporary);
}

}  // namespace vx::search
