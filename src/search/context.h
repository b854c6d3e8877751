// The context of a hit: the lines of its text copy that hold the word, and their marking.
#pragma once

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

// The lines of the text copy that contain the word (a stored search word such as "HAUS=", or the
// phrase as typed), each as "<br>..." + " " + line + " " (plus "<br></u>" when the word stands at
// a word start). A text copy that cannot be read gives an empty context; one without the word
// gives word + " Kein Kontext enthalten!".
Context CollectContext(std::u16string_view textCopyPath, std::u16string_view word);
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
