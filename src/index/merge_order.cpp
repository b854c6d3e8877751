#include "index/merge_order.h"

#include <algorithm>
#include <charconv>
#include <numeric>
#include <vector>

#include "index/detail/merge_rules.h"
#include "platform/collation.h"

namespace vx::index {

namespace {

int Sign(int c) {
    return (c > 0) - (c < 0);
}

bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

}  // namespace

void AppendNumber(std::u16string& out, int32_t number) {
    char digits[16];
    const auto result = std::to_chars(digits, digits + sizeof digits, number);
    for (const char* p = digits; p != result.ptr; ++p) out.push_back(static_cast<char16_t>(*p));
    out.push_back(u',');
}

std::string PrimaryKey(std::u16string_view text) {
    std::string key = platform::CollationKey(text);
    key.resize(std::min(key.size(), key.find('\x01')));
    return key;
}

uint64_t NumberTextOrder(int32_t number) {
    auto scaled = static_cast<uint64_t>(number);
    int digits = 1;
    for (int32_t v = number; v >= 10; v /= 10) ++digits;
    for (int d = digits; d < 10; ++d) scaled *= 10;
    return scaled << 4 | static_cast<uint64_t>(digits);
}

bool MergeRulesHold() {
    static const bool holds = [] {
        std::string previous = PrimaryKey(u",");
        if (previous.empty()) return false;
        for (char16_t digit = u'0'; digit <= u'9'; ++digit) {
            const std::string key = PrimaryKey(std::u16string(1, digit));
            if (key <= previous) return false;
            previous = key;
        }
        const int32_t numbers[] = {1,  2,  9,   10,  11,  12,   19,
                                   20, 99, 100, 101, 105, 1000, 2147483647};
        for (const std::u16string word : {u"\u03A9", u"\u0391\u0392\u0393", u"\u0416-\u042F",
                                          u"\u65E5\u672C", u"\u00C9", u"STRA\u00DFE"}) {
            const std::string prefix = PrimaryKey(word + u"=");
            std::vector<std::pair<uint64_t, std::string>> entries;
            for (const int32_t number : numbers) {
                std::u16string entry = word + u"=";
                AppendNumber(entry, number);
                if (!PrimaryKey(entry).starts_with(prefix)) return false;
                entries.emplace_back(NumberTextOrder(number), platform::CollationKey(entry));
            }
            std::sort(entries.begin(), entries.end());
            for (std::size_t i = 1; i < entries.size(); ++i) {
                if (!(entries[i - 1].second < entries[i].second)) return false;
            }
        }
        return true;
    }();
    return holds;
}

OrderedLine::OrderedLine(std::u16string_view lineText, std::string_view lineKey)
    : text(lineText), key(lineKey) {
    const std::size_t eq = text.find(u'=');
    if (eq == std::u16string_view::npos) return;
    rest = eq + 1;
    numbers = std::all_of(text.begin() + static_cast<std::ptrdiff_t>(rest), text.end(),
                          [](char16_t c) { return c == u',' || (c >= u'0' && c <= u'9'); });
}

std::u16string_view MergeKeyText(std::u16string_view line) {
    const std::size_t eq = line.find(u'=');
    return eq == std::u16string_view::npos ? line : line.substr(0, eq + 1);
}

std::string MergeKey(std::u16string_view keyText) {
    return MergeRulesHold() ? PrimaryKey(keyText) : std::string();
}

int CompareInMergeOrder(const OrderedLine& a, const OrderedLine& b) {
    const std::size_t common = std::min(a.key.size(), b.key.size());
    if (const int c = a.key.substr(0, common).compare(b.key.substr(0, common)); c != 0) {
        return Sign(c);
    }
    if (a.numbers && b.numbers && a.key.size() == b.key.size() && !a.key.empty()) {
        if (const int c = a.text.substr(a.rest).compare(b.text.substr(b.rest)); c != 0) {
            return Sign(c);
        }
        if (a.text == b.text) return 0;
    }
    return Sign(platform::CollationKey(a.text).compare(platform::CollationKey(b.text)));
}

SortedLines::SortedLines(std::vector<std::u16string> lines) : texts_(std::move(lines)) {
    keys_.reserve(texts_.size());
    for (const std::u16string& text : texts_) keys_.push_back(MergeKey(MergeKeyText(text)));
    lines_.reserve(texts_.size());
    for (std::size_t i = 0; i < texts_.size(); ++i) lines_.emplace_back(texts_[i], keys_[i]);
    order_.resize(texts_.size());
    std::iota(order_.begin(), order_.end(), std::size_t{0});
    std::stable_sort(order_.begin(), order_.end(), [&](std::size_t a, std::size_t b) {
        return CompareInMergeOrder(lines_[a], lines_[b]) < 0;
    });
}

bool SortedLines::Next() {
    if (position_ == order_.size()) return false;
    ++position_;
    return true;
}

void MergeInOrder(const std::vector<OrderedLines*>& sources,
                  const std::function<void(const OrderedLine&)>& sink) {
    // A heap of the sources that have a line, the one whose line comes first on top; of equal
    // lines the earlier source's.
    std::vector<std::size_t> heap;
    for (std::size_t i = 0; i < sources.size(); ++i) {
        if (sources[i]->Next()) heap.push_back(i);
    }
    const auto later = [&](std::size_t x, std::size_t y) {
        const int c = CompareInMergeOrder(sources[x]->Line(), sources[y]->Line());
        return c != 0 ? c > 0 : x > y;
    };
    std::make_heap(heap.begin(), heap.end(), later);
    while (!heap.empty()) {
        std::pop_heap(heap.begin(), heap.end(), later);
        const std::size_t first = heap.back();
        sink(sources[first]->Line());
        if (sources[first]->Next()) {
            std::push_heap(heap.begin(), heap.end(), later);
        } else {
            heap.pop_back();
        }
    }
}

void AsReadBack(std::u16string& line) {
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char16_t c = line[i];
        if (c < 0xD800 || c > 0xDFFF) continue;
        if (IsHighSurrogate(c) && i + 1 < line.size() && IsLowSurrogate(line[i + 1])) {
            ++i;
        } else {
            line[i] = u'\uFFFD';
        }
    }
}

}  // namespace vx::index
