#include "indexing/detail/document_indexer.h"

#include "index/database_lines.h"
#include "indexing/detail/document_preparation.h"
#include "indexing/detail/document_reuse.h"
#include "indexing/detail/kept_words.h"
#include "indexing/detail/prefetch_pool.h"
#include "indexing/detail/progress_lines.h"
#include "indexing/detail/run_folders.h"
#include "indexing/detail/unicode_filing.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace vx::indexing {

namespace {

using platform::IntText;

// A document numbered while its filing was deferred.
struct DeferredDocument {
    int pass;
    int32_t number;
    std::u16string path;
    std::u16string storedPath;
    PreparedDocument doc;
};

}  // namespace

struct DocumentIndexer::Impl {
    RunState& state;
    RunFiles& files;
    PrepareSettings settings;
    std::atomic<bool> deferring{false};
    std::atomic<uint64_t> copyNumber{0};
    std::vector<DeferredDocument> deferred;
    std::function<void(int pass)> writeEarlierPass;
    UnicodeFiling unicodeFiling;
    PrefetchPool pool;

    Impl(RunState& s, RunFiles& f, int threads)
        : state(s),
          files(f),
          unicodeFiling(s.wordIndex, threads > 0),
          pool(threads, [this](const std::u16string& path, const std::u16string& storedPath) {
              return Prepare(settings, path, storedPath, state.flags.cancel);
          }) {
        settings.textCopyFolder = s.folders.textCopy;
        settings.stagedCopies = f.stagedCopies;
        settings.copyNumber = &copyNumber;
        settings.nameField = s.setup.nameField;
        settings.upperMask = platform::UpperCase(s.setup.scanMask);
        settings.previous = f.previousRecords;
        settings.previousWords = f.previousWords;
        settings.deferReuse = &deferring;
        deferring = f.deferReuse;
    }

    // A document in use is copied into the scratch folder, and the copy is parsed.
    void PrepareInUse(const std::u16string& path, PreparedDocument& doc) {
        doc.state = DocumentState::WithoutCopy;
        if (!platform::DirectoryExists(state.folders.zipTemp)) return;
        const std::u16string zipTemp = ScratchCopyFolder(state.folders);
        platform::CreateFolder(zipTemp);
        std::u16string& lastCopied = state.lastCopiedFolder;
        if (!lastCopied.empty() && lastCopied.size() != doc.folderPart.size()) {
            platform::DeleteAllFilesIn(zipTemp);
        }
        const std::u16string copy = platform::CopyFileInto(path, zipTemp);
        lastCopied = doc.folderPart;
        indexing::PrepareInUse(settings, copy, state.flags.cancel, doc);
    }

    // The copy of a numbered document goes with the database: a staged one into place, one
    // taken over from the previous run stays.
    void KeepTextCopy(const PreparedDocument& doc) {
        if (doc.state == DocumentState::Parsed) {
            files.commit.StageTextCopy(doc.stagedCopy, doc.copyFile);
            files.textCopies.insert(platform::ToHostPathAsWritten(doc.copyFile));
        } else {
            files.textCopies.insert(platform::ToHostPath(doc.copyFile));
        }
    }

    // The words of a deferred document, now that they must be filed: those kept or those of
    // its copy when these are still as recorded, else those of the document parsed again.
    void TakeDeferredWords(PreparedDocument& doc, const std::u16string& path,
                           const std::u16string& storedPath) {
        if (ReuseWords(settings, doc, doc.record)) return;
        PrepareSettings parse = settings;
        parse.previous = nullptr;
        const std::atomic<bool> never{false};  // the document is numbered: it is filed whole
        const std::string kept = platform::ToHostPath(doc.copyFile);
        doc = Prepare(parse, path, storedPath, never);
        --state.count.reused;
        // The copy the deferral kept is replaced, or goes when the document has none now.
        if (doc.HasCopy()) {
            KeepTextCopy(doc);
        } else {
            files.textCopies.erase(kept);
        }
    }

    // Files the words of the documents deferred so far, in their order, each earlier pass's
    // saved once its documents are filed, and defers no more.
    void FileDeferred() {
        deferring = false;
        const std::atomic<bool> never{false};  // they are numbered: each is filed whole
        for (std::size_t i = 0; i < deferred.size(); ++i) {
            DeferredDocument& d = deferred[i];
            TakeDeferredWords(d.doc, d.path, d.storedPath);
            FileOrLog(d.doc, d.number, d.path, never);
            const bool passEnds = i + 1 == deferred.size() || deferred[i + 1].pass != d.pass;
            if (passEnds && d.pass < state.pass.number) {
                unicodeFiling.Wait();
                writeEarlierPass(d.pass);
            }
        }
        deferred.clear();
    }

    // Files the words of a numbered document and records it, or logs that it has no text copy.
    // False when the cancel flag stopped the filing.
    bool FileOrLog(PreparedDocument& doc, int32_t number, const std::u16string& path,
                   const std::atomic<bool>& cancel) {
        // Only a copy this run wrote or checked is filed: one that an earlier run left (of a
        // document that cannot be read now, say) holds another text.
        if (!doc.HasCopy()) {
            state.Log(u"Kann nicht indiziert werden: " + path);
            ++state.count.failures;
            return true;
        }
        if (!FileWords(doc, number, cancel)) return false;
        if (doc.recordable) {
            if (!doc.wordsForm.empty()) files.keptWords.Append(doc.wordsForm, doc.record);
            files.records.Add(path, doc.record);
        }
        return true;
    }

    // Files the words of the document; false when the cancel flag stopped it.
    bool FileWords(PreparedDocument& doc, int32_t number, const std::atomic<bool>& cancel) {
        // A large document lets the host refresh its display now and then.
        int64_t lastRefresh = SteadyTickMs();
        if (cancel) return false;
        auto words = std::make_shared<const DocumentWords>(std::move(doc.words));
        unicodeFiling.File(words, number);
        return words->FileAnsiWords(number, state.wordIndex, cancel, [&] {
            const int64_t now = SteadyTickMs();
            if (now - lastRefresh >= 100) {
                state.host.Pause();
                lastRefresh = now;
            }
        });
    }

    // The document's number and its line in the document list.
    int32_t Number(const WalkItem& item, const PreparedDocument& doc) {
        const int32_t number = ++state.count.documents;
        state.pass.documentCounter = number;
        if (doc.TakenOver()) ++state.count.reused;
        state.count.sizeTotal += static_cast<int64_t>(item.entry.size);
        if (auto it = state.found.lastPathEntry.find(item.storedFolder);
            it != state.found.lastPathEntry.end()) {
            state.pass.documentList.push_back(index::BuildDocumentLine(
                number, it->second, platform::NameOf(item.storedPath),
                static_cast<int64_t>(item.entry.size), item.entry.dosTime));
        }
        return number;
    }

    void ShowIndexed(int32_t number, const std::u16string& path) {
        Host& host = state.host;
        ShowIndexedSoFar(state, number);
        Host::RunProgress progress;
        progress.documents = number;
        progress.reused = state.count.reused;
        progress.foundDocuments = state.found.count;
        progress.bytes = state.count.sizeTotal;
        progress.startTickMs = state.count.startTickMs;
        progress.path = path;
        host.DocumentIndexed(progress);
        host.Pause();
    }

    void Index(const WalkItem& item) {
        Host& host = state.host;
        const std::u16string& path = item.fullPath;
        // A pass that took in no words left "0 Wörter …" in the progress line.
        if (state.pass.completed > 0 && state.count.postings == 0) host.SetProgressLine(u"");
        PreparedDocument doc = pool.Take(path, item.storedPath);
        if (!doc.warning.empty()) {
            host.Tell(MessageKind::Warning,
                      u"Kann das Verzeichnis " + doc.warning + u" nicht anlegen!");
        }
        if (doc.state == DocumentState::NotIndexable) {
            host.SetCurrentFile(u"");
            return;
        }
        if (doc.state == DocumentState::InUse) PrepareInUse(path, doc);
        if (state.flags.cancel) return;

        const int32_t number = Number(item, doc);
        if (doc.HasCopy()) KeepTextCopy(doc);
        if (!doc.problem.reason.empty()) {
            // The document keeps its number and empty copy; the log says why it has no text.
            ++state.count.unloadable;
            state.Log(u"Fehler im XML-Dokument " + path +
                      (doc.problem.line > 0 ? u", Zeile " + IntText(doc.problem.line) : u"") +
                      u": " + doc.problem.reason);
        }
        ShowIndexed(number, path);
        if (state.flags.cancel) return;

        if (doc.state == DocumentState::Deferred && deferring) {
            files.records.Add(path, doc.record);
            deferred.push_back({state.pass.number, number, path, item.storedPath, std::move(doc)});
            host.SetCurrentFile(u"");
            return;
        }
        // The documents before this one are filed first.
        if (deferring) FileDeferred();
        if (doc.state == DocumentState::Deferred) TakeDeferredWords(doc, path, item.storedPath);
        if (!FileOrLog(doc, number, path, state.flags.cancel)) return;
        host.SetCurrentFile(u"");
    }
};

DocumentIndexer::DocumentIndexer(RunState& state, RunFiles& files, int threads)
    : impl_(std::make_unique<Impl>(state, files, threads)) {}

DocumentIndexer::~DocumentIndexer() = default;

void DocumentIndexer::Prefetch(const WalkItem& item) {
    impl_->pool.Prefetch(item);
}

void DocumentIndexer::DropPrefetched() {
    impl_->pool.DropAll();
}

int DocumentIndexer::Threads() const {
    return impl_->pool.Threads();
}

void DocumentIndexer::Index(const WalkItem& item) {
    impl_->Index(item);
}

bool DocumentIndexer::AllDeferred() const {
    return impl_->deferring && !impl_->deferred.empty() &&
           impl_->deferred.size() == static_cast<std::size_t>(impl_->state.count.documents);
}

void DocumentIndexer::SetEarlierPassWriter(std::function<void(int pass)> writer) {
    impl_->writeEarlierPass = std::move(writer);
}

void DocumentIndexer::FinishFiling() {
    if (impl_->deferring) impl_->FileDeferred();
    impl_->unicodeFiling.Wait();
}

}  // namespace vx::indexing
