#include "indexing/detail/merge.h"

#include <algorithm>
#include <cerrno>
#include <iterator>

#include "index/database_commit.h"
#include "index/database_files.h"
#include "index/index_section.h"
#include "index/word_lists.h"
#include "indexing/detail/search_lookup.h"
#include "indexing/size_text.h"
#include "platform/collation.h"
#include "platform/files.h"
#include "platform/folder_listing.h"
#include "platform/paths.h"
#include "platform/system_error_text.h"
#include "platform/text.h"
#include "textio/text_file.h"

namespace vx::indexing {

namespace {

using platform::Trim;

bool Contains(std::u16string_view line, std::u16string_view marker) {
    return line.find(marker) != std::u16string_view::npos;
}

// The scan-mask and path-list section lines, which only the pass-1 chunk contributes.
bool IsScanHeaderLine(std::u16string_view line) {
    return Contains(line, u"[SCANMASKE]") || Contains(line, u"TEXTDATEIENPFAD=") ||
           Contains(line, u"[PFADLISTE]");
}

// Appends the chunk's header part (before the total-size line) and index part (after
// "[DATENBANK]").
void TakeChunk(const std::vector<std::u16string>& lines, bool furtherChunk,
               std::vector<std::u16string>& header, std::vector<std::u16string>& entries) {
    index::ChunkParts parts = index::SplitChunk(lines);
    for (auto& line : parts.header) {
        if (!(furtherChunk && IsScanHeaderLine(line))) header.push_back(std::move(line));
    }
    entries.insert(entries.end(), std::make_move_iterator(parts.entries.begin()),
                   std::make_move_iterator(parts.entries.end()));
}

std::vector<std::u16string> ReadLines(const std::u16string& file) {
    return textio::SplitLines(textio::ReadTextFile(file));
}

// The pass number of a further chunk name (base + "_" + k + ".dat"), or a large number when
// the name has another form (those follow in listing order).
int64_t PassOfChunk(std::u16string_view name) {
    const auto underscore = name.rfind(u'_');
    const auto dot = name.rfind(u'.');
    int64_t pass = 0;
    if (underscore == std::u16string_view::npos || dot == std::u16string_view::npos ||
        dot < underscore ||
        !platform::ParseInt(name.substr(underscore + 1, dot - underscore - 1), pass)) {
        return INT64_MAX;
    }
    return pass;
}

// A chunk that cannot be deleted costs nothing now (its lines are read); the log says so, and the
// next run stops before it could merge it a second time.
void DeleteChunk(RunState& state, const std::u16string& file) {
    if (platform::DeleteFileAt(file)) return;
    const int error = errno;
    if (platform::FileExists(file)) {
        state.Log(platform::FileErrorText(file, u"kann nicht gelöscht werden", error));
    }
}

}  // namespace

std::vector<std::u16string> MergeSortedEntries(const std::vector<std::u16string>& sorted) {
    std::vector<std::u16string> entries(sorted.size());
    for (std::size_t i = 0; i < sorted.size(); ++i) entries[i] = Trim(sorted[i]);
    std::vector<std::u16string> merged;
    merged.reserve(entries.size());
    std::u16string prefix;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        std::u16string e = std::move(entries[i]);
        if (const auto eq = e.find(u'='); eq != std::u16string::npos) prefix = e.substr(0, eq + 1);
        if (i + 1 < entries.size()) {
            const std::u16string& f = entries[i + 1];
            const auto eq = f.find(u'=');
            if (eq != std::u16string::npos && !prefix.empty() &&
                std::u16string_view(f).substr(0, eq + 1).starts_with(prefix)) {
                e += Trim(std::u16string_view(f).substr(eq + 1));
                entries[i + 1].clear();
            }
        }
        merged.push_back(std::move(e));
    }
    return merged;
}

void MergeChunks(RunState& state) {
    Host& host = state.host;
    const index::DatabaseFiles files = state.Files();
    host.Pause();
    host.SetPatienceIndicator(true);
    host.SetStatusLine(u"Daten werden in Datenbank eingefügt ");
    host.Pause();
    host.SetProgressLine(WordsTakenText(state.count.postings, state.count.documents));
    host.Pause();

    // The pass-1 chunk has the database file's name, whatever the name's extension.
    const std::u16string baseChunk = files.Chunk(1);
    const std::u16string upperBase = platform::UpperCase(platform::NameOf(baseChunk));
    std::vector<std::pair<int64_t, std::u16string>> further;
    for (const auto& entry :
         platform::ListFolder(files.Staging() + u"\\", index::kDatabaseFileMask)) {
        if (entry.isDirectory || entry.name.find(u'_') == std::u16string::npos ||
            platform::UpperCase(entry.name) == upperBase) {
            continue;
        }
        further.emplace_back(PassOfChunk(entry.name), entry.name);
    }
    std::stable_sort(further.begin(), further.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });

    std::vector<std::u16string> header;
    std::vector<std::u16string> entries;
    if (platform::FileExists(baseChunk)) TakeChunk(ReadLines(baseChunk), false, header, entries);
    host.Pause();
    for (const auto& [pass, name] : further) {
        const std::u16string file = files.Staging() + u"\\" + name;
        TakeChunk(ReadLines(file), true, header, entries);
        host.Pause();
        DeleteChunk(state, file);
        host.Pause();
    }
    DeleteChunk(state, baseChunk);
    host.Pause();

    std::vector<std::u16string> output;
    std::vector<std::u16string> others;
    for (auto& line : header) {
        if (Trim(line).empty()) continue;
        if (line.starts_with(u'P') || IsScanHeaderLine(line)) {
            output.push_back(std::move(line));
        } else {
            others.push_back(std::move(line));
        }
    }
    for (auto& line : others) output.push_back(std::move(line));
    output.emplace_back(u"[DATENBANK]");
    std::vector<std::u16string>().swap(header);
    std::vector<std::u16string>().swap(others);

    platform::SortByCollation(entries);
    std::vector<std::u16string> merged = MergeSortedEntries(entries);
    std::vector<std::u16string>().swap(entries);

    index::WordLists words;
    for (const auto& e : merged) words.AddEntryLine(e);
    words.Write(state.run.commit->Stage(files.AnsiWordList()),
                state.run.commit->Stage(files.UnicodeWordList()));

    for (auto& e : merged) {
        if (!Trim(e).empty()) output.push_back(std::move(e));
    }
    std::vector<std::u16string>().swap(merged);
    const std::u16string databaseFile = files.Database();
    textio::WriteToStream(textio::JoinLines(output), state.run.commit->Stage(databaseFile),
                          textio::kCodePageUtf8);
    std::vector<std::u16string>().swap(output);
    StageLookupFile(*state.run.commit, databaseFile);
}

}  // namespace vx::indexing
