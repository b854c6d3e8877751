// Arbitrary search texts against an arbitrary text copy: the query rules, the context, its
// marking and the result page.
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "platform/utf8.h"
#include "search/context.h"
#include "search/html_text.h"
#include "search/query.h"
#include "search/result_page.h"

// Input: one option byte, the search text up to the first zero byte, then the text copy.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vx;
    if (size < 1) return 0;
    const bool phrase = (data[0] & 1) != 0;
    const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::size_t textEnd = rest.find('\0');
    if (textEnd == std::string_view::npos) return 0;
    const search::ConfirmResult check =
        search::ConfirmCheck(platform::DecodeUtf8(rest.substr(0, textEnd)), phrase, false);
    if (!check.accepted) return 0;
    const search::PreparedQuery query = search::PrepareWords(check.fieldText);
    const std::u16string copy = fuzz::ScratchFile("copy.txt", rest.substr(textEnd + 1));
    const std::u16string displayPath = u"Z:\\DATEN\\BERICHT.XML";

    std::vector<std::u16string> lines = {search::HeadingLine(search::Heading::SingleWord),
                                         search::SearchTextLine(query.displayText),
                                         search::CountLine(1, true), u" ", search::kSeparatorLine};
    auto block = [&](std::u16string_view word, bool leading, bool trailing) {
        search::Context context = search::CollectContext(copy, word);
        context.Trim();
        if (context.Empty()) return;
        lines.push_back(search::HtmlEscape(displayPath));
        lines.push_back(search::MarkContext(context, word, leading, trailing, phrase));
    };
    if (phrase) {
        block(check.fieldText, false, false);
    } else {
        for (int k = 0; k < query.count; ++k) {
            const search::SearchWord& word = query.words[k];
            if (!word.text.empty()) block(word.text, word.leading, word.trailing);
        }
    }
    const std::vector<std::u16string> page = search::BuildResultPage(lines, u"Z:\\nirgends\\");
    for (const std::u16string& line : page) VX_FUZZ_CHECK(fuzz::MarkupIsWhole(line));
    return 0;
}
