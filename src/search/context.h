// The context of a hit: the lines of its text copy that hold the word, and their marking.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vx::search {

// An HTML fragment under construction: text that came from a document or from the user (escaped
// when the fragment is turned into HTML) and the system's own markup ("<br>", "</u>"), which
// stays as it is and is never searched for words.
class Context {
  public:
    void AppendText(std::u16string_view text);
    void AppendMarkup(std::u16string_view markup);
    void Erase(std::size_t pos, std::size_t count);
    // Removes leading and trailing white space and control characters.
    void Trim();

    const std::u16string& Text() const { return text_; }
    // The text runs between the markup, trimmed, without the "..." that opens each line: the
    // lines of the text copy as the page shows them, as plain text. The "Kein Kontext
    // enthalten!" form (no markup at all) has no lines.
    std::vector<std::u16string> PlainLines() const;
    // Whether lines of the text copy were taken (the "Kein Kontext enthalten!" form has none).
    bool HoldsLines() const;
    bool IsMarkup(std::size_t i) const { return markup_[i] != 0; }
    std::size_t Size() const { return text_.size(); }
    bool Empty() const { return text_.empty(); }

  private:
    std::u16string text_;
    std::vector<char> markup_;  // one flag per code unit of text_
};

inline constexpr std::size_t kLongLine = 300;       // longer lines are cut before the word
inline constexpr std::size_t kCutBefore = 250;      // the word then stands at this position
inline constexpr std::size_t kContextLimit = 2000;  // collection stops beyond this length

// A word or phrase prepared once for the contexts of all hits: the upper-cased text looked for
// and the bytes that every line of a UTF-8 text copy holding it contains.
class ContextWord {
  public:
    explicit ContextWord(std::u16string_view word);
    ContextWord(ContextWord&&) noexcept;
    ContextWord& operator=(ContextWord&&) noexcept;
    ~ContextWord();

  private:
    friend Context CollectContextIn(const class TextCopy& copy, const ContextWord& word);

    std::u16string word_;   // as passed
    std::u16string upper_;  // as looked for
    struct Anchor;
    mutable std::unique_ptr<Anchor> anchor_;  // made when the first copy is searched
};

// A text copy read once for all words of a hit: its bytes, searched for a word's bytes so that
// only the lines that can hold it are decoded (its whole text for a UTF-16 or UTF-32 file).
class TextCopy {
  public:
    // nullopt when the file cannot be read. The buffer's storage is used for the bytes (a run
    // hands the bytes of one copy on to the next: Release).
    static std::optional<TextCopy> Read(std::u16string_view path, std::string buffer = {});
    // A copy given as bytes, as if read from a file.
    static TextCopy FromBytes(std::string bytes);
    // The bytes' storage, for the next copy to be read.
    std::string Release() && { return std::move(bytes_); }

  private:
    friend Context CollectContextIn(const TextCopy& copy, const ContextWord& word);
    // The text as ReadTextFile reads it.
    const std::u16string& Text() const;

    std::u16string path_;
    std::string bytes_;
    std::optional<uint64_t> utf8Start_;           // where the UTF-8 text begins; nullopt: not UTF-8
    mutable std::optional<std::u16string> text_;  // the decoded text, once a word needs it
};

// The lines of the text copy that contain the word (a stored search word such as "HAUS=", or the
// phrase as typed), each as "<br>..." + " " + line + " " (plus "<br></u>" when the word stands at
// a word start). A text copy that cannot be read gives an empty context; one without the word
// gives word + " Kein Kontext enthalten!".
Context CollectContext(std::u16string_view textCopyPath, std::u16string_view word);
// The same from a copy read before, or from its decoded text.
Context CollectContextIn(const TextCopy& copy, const ContextWord& word);
Context CollectContextIn(const TextCopy& copy, std::u16string_view word);
Context CollectContextIn(std::u16string_view copyText, std::u16string_view word);
// The same, as plain text.
std::u16string KontextHolenTextFiles(std::u16string_view textCopyPath, std::u16string_view word);

// Wraps every occurrence of the word in highlight or underline markup and returns the HTML of
// the (trimmed, non-empty) context. For single words a "Kein Kontext enthalten!" context becomes
// the "Nicht gefunden!" note.
std::u16string MarkContext(const Context& context, std::u16string_view word, bool leading,
                           bool trailing, bool phrase);

// Markup of the highlight; its closing part switches back to the page's text colour.
inline constexpr char16_t kHighlightOpen[] = u"<font color=\"#cc0000\"><u>";
inline constexpr char16_t kHighlightClose[] = u"</u><font color=\"#000000\" >";
inline constexpr char16_t kNoContext[] = u" Kein Kontext enthalten!";
inline constexpr char16_t kNotFound[] = u" Nicht gefunden! <br>";

}  // namespace vx::search
