// One document as the steps before its numbering leave it for the run thread: parsed now, taken
// over unchanged from the previous run, or neither; and what those steps read.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "indexing/detail/kept_words.h"
#include "indexing/detail/reindex_cache.h"
#include "indexing/document_words.h"
#include "indexing/xml_text.h"
#include "platform/read_only_file.h"

namespace vx::indexing {

enum class DocumentState {
    NotIndexable,  // not an XML document of the scan mask: never numbered
    InUse,         // another process holds it: the run thread reads it through a scratch copy
    Parsed,        // parsed now: its text copy is staged and its words are ready
    WithoutCopy,   // no text copy could be made: numbered, logged, not filed
    Reused,        // unchanged: its words come from what the previous run kept, it is not parsed
    // Unchanged, taken on the recorded stamps of the document and its copy alone: its words are
    // read only if they must be filed (DocumentIndexer::FinishFiling).
    Deferred,
};

struct PreparedDocument {
    DocumentState state = DocumentState::NotIndexable;
    std::u16string copyFile;    // where the text copy lies once the run is committed
    std::u16string stagedCopy;  // where this run wrote it until then (Parsed only)
    std::u16string folderPart;
    std::u16string warning;  // the copy folder that could not be created, or ""
    DocumentWords words;     // Parsed and Reused
    // What the next re-index needs to take this document over; set only for a document whose
    // text the parser delivered completely, or one taken over.
    bool recordable = false;
    ReindexRecord record;
    std::string wordsForm;  // the words in the form the next re-index reads (kept_words.h)
    XmlProblem problem;     // why the document did not load (reason empty when it did)

    bool HasCopy() const {
        return state == DocumentState::Parsed || state == DocumentState::Reused ||
               state == DocumentState::Deferred;
    }
    bool TakenOver() const {
        return state == DocumentState::Reused || state == DocumentState::Deferred;
    }
};

// What the preparation reads; copied so that worker threads share nothing mutable.
struct PrepareSettings {
    std::u16string textCopyFolder;
    std::u16string stagedCopies;                  // where parsed documents' copies are staged
    std::atomic<uint64_t>* copyNumber = nullptr;  // names the staged copies
    std::u16string nameField;
    std::u16string upperMask;
    const ReindexCache* previous = nullptr;        // records of the previous run (read only)
    const KeptWordsFile* previousWords = nullptr;  // the words it kept, if any
    // While set, an unchanged document whose copy is as recorded is deferred.
    const std::atomic<bool>* deferReuse = nullptr;
};

}  // namespace vx::indexing
