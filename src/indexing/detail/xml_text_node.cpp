#include "indexing/detail/xml_text_node.h"

#include "platform/utf8.h"

namespace vx::indexing {

namespace {

bool IsXmlSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view TrimFront(std::string_view s) {
    std::size_t b = 0;
    while (b < s.size() && IsXmlSpace(s[b])) ++b;
    return s.substr(b);
}

std::string_view TrimBack(std::string_view s) {
    std::size_t e = s.size();
    while (e > 0 && IsXmlSpace(s[e - 1])) --e;
    return s.substr(0, e);
}

}  // namespace

void XmlTextNode::Append(std::string_view utf8, bool preserve, XmlTextSink& sink) {
    utf8_.append(utf8);
    if (utf8_.size() >= nextCheck_) DeliverCompletedLines(preserve, sink);
}

void XmlTextNode::Finish(bool preserve, XmlTextSink& sink) {
    if (Empty()) return;
    std::string_view text(utf8_);
    if (preserve) {
        Deliver(text, sink);
    } else {
        // After early delivered lines the rest is inner text of the node: only its end is
        // trimmed. Nothing left means a white-space-only node, or only the white space that
        // ends the node.
        if (!continued_) text = TrimFront(text);
        text = TrimBack(text);
        if (!text.empty()) Deliver(text, sink);
    }
    utf8_.clear();
    continued_ = false;
    nextCheck_ = kEarlyDeliveryBytes;
}

// The node is cut at the last line break that directly follows a character other than white
// space: the text before it is complete and untouched by the trim at the node's end, and the
// break itself is the line boundary between the two entries.
void XmlTextNode::DeliverCompletedLines(bool preserve, XmlTextSink& sink) {
    std::size_t cut = utf8_.size();
    while (cut > 0) {
        cut = utf8_.rfind('\n', cut - 1);
        if (cut == std::string::npos || cut == 0) {
            cut = 0;
            break;
        }
        if (!IsXmlSpace(utf8_[cut - 1])) break;
    }
    if (cut == 0) {
        // One long line: look again once it has doubled.
        nextCheck_ = utf8_.size() * 2;
        return;
    }
    std::string_view head(utf8_.data(), cut);
    if (!preserve && !continued_) head = TrimFront(head);
    Deliver(head, sink);
    utf8_.erase(0, cut + 1);
    continued_ = true;
    nextCheck_ = utf8_.size() + kEarlyDeliveryBytes;
}

void XmlTextNode::Deliver(std::string_view utf8, XmlTextSink& sink) {
    wide_.clear();
    platform::AppendDecodedUtf8(utf8, wide_);
    sink.Entry(wide_);
}

}  // namespace vx::indexing
