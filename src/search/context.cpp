#include "search/context.h"

#include <algorithm>

#include "platform/text.h"
#include "search/html_text.h"
#include "search/upper_find.h"
#include "textio/text_file.h"

namespace vx::search {

void Context::AppendText(std::u16string_view text) {
    text_ += text;
    markup_.insert(markup_.end(), text.size(), 0);
}

void Context::AppendMarkup(std::u16string_view markup) {
    text_ += markup;
    markup_.insert(markup_.end(), markup.size(), 1);
}

void Context::Erase(std::size_t pos, std::size_t count) {
    if (pos >= text_.size()) return;
    count = std::min(count, text_.size() - pos);
    text_.erase(pos, count);
    markup_.erase(markup_.begin() + pos, markup_.begin() + pos + count);
}

void Context::Trim() {
    std::size_t end = text_.size();
    while (end > 0 && platform::IsTrimChar(text_[end - 1])) --end;
    Erase(end, text_.size() - end);
    std::size_t begin = 0;
    while (begin < text_.size() && platform::IsTrimChar(text_[begin])) ++begin;
    Erase(0, begin);
}

std::vector<std::u16string> Context::PlainLines() const {
    std::vector<std::u16string> lines;
    if (std::find(markup_.begin(), markup_.end(), 1) == markup_.end()) return lines;
    std::size_t i = 0;
    while (i < text_.size()) {
        while (i < text_.size() && markup_[i] != 0) ++i;
        const std::size_t start = i;
        while (i < text_.size() && markup_[i] == 0) ++i;
        std::u16string line = platform::Trim(std::u16string_view(text_).substr(start, i - start));
        if (line.starts_with(u"...")) line = platform::Trim(std::u16string_view(line).substr(3));
        if (!line.empty()) lines.push_back(std::move(line));
    }
    return lines;
}

namespace {

bool IsWildcard(char16_t c) {
    return c == u'*' || c == u'?';
}

// The word as looked for in the text copy: an inner "?" cuts it (keeping its last character),
// and a wildcard or "=" at either end goes.
std::u16string ContextWord(std::u16string_view word) {
    std::u16string w = platform::Trim(word);
    std::size_t q = w.find(u'?');
    if (q != std::u16string::npos && q > 0 && q + 1 < w.size()) {
        w.erase(q, w.size() - 1 - q);
    }
    if (!w.empty() && IsWildcard(w.front())) w.erase(0, 1);
    if (!w.empty() && (w.back() == u'=' || IsWildcard(w.back()))) w.pop_back();
    return platform::UpperCase(w);
}

}  // namespace

Context CollectContext(std::u16string_view textCopyPath, std::u16string_view word) {
    Context context;
    std::u16string content;
    try {
        content = textio::ReadTextFile(textCopyPath);
    } catch (const std::exception&) {
        return context;  // like a missing text copy: no context at all
    }
    const std::u16string w = ContextWord(word);
    const std::u16string atWordStart = u" " + w;
    // The padded line has a blank at both ends, so a word with a blank at an end ("A " from
    // "A =") can stand in it without standing in the line; test such a word on the padded line.
    const bool blankAtEnd = !w.empty() && (w.front() == u' ' || w.back() == u' ');

    bool mayHoldDrive = false;  // whether the context may contain ":\" since the last search
    std::u16string s;
    const char16_t* const data = content.data();
    const std::size_t size = content.size();
    std::size_t start = 0;
    while (start < size) {
        // The lines as SplitLines gives them: broken at CR LF, LF or CR.
        std::size_t end = start;
        while (end < size && data[end] != u'\r' && data[end] != u'\n') ++end;
        const std::u16string_view line(data + start, end - start);
        start = end;
        if (start < size)
            start += (data[start] == u'\r' && start + 1 < size && data[start + 1] == u'\n') ? 2 : 1;

        // Any other word can only stand in the padded line when it stands in the line itself.
        const bool candidate =
            w.empty() || blankAtEnd || FindUpper(line, w) != std::u16string_view::npos;
        if (candidate) {
            s.assign(1, u' ');
            s.append(line.data(), line.size());
            if (s.back() == u',') s.pop_back();
            if (!s.empty() && s.back() == u'.') s.pop_back();
            s += u' ';

            bool wordStart = FindUpper(s, atWordStart) != std::u16string::npos;
            std::size_t found = FindUpper(s, w);
            if (wordStart || found != std::u16string::npos) {
                std::size_t position = found + 1;  // counted from 1
                if (s.size() > kLongLine && position > kCutBefore)
                    s.erase(0, position - kCutBefore);
                context.AppendMarkup(u"<br>");
                context.AppendText(u"...");
                context.AppendText(s);
                if (wordStart) context.AppendMarkup(u"<br></u>");
                mayHoldDrive = true;
            }
        }
        if (mayHoldDrive) {
            std::size_t drive = context.Text().find(u":\\");
            if (drive != std::u16string::npos) {
                context.Erase(drive, 2);
            } else {
                mayHoldDrive = false;
            }
        }
        if (context.Size() > kContextLimit) break;
    }
    if (platform::TrimView(context.Text()).empty()) {
        context = Context();
        context.AppendText(word);
        context.AppendText(kNoContext);
    }
    return context;
}

std::u16string KontextHolenTextFiles(std::u16string_view textCopyPath, std::u16string_view word) {
    return CollectContext(textCopyPath, word).Text();
}

namespace {

constexpr int kNone = -1;  // a missing neighbour character

bool IsLetter(int c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsDelimiter(int c) {
    return c == 10 || c == 13 || (c >= 32 && c <= 38) || c == 40 || c == 41 ||
           (c >= 44 && c <= 47) || (c >= 58 && c <= 61) || c == 63 || c == 64 || c == 92;
}

bool Highlight(int before, int after, bool leading, bool trailing, bool phrase) {
    if (phrase || (!leading && !trailing)) return true;
    if (leading && trailing) return IsLetter(before) && IsLetter(after);
    if (leading) return IsLetter(before) && IsDelimiter(after);
    return IsDelimiter(before) && IsLetter(after);
}

// True when no code unit of [pos, pos + length) is markup.
bool AllText(const Context& context, std::size_t pos, std::size_t length) {
    for (std::size_t i = pos; i < pos + length; ++i) {
        if (context.IsMarkup(i)) return false;
    }
    return true;
}

// Copies [from, to) of the context: markup as it is, text escaped (and, for single words, with
// control characters turned into blanks).
void CopyRange(std::u16string& out, const Context& context, std::size_t from, std::size_t to,
               bool blankControls) {
    const std::u16string& text = context.Text();
    for (std::size_t i = from; i < to; ++i) {
        char16_t c = text[i];
        if (context.IsMarkup(i)) {
            out += c;
            continue;
        }
        if (blankControls && c < 32) c = u' ';
        AppendHtmlEscaped(out, std::u16string_view(&c, 1));
    }
}

}  // namespace

std::u16string MarkContext(const Context& context, std::u16string_view word, bool leading,
                           bool trailing, bool phrase) {
    std::u16string w(word);
    if (!w.empty() && IsWildcard(w.front())) w.erase(0, 1);
    if (!w.empty() && (w.back() == u'=' || IsWildcard(w.back()))) w.pop_back();
    const std::u16string upper = platform::UpperCase(w);
    const std::u16string& text = context.Text();
    const bool single = !phrase;

    std::u16string out;
    out.reserve(text.size() + 256);
    std::size_t pos = 0;
    while (!upper.empty()) {
        std::size_t found = FindUpper(text, upper, pos);
        while (found != std::u16string::npos && !AllText(context, found, upper.size())) {
            found = FindUpper(text, upper, found + 1);
        }
        if (found == std::u16string::npos) break;
        CopyRange(out, context, pos, found, single);
        const std::size_t end = found + upper.size();
        int before = found > 0 ? text[found - 1] : kNone;
        int after = end < text.size() ? text[end] : kNone;
        bool full = Highlight(before, after, leading, trailing, phrase);
        out += full ? kHighlightOpen : u"<u>";
        CopyRange(out, context, found, end, single);
        out += full ? kHighlightClose : u"</u>";
        pos = end;
    }
    CopyRange(out, context, pos, text.size(), single);

    if (single && out.find(u"Kein Kontext enthalten!") != std::u16string::npos) {
        static constexpr std::u16string_view kGone = u"= Kein Kontext enthalten!";
        for (std::size_t at = out.find(kGone); at != std::u16string::npos; at = out.find(kGone)) {
            out.erase(at, kGone.size());
        }
        out = u" ... " + out + kNotFound;
    }
    return out;
}

}  // namespace vx::search
