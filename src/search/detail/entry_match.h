// The test of one line of the index section against the search words: which words record it,
// how often, and with which text (the line upper-cased, extended by its continuation lines when
// a word stands at its start).
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "platform/text.h"
#include "search/detail/upper_find.h"
#include "search/query.h"

namespace vx::search {

inline constexpr std::size_t kMaxContinuationLines = 100;

// The continuation text below a line: the lines that next(line) gives, up to 100 of them, ending
// before the first that contains "=".
template <typename Next>
std::u16string ContinuationText(Next&& next) {
    std::u16string text;
    std::u16string line;
    for (std::size_t j = 1; j <= kMaxContinuationLines && next(line); ++j) {
        if (line.find(u'=') != std::u16string::npos) break;
        text += line;
    }
    return text;
}

class EntryMatcher {
  public:
    // record(k, text, times): word k (0-based) records the text that many times; reset() drops
    // everything recorded (a scan that starts again another way).
    using Record = std::function<void(int, const std::u16string&, int)>;
    EntryMatcher(const PreparedQuery& query, Record record, std::function<void()> reset)
        : query_(query), record_(std::move(record)), reset_(std::move(reset)) {}

    const PreparedQuery& Query() const { return query_; }
    void Reset() { reset_(); }

    // Tests the line as read; continuation() gives its continuation text (ContinuationText) and
    // is called at most once per word that stands at the line's start.
    template <typename Continuation>
    void Test(std::u16string_view raw, Continuation&& continuation) {
        if (raw.empty()) return;
        bool upperDone = false;
        std::u16string_view current = raw;
        for (int k = 0; k < static_cast<int>(kMaxWords); ++k) {
            const SearchWord& word = query_.words[static_cast<std::size_t>(k)];
            if (word.text.empty()) continue;
            const bool atStart = UpperMatchesAt(current, 0, word.text);
            // Without a leading wildcard only an occurrence at the start counts.
            if (!atStart &&
                !(word.leading && FindUpper(current, word.text, 1) != std::u16string_view::npos)) {
                continue;
            }
            if (!upperDone) {
                extended_ = platform::UpperCase(current);
                current = extended_;
                upperDone = true;
            }
            if (atStart) {
                extended_ = platform::Trim(extended_) + platform::Trim(continuation());
                current = extended_;
            }
            int times = 0;
            if (word.trailing && atStart) ++times;
            if (word.leading) ++times;
            if (!word.leading && !word.trailing && atStart) ++times;
            record_(k, extended_, times);
        }
    }

  private:
    const PreparedQuery& query_;
    Record record_;
    std::function<void()> reset_;
    std::u16string extended_;  // the upper-cased (and maybe extended) line once it is needed
};

}  // namespace vx::search
