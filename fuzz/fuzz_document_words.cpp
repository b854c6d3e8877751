// Arbitrary bytes read as the kept words of a document: refused, or words that file into an
// index and encode to a form that reads back as the same words.
#include <atomic>
#include <string>

#include "fuzz_support.h"
#include "index/word_index.h"
#include "indexing/document_words.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vx;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::optional<indexing::DocumentWords> words = indexing::DocumentWords::Decode(bytes);
    if (!words) return 0;
    std::string form;
    words->AppendEncoded(form);
    const std::optional<indexing::DocumentWords> again = indexing::DocumentWords::Decode(form);
    VX_FUZZ_CHECK(again && again->Size() == words->Size());
    std::string formAgain;
    again->AppendEncoded(formAgain);
    VX_FUZZ_CHECK(formAgain == form);

    index::WordIndex index;
    const std::atomic<bool> cancel{false};
    VX_FUZZ_CHECK(words->File(1, index, cancel));
    VX_FUZZ_CHECK(again->File(2, index, cancel));
    index.ForEachEntry([](std::u16string_view) {});
    return 0;
}
