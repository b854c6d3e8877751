// XML text extraction of arbitrary bytes, and the filing of the extracted words.
#include <atomic>
#include <vector>

#include "fuzz_support.h"
#include "index/database_lines.h"
#include "index/word_index.h"
#include "indexing/document_words.h"
#include "indexing/word_filing.h"
#include "indexing/xml_text.h"

namespace {

class Lines : public vx::indexing::XmlTextSink {
  public:
    void Entry(std::u16string_view text) override { lines.emplace_back(text); }
    std::vector<std::u16string> lines;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vx;
    const std::u16string file =
        fuzz::ScratchFile("doc.xml", std::string_view(reinterpret_cast<const char*>(data), size));
    Lines sink;
    const std::atomic<bool> cancel{false};
    indexing::XmlProblem problem;
    const indexing::XmlLoadResult result = indexing::ExtractXmlText(file, sink, cancel, &problem);
    VX_FUZZ_CHECK(result != indexing::XmlLoadResult::Cancelled);
    // A document that does not load always says why.
    VX_FUZZ_CHECK(result == indexing::XmlLoadResult::Loaded || !problem.reason.empty());
    if (result != indexing::XmlLoadResult::Loaded) return 0;

    index::WordIndex words;
    indexing::DocumentWordsBuilder builder;
    for (const std::u16string& line : sink.lines) {
        VX_FUZZ_CHECK(indexing::FileWordsOfLine(line, 1, words, cancel));
        builder.AddLine(line);
    }
    // The words worked out ahead of the filing give the index the lines give.
    index::WordIndex prepared;
    VX_FUZZ_CHECK(builder.Finish().File(1, prepared, cancel));
    std::vector<std::u16string> byLines, ahead;
    words.SaveBuckets(byLines);
    prepared.SaveBuckets(ahead);
    VX_FUZZ_CHECK(byLines == ahead);
    // A filed word never begins or ends with white space, a control or a format character.
    words.ForEachEntry([](std::u16string_view entry) {
        const std::u16string_view word = index::EntryWord(entry);
        VX_FUZZ_CHECK(!word.empty());
        for (const char16_t edge : {word.front(), word.back()}) {
            VX_FUZZ_CHECK(!platform::IsTrimChar(edge) && !platform::IsFormatChar(edge));
        }
    });
    return 0;
}
