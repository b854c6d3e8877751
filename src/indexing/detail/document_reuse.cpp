#include "indexing/detail/document_reuse.h"

#include "indexing/detail/copy_words.h"
#include "indexing/detail/kept_words.h"
#include "textio/text_file.h"

namespace vx::indexing {

namespace {

void TakeOver(PreparedDocument& doc, const ReindexRecord& record, DocumentState state) {
    doc.state = state;
    doc.recordable = true;
    doc.record = record;
}

// The words of the text copy when it still gives the lines recorded for it.
bool ReuseTextCopy(PreparedDocument& doc, const ReindexRecord& record) {
    try {
        CopyWords words =
            record.readBack ? WordsReadBack(doc.copyFile) : WordsOfWrittenCopy(doc.copyFile);
        if (words.linesHash != record.linesHash) return false;
        doc.words = std::move(words.words);
    } catch (const textio::FileError&) {
        return false;  // a text copy that cannot be read: the document is parsed again
    }
    TakeOver(doc, record, DocumentState::Reused);
    doc.wordsForm = KeptWordsForm(doc.words);
    // A copy written again with the same lines is recorded as it is now.
    doc.record.copy = platform::StampOf(doc.copyFile).value_or(platform::FileStamp{});
    return true;
}

bool CopyAsRecorded(const PreparedDocument& doc, const ReindexRecord& record) {
    return record.copy.modifiedNs != 0 && platform::StampOf(doc.copyFile) == record.copy;
}

// The words the previous run kept, when the copy still has its recorded size and time: neither
// the document nor its copy is read.
bool ReuseKeptWords(const PrepareSettings& settings, PreparedDocument& doc,
                    const ReindexRecord& record) {
    if (settings.previousWords == nullptr || !CopyAsRecorded(doc, record)) return false;
    std::optional<DocumentWords> words =
        ReadKeptWords(*settings.previousWords, record, doc.wordsForm);
    if (!words) {
        doc.wordsForm.clear();
        return false;
    }
    doc.words = std::move(*words);
    TakeOver(doc, record, DocumentState::Reused);
    return true;
}

}  // namespace

bool ReuseWords(const PrepareSettings& settings, PreparedDocument& doc,
                const ReindexRecord& record) {
    return ReuseKeptWords(settings, doc, record) || ReuseTextCopy(doc, record);
}

bool DeferReuse(const PrepareSettings& settings, PreparedDocument& doc,
                const ReindexRecord& record) {
    if (settings.deferReuse == nullptr || !settings.deferReuse->load() ||
        !CopyAsRecorded(doc, record)) {
        return false;
    }
    TakeOver(doc, record, DocumentState::Deferred);
    return true;
}

}  // namespace vx::indexing
