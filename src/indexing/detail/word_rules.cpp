#include "indexing/detail/word_rules.h"

#include "platform/text.h"

namespace vx::indexing {

namespace {

bool IsAsciiDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

bool IsAsciiLetter(char16_t c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

// Digits, ":" and ";" (U+0030 ... U+003B) belong to both admission sets.
bool IsDigitColonSemicolon(char16_t c) {
    return c >= u'0' && c <= u';';
}

bool IsUmlaut(char16_t c) {
    switch (c) {
        case u'Ä':
        case u'Ö':
        case u'Ü':
        case u'ä':
        case u'ö':
        case u'ü':
            return true;
        default:
            return false;
    }
}

bool InFirstSet(char16_t c) {
    return c == u'&' || c == u'(' || c == u'.' || IsDigitColonSemicolon(c) || IsAsciiLetter(c) ||
           IsUmlaut(c);
}

bool InLastSet(char16_t c) {
    return c == u' ' || c == u'&' || c == u')' || c == u'.' || IsDigitColonSemicolon(c) ||
           IsAsciiLetter(c) || IsUmlaut(c) || c == u'É';
}

// Characters removed from the front of a Unicode word, step by step in this order (U+00CE
// stands twice in the list; the second step finds nothing left to remove).
constexpr char16_t kUnicodeLeadRemoval[] = {u'\u2026', u'\u2013', u'\u00AB', u'\u2734',
                                            u'\u2748', u'\u2745', u'\u00CE', u'\u00CE',
                                            u'\xD835', u'\u2014', u'\u00A1', u'\u00A2'};

// The trim of a word: white space and control characters, and the invisible format characters
// (a leading U+FEFF, a zero-width space) that would otherwise make "\uFEFFHAUS" a word of its own.
std::u16string_view TrimWord(std::u16string_view w) {
    const auto edge = [](char16_t c) {
        return platform::IsTrimChar(c) || platform::IsFormatChar(c);
    };
    while (!w.empty() && edge(w.front())) w.remove_prefix(1);
    while (!w.empty() && edge(w.back())) w.remove_suffix(1);
    return w;
}

}  // namespace

bool ApplyWordRules(std::u16string_view& w, bool& ansi) {
    w = TrimWord(w);
    if (w.empty() || IsAsciiDigit(w.front())) return false;
    if (w.size() > kMaxWordLength) return false;
    if (w.size() > 1) {
        const std::size_t dots = w.find(u"..");
        if (dots != std::u16string_view::npos) w = w.substr(0, dots);
    }
    while (w.size() >= 2 && w.back() == u'.') w.remove_suffix(1);
    w = TrimWord(w);
    if (w.empty()) return false;

    const char16_t first = w.front();
    ansi = first <= 0x7F || first == u'Ä' || first == u'Ö' || first == u'Ü';
    if (!ansi) {
        for (const char16_t lead : kUnicodeLeadRemoval) {
            while (w.size() >= 2 && w.front() == lead) w.remove_prefix(1);
        }
    }
    return true;
}

bool AdmitsNewEntry(std::u16string_view w) {
    return !w.empty() && InFirstSet(w.front()) && InLastSet(w.back());
}

}  // namespace vx::indexing
