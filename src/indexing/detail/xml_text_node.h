// The character data of one text node, gathered from the parser's callbacks until the next
// markup event ends the node.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "indexing/xml_text.h"

namespace vx::indexing {

class XmlTextNode {
  public:
    // Adds character data (UTF-8). A node that grows beyond the bound hands its completed
    // lines to the sink early, so that a huge text node does not have to be held whole; the
    // lines the sink receives are the same as if the node were delivered at its end.
    void Append(std::string_view utf8, bool preserve, XmlTextSink& sink);
    bool Empty() const { return utf8_.empty() && !continued_; }
    // Ends the node. Without xml:space="preserve" a node made only of white space is dropped
    // and the text is trimmed at both ends; with it, the text is delivered unchanged.
    void Finish(bool preserve, XmlTextSink& sink);

    // The size from which completed lines are handed on early (bytes of UTF-8).
    static constexpr std::size_t kEarlyDeliveryBytes = 4 << 20;

  private:
    void DeliverCompletedLines(bool preserve, XmlTextSink& sink);
    void Deliver(std::string_view utf8, XmlTextSink& sink);

    std::string utf8_;
    std::u16string wide_;
    bool continued_ = false;  // the node's first lines were already delivered
    std::size_t nextCheck_ = kEarlyDeliveryBytes;
};

}  // namespace vx::indexing
