// Text extraction of one XML document: the text, CDATA and comment nodes in document order,
// then the sorted distinct element names. The parser is libxml2, streamed; nothing outside the
// document file is ever read.
#pragma once

#include <atomic>
#include <string>
#include <string_view>

namespace vx::indexing {

// Receives the extraction pane's entries: each text, CDATA or comment node's text, then the
// sorted distinct element names. An entry may contain line breaks ("\n"); each becomes a line.
class XmlTextSink {
  public:
    virtual ~XmlTextSink() = default;
    virtual void Entry(std::u16string_view text) = 0;
};

enum class XmlLoadResult { Loaded, NotLoaded, Cancelled };

// Why a document did not load: the parser's first error and its line (0 when the file could not
// be read at all).
struct XmlProblem {
    int line = 0;
    std::u16string reason;
};

// Streams the document (Windows-form path). On NotLoaded the sink may already have received
// entries; the caller discards them (a document that cannot be loaded has no text), and problem,
// when given, says why. On Cancelled (the flag was seen during the walk) the entries so far stay
// valid and no element names follow.
XmlLoadResult ExtractXmlText(std::u16string_view windowsPath, XmlTextSink& sink,
                             const std::atomic<bool>& cancel, XmlProblem* problem = nullptr);

// Whether the XML parser can be created (start-up check of the window program).
bool XmlParserAvailable();

// The pane text for tests and small callers: every line followed by CR LF; "" when not loaded.
std::u16string ExtractXmlPaneText(std::u16string_view windowsPath);

}  // namespace vx::indexing
