#include "search/html_text.h"

#include <array>

namespace vx::search {

void AppendHtmlEscaped(std::u16string& out, std::u16string_view text) {
    std::size_t start = 0;  // the text not yet copied begins here
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::u16string_view reference;
        switch (text[i]) {
            case u'&':
                reference = u"&amp;";
                break;
            case u'<':
                reference = u"&lt;";
                break;
            case u'>':
                reference = u"&gt;";
                break;
            case u'"':
                reference = u"&quot;";
                break;
            default:
                continue;
        }
        out.append(text.substr(start, i - start));
        out.append(reference);
        start = i + 1;
    }
    out.append(text.substr(start));
}

std::u16string HtmlEscape(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size());
    AppendHtmlEscaped(out, text);
    return out;
}

std::u16string HtmlUnescape(std::u16string_view html) {
    struct Ref {
        std::u16string_view text;
        char16_t c;
    };
    static constexpr std::array<Ref, 4> kRefs{
        {{u"&amp;", u'&'}, {u"&lt;", u'<'}, {u"&gt;", u'>'}, {u"&quot;", u'"'}}};
    std::u16string out;
    out.reserve(html.size());
    for (std::size_t i = 0; i < html.size();) {
        bool replaced = false;
        if (html[i] == u'&') {
            for (const Ref& ref : kRefs) {
                if (html.substr(i).starts_with(ref.text)) {
                    out += ref.c;
                    i += ref.text.size();
                    replaced = true;
                    break;
                }
            }
        }
        if (!replaced) out += html[i++];
    }
    return out;
}

std::string FileUrl(std::string_view linuxPath) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string url = "file://";
    for (const char byte : linuxPath) {
        const auto c = static_cast<unsigned char>(byte);
        bool keep = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                    c == '-' || c == '.' || c == '_' || c == '~' || c == '/';
        if (keep) {
            url += static_cast<char>(c);
        } else {
            url += '%';
            url += kHex[c >> 4];
            url += kHex[c & 15];
        }
    }
    return url;
}

}  // namespace vx::search
