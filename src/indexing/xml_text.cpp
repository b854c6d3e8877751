#include "indexing/xml_text.h"

#include <libxml/SAX2.h>
#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/xmlerror.h>

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "indexing/detail/xml_element_names.h"
#include "indexing/detail/xml_file_input.h"
#include "indexing/detail/xml_text_node.h"
#include "platform/system_error_text.h"
#include "platform/text.h"
#include "platform/utf8.h"

namespace vx::indexing {

namespace {

// Documents nested deeper than this do not load.
constexpr int kMaxElementDepth = 256;
// Character data may outgrow the bytes read from the file only through entity expansion; a
// document whose expansion passes this bound is refused as an expansion bomb.
constexpr uint64_t kExpansionFactor = 8;
constexpr uint64_t kExpansionAllowance = 16u << 20;
// Weight of one element event in the expansion count (elements can be expanded too).
constexpr uint64_t kElementWeight = 16;

// Nothing outside the document is ever read: no external DTD, entity or network resource.
xmlParserInputPtr RefuseExternalEntity(const char*, const char*, xmlParserCtxtPtr) {
    return nullptr;
}

void IgnoreMessage(void*, const char*, ...) {}

void InitializeLibxml() {
    static std::once_flag once;
    std::call_once(once, [] {
        xmlInitParser();
        xmlSetExternalEntityLoader(RefuseExternalEntity);
    });
    // Messages that the parser raises without a parser context (encoding errors, for example)
    // go to the thread's generic handler; they must not reach standard error.
    thread_local bool quiet = false;
    if (!quiet) {
        xmlSetGenericErrorFunc(nullptr, IgnoreMessage);
        quiet = true;
    }
}

class Extraction {
  public:
    Extraction(XmlTextSink& sink, const std::atomic<bool>& cancel, XmlFileInput& input)
        : sink_(sink), cancel_(cancel), input_(input) {}

    XmlLoadResult Run();
    const XmlProblem& Problem() const { return problem_; }

  private:
    static Extraction& Of(void* ctx) {
        return *static_cast<Extraction*>(static_cast<xmlParserCtxtPtr>(ctx)->_private);
    }

    // Every callback first checks whether the walk has ended; then it stops the parser of the
    // context it came from (an entity's content is parsed by a context of its own).
    bool Ended(void* ctx) {
        if (!ended_) return false;
        xmlStopParser(static_cast<xmlParserCtxtPtr>(ctx));
        return true;
    }
    void End(void* ctx) {
        ended_ = true;
        xmlStopParser(static_cast<xmlParserCtxtPtr>(ctx));
    }
    // The cancel flag is seen between nodes.
    bool CancelSeen(void* ctx) {
        if (!cancel_.load(std::memory_order_relaxed)) return false;
        cancelled_ = true;
        End(ctx);
        return true;
    }
    // Counts character data against the expansion bound; false when the bound is passed.
    bool Count(void* ctx, uint64_t bytes) {
        delivered_ += bytes;
        if (delivered_ <= kExpansionFactor * input_.BytesRead() + kExpansionAllowance) return true;
        Refuse(ctx, u"Die Entitäten ergeben mehr Text, als die Datei glaubhaft enthält.");
        return false;
    }
    // Ends the walk of a document that the extraction itself refuses.
    void Refuse(void* ctx, std::u16string reason) {
        failed_ = true;
        NoteProblem(xmlSAX2GetLineNumber(ctx), std::move(reason));
        End(ctx);
    }
    void NoteProblem(int line, std::u16string reason) {
        if (!problem_.reason.empty()) return;  // the first one says why
        problem_.line = line;
        problem_.reason = std::move(reason);
    }
    static void OnError(void* ctx, xmlErrorPtr error);
    bool Preserving() const { return !preserve_.empty() && preserve_.back(); }
    // Ends the pending text node, if any; false when the walk has ended.
    bool FinishText(void* ctx) {
        if (textNode_.Empty()) return true;
        if (CancelSeen(ctx)) return false;
        textNode_.Finish(Preserving(), sink_);
        return true;
    }

    static int ReadInput(void* self, char* buffer, int len);
    static int CloseInput(void*) { return 0; }

    static void OnStartElement(void* ctx, const xmlChar* localName, const xmlChar* prefix,
                               const xmlChar* uri, int namespaceCount, const xmlChar** namespaces,
                               int attributeCount, int defaultedCount, const xmlChar** attributes);
    static void OnEndElement(void* ctx, const xmlChar* localName, const xmlChar* prefix,
                             const xmlChar* uri);
    static void OnCharacters(void* ctx, const xmlChar* ch, int len);
    static void OnCdata(void* ctx, const xmlChar* value, int len);
    static void OnComment(void* ctx, const xmlChar* value);
    static void OnProcessingInstruction(void* ctx, const xmlChar* target, const xmlChar* data);
    static xmlParserInputPtr OnResolveEntity(void*, const xmlChar*, const xmlChar*) {
        return nullptr;
    }

    static const xmlSAXHandler& Handler();

    XmlTextSink& sink_;
    const std::atomic<bool>& cancel_;
    XmlFileInput& input_;
    xmlParserCtxtPtr ctxt_ = nullptr;
    XmlTextNode textNode_;
    XmlElementNames names_;
    std::vector<bool> preserve_;  // xml:space="preserve" in effect, per open element
    int depth_ = 0;
    uint64_t delivered_ = 0;
    bool ended_ = false;
    bool cancelled_ = false;
    bool failed_ = false;
    XmlProblem problem_;
};

void Extraction::OnError(void* ctx, xmlErrorPtr error) {
    if (ctx == nullptr || error == nullptr || error->level < XML_ERR_ERROR) return;
    auto* ctxt = static_cast<xmlParserCtxtPtr>(ctx);
    if (ctxt->_private == nullptr) return;
    std::u16string reason;
    if (error->message != nullptr) platform::AppendDecodedUtf8(error->message, reason);
    Of(ctx).NoteProblem(error->line, platform::Trim(reason));
}

const xmlSAXHandler& Extraction::Handler() {
    static const xmlSAXHandler handler = [] {
        xmlSAXHandler h{};
        // The internal subset is kept in a document object of its own (no element tree) so
        // that entity declarations can be looked up; their content is parsed and delivered
        // through the same callbacks at each reference.
        h.startDocument = xmlSAX2StartDocument;
        h.internalSubset = xmlSAX2InternalSubset;
        h.isStandalone = xmlSAX2IsStandalone;
        h.hasInternalSubset = xmlSAX2HasInternalSubset;
        h.hasExternalSubset = xmlSAX2HasExternalSubset;
        h.entityDecl = xmlSAX2EntityDecl;
        h.getEntity = xmlSAX2GetEntity;
        h.getParameterEntity = xmlSAX2GetParameterEntity;
        h.resolveEntity = OnResolveEntity;
        h.startElementNs = OnStartElement;
        h.endElementNs = OnEndElement;
        h.characters = OnCharacters;
        h.ignorableWhitespace = OnCharacters;
        h.cdataBlock = OnCdata;
        h.comment = OnComment;
        h.processingInstruction = OnProcessingInstruction;
        h.warning = IgnoreMessage;
        h.error = IgnoreMessage;
        h.fatalError = IgnoreMessage;
        h.serror = OnError;
        h.initialized = XML_SAX2_MAGIC;
        return h;
    }();
    return handler;
}

int Extraction::ReadInput(void* self, char* buffer, int len) {
    auto& e = *static_cast<Extraction*>(self);
    // Once the walk has ended, or the document is known not to load, nothing more is read.
    if (e.ended_) return -1;
    if (e.ctxt_ != nullptr && !e.ctxt_->wellFormed) return -1;
    return e.input_.Read(buffer, len);
}

void Extraction::OnStartElement(void* ctx, const xmlChar* localName, const xmlChar* prefix,
                                const xmlChar*, int, const xmlChar**, int attributeCount, int,
                                const xmlChar** attributes) {
    auto& e = Of(ctx);
    if (e.Ended(ctx) || !e.FinishText(ctx) || e.CancelSeen(ctx)) return;
    if (++e.depth_ > kMaxElementDepth) {
        e.Refuse(ctx, u"Die Elemente sind tiefer als " + platform::IntText(kMaxElementDepth) +
                          u" Ebenen verschachtelt.");
        return;
    }
    if (!e.Count(ctx, kElementWeight)) return;
    e.names_.Add(prefix, localName);

    bool preserve = e.Preserving();
    // Attributes come as (local name, prefix, URI, value, value end) quintuples.
    for (int i = 0; i < attributeCount; ++i) {
        const xmlChar** a = attributes + std::ptrdiff_t{5} * i;
        if (a[1] == nullptr || xmlStrEqual(a[1], reinterpret_cast<const xmlChar*>("xml")) == 0 ||
            xmlStrEqual(a[0], reinterpret_cast<const xmlChar*>("space")) == 0) {
            continue;
        }
        const std::string_view value(reinterpret_cast<const char*>(a[3]),
                                     static_cast<std::size_t>(a[4] - a[3]));
        if (value == "preserve") preserve = true;
        if (value == "default") preserve = false;
    }
    e.preserve_.push_back(preserve);
}

void Extraction::OnEndElement(void* ctx, const xmlChar*, const xmlChar*, const xmlChar*) {
    auto& e = Of(ctx);
    if (e.Ended(ctx) || !e.FinishText(ctx)) return;
    --e.depth_;
    if (!e.preserve_.empty()) e.preserve_.pop_back();
}

void Extraction::OnCharacters(void* ctx, const xmlChar* ch, int len) {
    auto& e = Of(ctx);
    if (e.Ended(ctx) || len <= 0 || !e.Count(ctx, static_cast<uint64_t>(len))) return;
    e.textNode_.Append(
        std::string_view(reinterpret_cast<const char*>(ch), static_cast<std::size_t>(len)),
        e.Preserving(), e.sink_);
}

void Extraction::OnCdata(void* ctx, const xmlChar* value, int len) {
    auto& e = Of(ctx);
    if (e.Ended(ctx) || !e.FinishText(ctx) || e.CancelSeen(ctx)) return;
    if (len < 0 || !e.Count(ctx, static_cast<uint64_t>(len))) return;
    // A CDATA section's content is taken unchanged; an empty section is an empty line.
    std::u16string text;
    platform::AppendDecodedUtf8(
        std::string_view(reinterpret_cast<const char*>(value), static_cast<std::size_t>(len)),
        text);
    e.sink_.Entry(text);
}

void Extraction::OnComment(void* ctx, const xmlChar* value) {
    auto& e = Of(ctx);
    // Comments inside the document type declaration are not part of the document's nodes.
    if (static_cast<xmlParserCtxtPtr>(ctx)->inSubset != 0) return;
    if (e.Ended(ctx) || !e.FinishText(ctx) || e.CancelSeen(ctx)) return;
    const std::string_view content(reinterpret_cast<const char*>(value));
    if (!e.Count(ctx, content.size())) return;
    std::u16string text;
    platform::AppendDecodedUtf8(content, text);
    e.sink_.Entry(text);
}

void Extraction::OnProcessingInstruction(void* ctx, const xmlChar*, const xmlChar*) {
    auto& e = Of(ctx);
    if (static_cast<xmlParserCtxtPtr>(ctx)->inSubset != 0) return;
    // A processing instruction contributes nothing but ends the text node before it.
    if (!e.Ended(ctx)) e.FinishText(ctx);
}

XmlLoadResult Extraction::Run() {
    if (cancel_.load(std::memory_order_relaxed)) return XmlLoadResult::Cancelled;
    ctxt_ = xmlCreateIOParserCtxt(const_cast<xmlSAXHandler*>(&Handler()), nullptr, ReadInput,
                                  CloseInput, this, XML_CHAR_ENCODING_NONE);
    if (ctxt_ == nullptr) return XmlLoadResult::NotLoaded;
    ctxt_->_private = this;
    // No option that would read outside the file or lift the parser's limits.
    xmlCtxtUseOptions(ctxt_, XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    xmlParseDocument(ctxt_);

    XmlLoadResult result = XmlLoadResult::Loaded;
    if (cancelled_) {
        result = XmlLoadResult::Cancelled;
    } else if (failed_ || ended_ || !ctxt_->wellFormed || !ctxt_->nsWellFormed) {
        result = XmlLoadResult::NotLoaded;
        if (problem_.reason.empty()) {
            NoteProblem(xmlSAX2GetLineNumber(ctxt_), u"Das Dokument ist kein wohlgeformtes XML.");
        }
    }
    if (result == XmlLoadResult::Loaded) {
        // Text after the last markup (only white space in a well-formed document).
        textNode_.Finish(Preserving(), sink_);
        names_.DeliverSorted(sink_);
    }
    if (ctxt_->myDoc != nullptr) {
        xmlFreeDoc(ctxt_->myDoc);
        ctxt_->myDoc = nullptr;
    }
    xmlFreeParserCtxt(ctxt_);
    ctxt_ = nullptr;
    return result;
}

// Collects the entries as the pane's lines.
class PaneText : public XmlTextSink {
  public:
    void Entry(std::u16string_view text) override {
        std::size_t start = 0;
        for (;;) {
            const std::size_t lf = text.find(u'\n', start);
            std::u16string_view line = text.substr(start, lf - start);
            if (lf != std::u16string_view::npos && !line.empty() && line.back() == u'\r') {
                line.remove_suffix(1);
            }
            text_.append(line);
            text_.append(u"\r\n");
            if (lf == std::u16string_view::npos) break;
            start = lf + 1;
        }
    }
    std::u16string Take() { return std::move(text_); }

  private:
    std::u16string text_;
};

}  // namespace

XmlLoadResult ExtractXmlText(std::u16string_view windowsPath, XmlTextSink& sink,
                             const std::atomic<bool>& cancel, XmlProblem* problem) {
    InitializeLibxml();
    if (cancel.load(std::memory_order_relaxed)) return XmlLoadResult::Cancelled;
    XmlFileInput input;
    if (!input.Open(windowsPath)) {
        if (problem != nullptr) {
            problem->line = 0;
            problem->reason = u"Die Datei kann nicht gelesen werden: " +
                              platform::SystemErrorText(input.OpenError()) + u".";
        }
        return XmlLoadResult::NotLoaded;
    }
    Extraction extraction(sink, cancel, input);
    const XmlLoadResult result = extraction.Run();
    if (result == XmlLoadResult::NotLoaded && problem != nullptr) *problem = extraction.Problem();
    return result;
}

bool XmlParserAvailable() {
    InitializeLibxml();
    xmlParserCtxtPtr ctxt = xmlNewParserCtxt();
    if (ctxt == nullptr) return false;
    xmlFreeParserCtxt(ctxt);
    return true;
}

std::u16string ExtractXmlPaneText(std::u16string_view windowsPath) {
    PaneText pane;
    const std::atomic<bool> cancel{false};
    if (ExtractXmlText(windowsPath, pane, cancel) != XmlLoadResult::Loaded) return {};
    return pane.Take();
}

}  // namespace vx::indexing
