// A database file of arbitrary content searched: the entry scan, the collections and the
// text-copy lookups, and the links of the hits on the result page.
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "platform/utf8.h"
#include "search/html_text.h"
#include "search/lookup.h"
#include "search/query.h"
#include "search/result_page.h"
#include "search/search_database.h"

// Input: one option byte, the search text up to the first line feed, then the database file.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vx;
    if (size < 1) return 0;
    const uint8_t options = data[0];
    const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::size_t lineEnd = rest.find('\n');
    if (lineEnd == std::string_view::npos) return 0;
    const search::PreparedQuery query =
        search::PrepareWords(platform::DecodeUtf8(rest.substr(0, lineEnd)));
    std::optional<search::SearchDatabase> database;
    try {
        database.emplace(platform::DecodeUtf8(rest.substr(lineEnd + 1)));
    } catch (const search::DamagedDatabaseError&) {
        return 0;
    }

    fuzz::QuietHost host;
    RunFlags flags;
    flags.searchActive = true;
    std::vector<std::u16string> pageLines;
    const std::u16string working = u"Z:\\nirgends\\";
    search::Lookup lookup(host, flags, pageLines, query, working + u"XML_Texte\\", u"DB");
    const int limit = 1 + options % 50;
    lookup.SetResultLimit(limit);
    lookup.SetUnd((options & 0x80) != 0);
    try {
        lookup.ScanWordEntries(*database);
    } catch (const search::DamagedDatabaseError&) {
        return 0;
    }
    if ((options & 0x80) != 0) {
        lookup.CollectAllWords(database->Header());
    } else {
        lookup.CollectAnyWord(database->Header());
    }
    VX_FUZZ_CHECK(lookup.Hits().size() <= static_cast<std::size_t>(limit));
    for (const std::u16string& hit : lookup.Hits()) {
        // The page shows the path escaped, as the search run puts it there.
        const std::u16string line =
            search::RewriteLinkLine(search::HtmlEscape(search::DisplayPath(hit, u"DB")), working);
        VX_FUZZ_CHECK(fuzz::MarkupIsWhole(line));
    }
    return 0;
}
