// HTML escaping of text that comes from documents or from the user, and file URLs for links.
#pragma once

#include <string>
#include <string_view>

namespace vx::search {

// &, <, > and " as character references.
std::u16string HtmlEscape(std::u16string_view text);
void AppendHtmlEscaped(std::u16string& out, std::u16string_view text);
// Reverses HtmlEscape (only the four references it writes).
std::u16string HtmlUnescape(std::u16string_view html);
// "file://" + the path's UTF-8 bytes, percent-encoded except unreserved characters and "/".
std::string FileUrl(std::string_view linuxPath);

}  // namespace vx::search
