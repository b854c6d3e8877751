#include "search/detail/byte_anchor.h"

#include <vector>

#include "platform/masked_find.h"
#include "platform/text.h"
#include "platform/utf8.h"

namespace vx::search {

namespace {

// The masked bytes that every code unit upper-casing to unit has, or nullopt when their UTF-8
// forms differ in length or the unit has forms the decoder reaches in several ways (U+0000,
// U+FFFD, surrogate halves).
struct UnitBytes {
    bool possible = true;  // some code unit upper-cases to this one
    std::optional<std::pair<std::string, std::string>> bytes;
};

bool HasSeveralForms(char16_t c) {
    return c == 0 || c == 0xFFFD || (c >= 0xD800 && c <= 0xDFFF);
}

// For every code unit, the code units that upper-case to it (built once).
class Preimages {
  public:
    static const Preimages& Table() {
        static const Preimages table;
        return table;
    }
    std::u16string_view Of(char16_t unit) const {
        return std::u16string_view(units_).substr(start_[unit], start_[unit + 1] - start_[unit]);
    }

  private:
    Preimages() : start_(0x10001, 0), units_(0x10000, u'\0') {
        const char16_t* const upper = platform::UpperCaseTable();  // as UpperCharFast maps
        for (uint32_t c = 0; c <= 0xFFFF; ++c) ++start_[upper[c] + 1];
        for (uint32_t u = 0; u < 0x10000; ++u) start_[u + 1] += start_[u];
        std::vector<uint32_t> next(start_.begin(), start_.end() - 1);
        for (uint32_t c = 0; c <= 0xFFFF; ++c) units_[next[upper[c]]++] = static_cast<char16_t>(c);
    }
    std::vector<uint32_t> start_;
    std::u16string units_;
};

// The code units that upper-case to unit. Outside ASCII only dotless i and long s upper-case into
// it (upper_find.h), so the table of all code units is built only for a word that needs it.
std::u16string PreimagesOf(char16_t unit) {
    if (unit >= 0x80) return std::u16string(Preimages::Table().Of(unit));
    if (unit >= u'a' && unit <= u'z') return {};
    std::u16string units(1, unit);
    if (unit >= u'A' && unit <= u'Z') units += static_cast<char16_t>(unit + 32);
    if (unit == u'I') units += u'\u0131';
    if (unit == u'S') units += u'\u017F';
    return units;
}

std::vector<UnitBytes> BytesOfUnits(std::u16string_view word) {
    std::vector<UnitBytes> units(word.size());
    for (std::size_t i = 0; i < word.size(); ++i) {
        const std::u16string sources = PreimagesOf(word[i]);
        if (sources.empty()) {
            units[i].possible = false;
            continue;
        }
        std::string value, mask;
        bool usable = true;
        for (const char16_t c : sources) {
            if (HasSeveralForms(c)) usable = false;
            const std::string form = platform::EncodeUtf8(std::u16string_view(&c, 1));
            if (value.empty()) {
                value = form;
                mask.assign(form.size(), '\0');
            } else if (form.size() != value.size()) {
                usable = false;
            } else {
                for (std::size_t b = 0; b < form.size(); ++b)
                    mask[b] = static_cast<char>(mask[b] | (form[b] ^ value[b]));
            }
        }
        if (!usable) continue;
        for (std::size_t b = 0; b < value.size(); ++b) value[b] |= mask[b];
        units[i].bytes.emplace(std::move(value), std::move(mask));
    }
    return units;
}

}  // namespace

AnchorChoice AnchorOf(std::u16string_view upperWord) {
    AnchorChoice choice;
    const std::vector<UnitBytes> units = BytesOfUnits(upperWord);
    std::size_t runStart = 0;
    ByteAnchor run;
    for (std::size_t i = 0; i <= units.size(); ++i) {
        if (i < units.size() && !units[i].possible) {
            choice.never = true;
            choice.anchor.reset();
            return choice;
        }
        if (i < units.size() && units[i].bytes) {
            if (run.value.empty()) runStart = i;
            run.value += units[i].bytes->first;
            run.mask += units[i].bytes->second;
            continue;
        }
        if (!run.value.empty() &&
            (!choice.anchor || run.value.size() > choice.anchor->value.size())) {
            run.atWordStart = runStart == 0;
            choice.anchor = run;
        }
        run = ByteAnchor();
    }
    return choice;
}

std::size_t FindAnchor(std::string_view bytes, std::size_t from, const ByteAnchor& anchor) {
    return platform::FindMasked(bytes, from, anchor.value, anchor.mask);
}

}  // namespace vx::search
