#include "search/context.h"

#include <algorithm>

#include "platform/read_only_file.h"
#include "platform/text.h"
#include "platform/utf8.h"
#include "search/detail/byte_anchor.h"
#include "search/detail/upper_find.h"
#include "search/html_text.h"
#include "textio/byte_lines.h"
#include "textio/text_file.h"

namespace vx::search {

namespace {

// What a text copy that grew while it was read is read on by, piece by piece.
constexpr std::size_t kReadOnPiece = 4096;

}  // namespace

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
    const auto first = markup_.begin() + static_cast<std::ptrdiff_t>(pos);
    markup_.erase(first, first + static_cast<std::ptrdiff_t>(count));
}

void Context::Trim() {
    std::size_t end = text_.size();
    while (end > 0 && platform::IsTrimChar(text_[end - 1])) --end;
    Erase(end, text_.size() - end);
    std::size_t begin = 0;
    while (begin < text_.size() && platform::IsTrimChar(text_[begin])) ++begin;
    Erase(0, begin);
}

bool Context::HoldsLines() const {
    return std::find(markup_.begin(), markup_.end(), 1) != markup_.end();
}

std::vector<std::u16string> Context::PlainLines() const {
    std::vector<std::u16string> lines;
    if (!HoldsLines()) return lines;
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
std::u16string LookedForText(std::u16string_view word) {
    std::u16string w = platform::Trim(word);
    std::size_t q = w.find(u'?');
    if (q != std::u16string::npos && q > 0 && q + 1 < w.size()) {
        w.erase(q, w.size() - 1 - q);
    }
    if (!w.empty() && IsWildcard(w.front())) w.erase(0, 1);
    if (!w.empty() && (w.back() == u'=' || IsWildcard(w.back()))) w.pop_back();
    return platform::UpperCase(w);
}

// The context being collected, line after line (see CollectContext).
class ContextCollector {
  public:
    // upper: the word as looked for (LookedForText).
    explicit ContextCollector(std::u16string upper)
        : w_(std::move(upper)),
          atWordStart_(u" " + w_),
          // The padded line has a blank at both ends, so a word with a blank at an end ("A "
          // from "A =") can stand in it without standing in the line.
          everyLine_(w_.empty() || w_.front() == u' ' || w_.back() == u' ') {}

    // True when any line may be taken, whether it holds the word or not.
    bool EveryLine() const { return everyLine_; }
    // True while lines taken or not still change the context (a ":\" left in it).
    bool Pending() const { return mayHoldDrive_; }

    // Takes one line of the copy; false when the collection is complete.
    bool Line(std::u16string_view line) {
        // Any other word can only stand in the padded line when it stands in the line itself.
        if (everyLine_ || FindUpper(line, w_) != std::u16string_view::npos) {
            s_.assign(1, u' ');
            s_.append(line.data(), line.size());
            if (s_.back() == u',') s_.pop_back();
            if (!s_.empty() && s_.back() == u'.') s_.pop_back();
            s_ += u' ';

            const bool wordStart = FindUpper(s_, atWordStart_) != std::u16string::npos;
            const std::size_t found = FindUpper(s_, w_);
            if (wordStart || found != std::u16string::npos) {
                const std::size_t position = found + 1;  // counted from 1
                if (s_.size() > kLongLine && position > kCutBefore) {
                    s_.erase(0, position - kCutBefore);
                }
                // A ":\" may now also stand across the end of what was there.
                if (!context_.Empty()) {
                    noDriveBefore_ = std::min(noDriveBefore_, context_.Size() - 1);
                }
                context_.AppendMarkup(u"<br>");
                context_.AppendText(u"...");
                context_.AppendText(s_);
                if (wordStart) context_.AppendMarkup(u"<br></u>");
                mayHoldDrive_ = true;
            }
        }
        if (mayHoldDrive_) {
            const std::size_t drive = context_.Text().find(u":\\", noDriveBefore_);
            if (drive != std::u16string::npos) {
                context_.Erase(drive, 2);
                // The characters on both sides of the removed pair may form a new one.
                noDriveBefore_ = drive > 0 ? drive - 1 : 0;
            } else {
                mayHoldDrive_ = false;
                noDriveBefore_ = context_.Size();
            }
        }
        return context_.Size() <= kContextLimit;
    }

    Context Finish(std::u16string_view word) {
        if (platform::TrimView(context_.Text()).empty()) {
            context_ = Context();
            context_.AppendText(word);
            context_.AppendText(kNoContext);
        }
        return std::move(context_);
    }

  private:
    std::u16string w_;
    std::u16string atWordStart_;
    bool everyLine_;
    bool mayHoldDrive_ = false;      // whether the context may contain ":\" since the last search
    std::size_t noDriveBefore_ = 0;  // no ":\" of the context begins before this position
    std::u16string s_;
    Context context_;
};

}  // namespace

struct ContextWord::Anchor {
    AnchorChoice choice;
};

ContextWord::ContextWord(std::u16string_view word) : word_(word), upper_(LookedForText(word)) {}
ContextWord::ContextWord(ContextWord&&) noexcept = default;
ContextWord& ContextWord::operator=(ContextWord&&) noexcept = default;
ContextWord::~ContextWord() = default;

std::optional<TextCopy> TextCopy::Read(std::u16string_view path, std::string buffer) {
    std::optional<platform::ReadOnlyFile> file = platform::ReadOnlyFile::Open(path);
    if (!file) return std::nullopt;
    std::string bytes = std::move(buffer);
    bytes.resize(file->Size());
    bytes.resize(file->ReadAt(0, bytes.data(), bytes.size()));
    if (bytes.size() == file->Size()) {
        // Read on to the end, as the text stream does, in case the file grew meanwhile.
        char more[kReadOnPiece];
        for (std::size_t got; (got = file->ReadAt(bytes.size(), more, sizeof more)) > 0;) {
            bytes.append(more, got);
        }
    }
    TextCopy copy = FromBytes(std::move(bytes));
    copy.path_ = path;
    return copy;
}

TextCopy TextCopy::FromBytes(std::string bytes) {
    TextCopy copy;
    copy.bytes_ = std::move(bytes);
    copy.utf8Start_ = textio::Utf8TextStart(copy.bytes_);
    return copy;
}

const std::u16string& TextCopy::Text() const {
    if (!text_) {
        if (utf8Start_) {
            text_ = platform::DecodeUtf8(std::string_view(bytes_).substr(*utf8Start_));
        } else {
            // A UTF-16 or UTF-32 file: the text stream's way (an unreadable one has no lines).
            try {
                text_ = textio::ReadTextFile(path_);
            } catch (const std::exception&) {
                // As a missing text copy: the hit is listed without context lines.
                text_.emplace();
            }
        }
    }
    return *text_;
}

Context CollectContext(std::u16string_view textCopyPath, std::u16string_view word) {
    const std::optional<TextCopy> copy = TextCopy::Read(textCopyPath);
    if (!copy) return Context();  // like a missing text copy: no context at all
    return CollectContextIn(*copy, word);
}

Context CollectContextIn(const TextCopy& copy, std::u16string_view word) {
    return CollectContextIn(copy, ContextWord(word));
}

Context CollectContextIn(const TextCopy& copy, const ContextWord& word) {
    ContextCollector collector(word.upper_);
    if (!word.anchor_) {
        word.anchor_ =
            std::make_unique<ContextWord::Anchor>(ContextWord::Anchor{AnchorOf(word.upper_)});
    }
    const AnchorChoice& choice = word.anchor_->choice;
    if (!copy.utf8Start_ || collector.EveryLine() || (!choice.anchor && !choice.never)) {
        return CollectContextIn(copy.Text(), word.word_);
    }
    // Lines without the word's anchor leave the context as it is unless a ":\" is still to be
    // removed from it; those are passed over.
    const std::string_view bytes(copy.bytes_);
    const char* const data = bytes.data();
    const char* const end = data + bytes.size();
    std::u16string line;
    for (std::size_t at = *copy.utf8Start_; at < bytes.size();) {
        std::size_t begin = at;
        if (!collector.Pending()) {
            if (choice.never) break;
            const std::size_t found = FindAnchor(bytes, at, *choice.anchor);
            if (found == std::string_view::npos) break;
            for (begin = found; begin > at && data[begin - 1] != '\n' && data[begin - 1] != '\r';) {
                --begin;
            }
        }
        const char* const lineEnd = textio::FindByteLineBreak(data + begin, end);
        line.clear();
        platform::AppendDecodedUtf8(std::string_view(data + begin, lineEnd), line);
        at = static_cast<std::size_t>(textio::SkipByteLineBreak(lineEnd, end) - data);
        if (!collector.Line(line)) break;
    }
    return collector.Finish(word.word_);
}

Context CollectContextIn(std::u16string_view content, std::u16string_view word) {
    ContextCollector collector(LookedForText(word));
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
        if (!collector.Line(line)) break;
    }
    return collector.Finish(word);
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
    const std::u16string_view text(context.Text());
    std::u16string blanked;
    for (std::size_t i = from; i < to;) {
        // A run of markup, or a run of text.
        const bool markup = context.IsMarkup(i);
        std::size_t end = i + 1;
        while (end < to && context.IsMarkup(end) == markup) ++end;
        std::u16string_view run = text.substr(i, end - i);
        if (markup) {
            out.append(run);
        } else if (blankControls &&
                   std::any_of(run.begin(), run.end(), [](char16_t c) { return c < 32; })) {
            blanked.assign(run);
            for (char16_t& c : blanked) {
                if (c < 32) c = u' ';
            }
            AppendHtmlEscaped(out, blanked);
        } else {
            AppendHtmlEscaped(out, run);
        }
        i = end;
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
