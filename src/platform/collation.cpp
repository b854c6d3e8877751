#include "platform/collation.h"

#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <numeric>

#include "platform/detail/parallel.h"
#include "platform/text.h"

namespace vx::platform {

namespace {

std::unique_ptr<icu::Collator> MakeCollator(const std::string& localeName) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Collator> c(
        icu::Collator::createInstance(icu::Locale(localeName.c_str()), status));
    if (U_FAILURE(status) || !c) {
        status = U_ZERO_ERROR;
        c.reset(icu::Collator::createInstance(icu::Locale("de"), status));
    }
    if (U_FAILURE(status) || !c) {
        status = U_ZERO_ERROR;
        c.reset(icu::Collator::createInstance(icu::Locale::getRoot(), status));
    }
    if (!c) std::abort();  // ICU without its root collation data cannot run this program
    // Strings are compared in their upper-cased form (see Folded) at tertiary strength: letter
    // case is ignored, while accents, character width and kana type still tell strings apart,
    // as the Windows comparison that ignores case does. A lower strength would merge, say,
    // hiragana and katakana spellings of a word into one entry of a sorted unique list.
    c->setStrength(icu::Collator::TERTIARY);
    return c;
}

const icu::Collator& Prototype() {
    static const std::unique_ptr<icu::Collator> prototype = MakeCollator(
        CollationLocaleFor(std::getenv("LC_ALL"), std::getenv("LC_COLLATE"), std::getenv("LANG")));
    return *prototype;
}

// ICU collators are used through one clone per thread so that callers on several threads never
// share one.
icu::Collator& ThreadCollator() {
    thread_local std::unique_ptr<icu::Collator> collator(Prototype().clone());
    return *collator;
}

icu::UnicodeString Alias(std::u16string_view s) {
    return icu::UnicodeString(false, s.data(), static_cast<int32_t>(s.size()));
}

// The upper-cased form in which strings are compared; the text itself when it has no lower-case
// letter (the common case: database lines are upper-cased already).
icu::UnicodeString Folded(std::u16string_view s, std::u16string& scratch) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (UpperChar(s[i]) != s[i]) {
            scratch = UpperCase(s);
            return Alias(scratch);
        }
    }
    return Alias(s);
}

}  // namespace

std::string CollationLocaleFor(const char* lcAll, const char* lcCollate, const char* lang) {
    std::string name;
    for (const char* v : {lcAll, lcCollate, lang}) {
        if (v != nullptr && v[0] != '\0') {
            name = v;
            break;
        }
    }
    name = name.substr(0, name.find_first_of(".@"));
    if (name.empty() || name == "C" || name == "POSIX") return "de";
    return name;
}

int CollateCompare(std::u16string_view a, std::u16string_view b) {
    UErrorCode status = U_ZERO_ERROR;
    std::u16string scratchA, scratchB;
    const UCollationResult r =
        ThreadCollator().compare(Folded(a, scratchA), Folded(b, scratchB), status);
    return r == UCOL_LESS ? -1 : (r == UCOL_GREATER ? 1 : 0);
}

namespace {

// Appends the collation key of s to out; scratch is room for the upper-cased text.
void AppendCollationKey(std::u16string_view s, std::string& out, std::u16string& scratch) {
    icu::Collator& c = ThreadCollator();
    const icu::UnicodeString text = Folded(s, scratch);
    // Room for the longest key so far, so that a key is computed once.
    thread_local std::string buffer(256, '\0');
    for (;;) {
        const int32_t n = c.getSortKey(text, reinterpret_cast<uint8_t*>(buffer.data()),
                                       static_cast<int32_t>(buffer.size()));
        if (n <= 0) return;
        if (static_cast<std::size_t>(n) <= buffer.size()) {
            // The key ends with a zero byte that adds nothing to the order.
            out.append(buffer.data(), static_cast<std::size_t>(n) - 1);
            return;
        }
        buffer.resize(static_cast<std::size_t>(n));
    }
}

}  // namespace

std::string CollationKey(std::u16string_view s) {
    std::string key;
    std::u16string scratch;
    AppendCollationKey(s, key, scratch);
    return key;
}

void SortByCollation(std::vector<std::u16string>& items) {
    std::vector<std::string> keys;
    keys.reserve(items.size());
    for (const auto& s : items) keys.push_back(CollationKey(s));
    std::vector<std::size_t> order(items.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t x, std::size_t y) { return keys[x] < keys[y]; });
    std::vector<std::u16string> sorted;
    sorted.reserve(items.size());
    for (const std::size_t i : order) sorted.push_back(std::move(items[i]));
    items = std::move(sorted);
}

CollationKeyTable::CollationKeyTable(
    std::size_t count, const std::function<std::u16string_view(std::size_t, std::u16string&)>& text,
    bool primaryOnly) {
    struct Part {
        std::size_t begin;
        std::string keys;
        std::vector<std::size_t> ends;  // end of each item's key within keys
    };
    std::vector<Part> parts;
    std::mutex partsMutex;
    ParallelRanges(count, [&](std::size_t begin, std::size_t end) {
        Part part{begin, {}, {}};
        part.ends.reserve(end - begin);
        std::u16string scratch, folded;
        for (std::size_t i = begin; i < end; ++i) {
            const std::size_t start = part.keys.size();
            AppendCollationKey(text(i, scratch), part.keys, folded);
            // The primary level ends at the first level separator (byte 01).
            if (primaryOnly) {
                const std::size_t separator = part.keys.find('\x01', start);
                if (separator != std::string::npos) part.keys.resize(separator);
            }
            part.ends.push_back(part.keys.size());
        }
        std::lock_guard lock(partsMutex);
        parts.push_back(std::move(part));
    });
    std::sort(parts.begin(), parts.end(),
              [](const Part& a, const Part& b) { return a.begin < b.begin; });
    std::size_t total = 0;
    for (const Part& part : parts) total += part.keys.size();
    keys_.reserve(total);
    offsets_.reserve(count + 1);
    offsets_.push_back(0);
    for (Part& part : parts) {
        const std::size_t base = keys_.size();
        keys_ += part.keys;
        for (const std::size_t end : part.ends) offsets_.push_back(base + end);
        std::string().swap(part.keys);
    }
}

std::vector<std::size_t> UniqueCollationOrder(const std::vector<std::u16string_view>& items) {
    const CollationKeyTable keys(items.size(),
                                 [&](std::size_t i, std::u16string&) { return items[i]; });
    std::vector<std::size_t> order(items.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t x, std::size_t y) { return keys.Key(x) < keys.Key(y); });
    // Of equal keys the stable sort keeps the earliest item first: that one stays.
    std::vector<std::size_t> unique;
    unique.reserve(order.size());
    for (const std::size_t i : order) {
        if (unique.empty() || keys.Key(unique.back()) != keys.Key(i)) unique.push_back(i);
    }
    return unique;
}

}  // namespace vx::platform
