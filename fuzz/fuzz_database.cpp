// A database file of arbitrary content searched: the entry scan through the lookup file, by the
// byte scan and by decoding every line records the same entries; the collections and text-copy
// lookups, and the links of the hits on the result page.
#include <filesystem>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "index/database_files.h"
#include "index/lookup_file.h"
#include "index/stored_names.h"
#include "platform/utf8.h"
#include "search/html_text.h"
#include "search/query.h"
#include "search/result_page.h"
#include "search/search_database.h"
#include "search/word_lookup.h"

namespace {

using namespace vx;

// The entries one way of the entry scan records, or nullopt when it finds the file damaged.
struct Recorded {
    std::vector<std::u16string> combined;
    std::vector<std::vector<std::u16string>> words;
    bool operator==(const Recorded&) const = default;
};

std::optional<Recorded> Scan(search::Lookup& lookup, search::SearchDatabase& database,
                             search::ScanMode mode) {
    lookup.SetScanMode(mode);
    try {
        lookup.ScanWordEntries(database);
    } catch (const search::DamagedDatabaseError&) {
        return std::nullopt;
    }
    Recorded recorded{lookup.CombinedEntries(), {}};
    for (int k = 0; k < static_cast<int>(search::kMaxWords); ++k) {
        recorded.words.push_back(lookup.WordEntries(k));
    }
    return recorded;
}

}  // namespace

// Input: one option byte, the search text up to the first line feed, then the database file.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const uint8_t options = data[0];
    const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::size_t lineEnd = rest.find('\n');
    if (lineEnd == std::string_view::npos) return 0;
    const search::PreparedQuery query =
        search::PrepareWords(platform::DecodeUtf8(rest.substr(0, lineEnd)));
    std::filesystem::remove(fuzz::ScratchFolder() / "db.dat.idx");
    const std::u16string file = fuzz::ScratchFile("db.dat", rest.substr(lineEnd + 1));
    index::WriteLookupFile(file, index::LookupFileName(file));
    search::SearchDatabase database = search::SearchDatabase::Open(file);

    fuzz::QuietHost host;
    RunFlags flags;
    flags.searchActive = true;
    std::vector<std::u16string> pageLines;
    const std::u16string working = u"Z:\\nirgends\\";
    search::Lookup lookup(host, flags, pageLines, query, working + u"XML_Texte\\", u"DB");
    const int limit = 1 + options % 50;
    lookup.SetResultLimit(limit);
    lookup.SetUnd((options & 0x80) != 0);
    const std::optional<Recorded> decoded = Scan(lookup, database, search::ScanMode::Decoding);
    VX_FUZZ_CHECK(Scan(lookup, database, search::ScanMode::Scan) == decoded);
    VX_FUZZ_CHECK(Scan(lookup, database, search::ScanMode::Auto) == decoded);
    if (!decoded) return 0;
    try {
        if ((options & 0x80) != 0) {
            lookup.CollectAllWords(database);
        } else {
            lookup.CollectAnyWord(database);
        }
    } catch (const search::DamagedDatabaseError&) {
        return 0;
    }
    VX_FUZZ_CHECK(lookup.Hits().size() <= static_cast<std::size_t>(limit));
    for (const search::Hit& hit : lookup.Hits()) {
        // The page shows the path escaped, as the search run puts it there.
        const std::u16string line =
            search::RewriteLinkLine(search::HtmlEscape(index::UnescapePath(hit.document)), working);
        VX_FUZZ_CHECK(fuzz::MarkupIsWhole(line));
    }
    return 0;
}
