#include "indexing/detail/document_preparation.h"

#include <chrono>

#include "indexing/detail/copy_words.h"
#include "indexing/detail/document_reuse.h"
#include "indexing/detail/kept_words.h"
#include "indexing/detail/text_copy.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace vx::indexing {

namespace {

// How long before its reading a document must have been written last for its record to be
// trusted by the next re-index.
constexpr int64_t kSettledNs = 3'000'000'000;

// A new name in the staging folder for the text copy of a document parsed now.
std::u16string StagedCopyName(const PrepareSettings& settings) {
    return settings.stagedCopies + u"\\" +
           platform::IntText(static_cast<int64_t>(++*settings.copyNumber)) + u".txt";
}

// After the extraction into the staged copy: Parsed with the copy's words, or WithoutCopy.
void TakeParse(TextCopySink& sink, XmlLoadResult result, PreparedDocument& doc) {
    sink.Finish(result);
    std::optional<CopyWords> words = WordsOfSink(sink, doc.stagedCopy);
    if (!words) {
        doc.state = DocumentState::WithoutCopy;
        return;
    }
    doc.state = DocumentState::Parsed;
    doc.words = std::move(words->words);
    doc.record.linesHash = words->linesHash;
    doc.record.readBack = words->readBack;
}

int64_t NowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

}  // namespace

PreparedDocument Prepare(const PrepareSettings& settings, const std::u16string& path,
                         const std::u16string& storedPath, const std::atomic<bool>& cancel) {
    PreparedDocument doc;
    const TextCopyLocation location =
        LocateTextCopy(settings.textCopyFolder, settings.nameField, storedPath);
    doc.folderPart = location.folderPart;
    bool failed = false;
    const std::u16string copyFolder =
        CreateCopyFolder(settings.textCopyFolder, settings.nameField, storedPath, failed);
    if (failed) doc.warning = copyFolder;
    doc.copyFile = copyFolder + u"\\" + CopyName(platform::NameOf(storedPath));
    const std::u16string extension = platform::UpperCase(platform::ExtensionOf(path));
    if (extension != u".XML" || settings.upperMask.find(extension) == std::u16string::npos) {
        return doc;
    }
    if (platform::IsFileInUse(path)) {
        doc.state = DocumentState::InUse;
        return doc;
    }
    const int64_t nowNs = NowNs();
    const std::optional<platform::FileInfo> info = platform::StatPath(path);
    if (settings.previous != nullptr && info && doc.warning.empty()) {
        const ReindexRecord* record = settings.previous->Find(path);
        if (record != nullptr && record->document == DocumentStamp::Of(*info) &&
            (DeferReuse(settings, doc, *record) || ReuseWords(settings, doc, *record))) {
            return doc;
        }
    }
    doc.stagedCopy = StagedCopyName(settings);
    TextCopySink sink(doc.stagedCopy, true);
    const XmlLoadResult result = ExtractXmlText(path, sink, cancel, &doc.problem);
    TakeParse(sink, result, doc);
    // A document written moments before it was read may change again without its time
    // changing (file times advance in steps): it is parsed again next time. (A write after an
    // older time was set gives the present time, which differs from the one recorded.)
    if (info && result == XmlLoadResult::Loaded && doc.problem.reason.empty() &&
        doc.state == DocumentState::Parsed && nowNs - info->modifiedNs >= kSettledNs) {
        doc.recordable = true;
        doc.record.document = DocumentStamp::Of(*info);
        // The commit renames the copy into place, which keeps its size and time.
        doc.record.copy = platform::StampOf(doc.stagedCopy).value_or(platform::FileStamp{});
        doc.wordsForm = KeptWordsForm(doc.words);
    }
    return doc;
}

void PrepareInUse(const PrepareSettings& settings, const std::u16string& copy,
                  const std::atomic<bool>& cancel, PreparedDocument& doc) {
    doc.stagedCopy = StagedCopyName(settings);
    TextCopySink sink(doc.stagedCopy, false);
    TakeParse(
        sink,
        copy.empty() ? XmlLoadResult::NotLoaded : ExtractXmlText(copy, sink, cancel, &doc.problem),
        doc);
}

}  // namespace vx::indexing
