#include "indexing/detail/document_indexer.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <unordered_map>

#include "indexing/detail/kept_words.h"
#include "indexing/detail/reindex_cache.h"
#include "indexing/detail/text_copy.h"
#include "indexing/detail/unicode_filing.h"
#include "indexing/document_words.h"
#include "indexing/size_text.h"
#include "indexing/xml_text.h"
#include "platform/files.h"
#include "platform/helper_thread.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "platform/utf8.h"
#include "textio/file_byte_stream.h"
#include "textio/text_file.h"

namespace vx::indexing {

namespace {

using platform::IntText;

// What the steps before the numbering leave for the run thread.
struct PreparedDocument {
    std::u16string copyFile;
    std::u16string folderPart;
    std::u16string warning;  // the copy folder that could not be created, or ""
    bool indexable = false;  // an XML document of the scan mask
    bool locked = false;     // in use: the run thread copies it through the scratch folder
    bool written = false;    // the text copy holds this document's text
    bool reused = false;     // taken from the text copy of the previous run, not parsed
    // Taken from the copy on its recorded size and time alone, without reading it: its words
    // are read only if they must be filed (DocumentIndexer::FileDeferred).
    bool deferred = false;
    // The words of the text copy, ready for filing (worked out where the text was at hand).
    bool wordsReady = false;
    DocumentWords words;
    // What the next re-index needs to take this document from its copy; set only for a
    // document whose text the parser delivered completely.
    bool recordable = false;
    ReindexRecord record;
    std::string wordsForm;  // the words in the form the next re-index reads (kept_words.h)
    XmlProblem problem;     // why the document did not load (reason empty when it did)
};

// How long before its reading a document must have been written last for its record to be
// trusted by the next re-index.
constexpr int64_t kSettledNs = 3'000'000'000;

// The settings the preparation reads; copied so that worker threads share nothing mutable.
struct PrepareSettings {
    std::u16string textCopyFolder;
    std::u16string nameField;
    std::u16string upperMask;
    const ReindexCache* previous = nullptr;        // records of the previous run (read only)
    const KeptWordsFile* previousWords = nullptr;  // the words it kept, if any
    // While set, an unchanged document whose copy is as recorded is not read (deferred).
    const std::atomic<bool>* deferReuse = nullptr;
};

// Works out the words of a document's lines; one per thread, kept between documents.
DocumentWordsBuilder& ThreadWordsBuilder() {
    thread_local DocumentWordsBuilder builder;
    return builder;
}

// The words and the line hash of text-copy lines as the filing reads them.
template <typename Lines>
void TakeLines(const Lines& lines, PreparedDocument& doc) {
    DocumentWordsBuilder& builder = ThreadWordsBuilder();
    LineHash hash;
    for (const std::u16string_view line : lines) {
        hash.Add(line);
        builder.AddLine(line);
    }
    doc.words = builder.Finish();
    doc.record.linesHash = hash.Value();
    doc.wordsReady = true;
}

// Reads the text copy back as the filing reads a copy whose lines were not kept.
void ReadBackCopy(PreparedDocument& doc) {
    DocumentWordsBuilder& builder = ThreadWordsBuilder();
    LineHash hash;
    try {
        textio::LineReader reader(doc.copyFile);
        std::u16string line;
        while (reader.Next(line)) {
            hash.Add(line);
            builder.AddLine(line);
        }
    } catch (...) {
        builder.Finish();  // the next document starts afresh
        throw;
    }
    doc.words = builder.Finish();
    doc.record.linesHash = hash.Value();
    doc.record.readBack = true;
    doc.wordsReady = true;
}

// After the extraction: the words from the lines the sink kept, or from the copy read back.
void TakeSink(TextCopySink& sink, PreparedDocument& doc) {
    doc.written = sink.Written();
    if (!doc.written) return;
    if (sink.LinesValid()) {
        TakeLines(sink.Lines(), doc);
        std::vector<std::u16string>().swap(sink.Lines());
    } else {
        ReadBackCopy(doc);
    }
}

// The text of a copy written from kept lines: each line followed by CR LF, nothing else. The
// buffers are kept per thread from one document to the next.
const std::u16string& ReadCopyText(const std::u16string& copyFile) {
    thread_local std::string bytes;
    thread_local std::u16string text;
    textio::ReadWholeFile(copyFile, bytes);
    text.clear();
    platform::AppendDecodedUtf8(bytes, text);
    return text;
}

// The lines of a text as SplitLines splits it (at CR LF, LF or CR), as views.
std::vector<std::u16string_view> LineViews(std::u16string_view text) {
    std::vector<std::u16string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = start;
        while (end < text.size() && text[end] != u'\r' && text[end] != u'\n') ++end;
        lines.push_back(text.substr(start, end - start));
        if (end + 1 < text.size() && text[end] == u'\r' && text[end + 1] == u'\n') ++end;
        start = end + 1;
    }
    return lines;
}

// Marks a document as taken from its text copy under the previous run's record.
void TakeFromCopy(PreparedDocument& doc, const ReindexRecord& record) {
    doc.written = true;
    doc.reused = true;
    doc.recordable = true;
    doc.record = record;
}

// Takes an unchanged document's words from its text copy when the copy still gives the lines
// recorded for it; false (the document is parsed) when it does not or cannot be read.
bool ReuseTextCopy(PreparedDocument& doc, const ReindexRecord& record) {
    try {
        PreparedDocument reused;
        reused.copyFile = doc.copyFile;
        if (record.readBack) {
            ReadBackCopy(reused);
        } else {
            TakeLines(LineViews(ReadCopyText(doc.copyFile)), reused);
        }
        if (reused.record.linesHash != record.linesHash) return false;
        doc.words = std::move(reused.words);
    } catch (const textio::FileError&) {
        return false;  // a text copy that cannot be read: the document is parsed again
    }
    doc.wordsReady = true;
    TakeFromCopy(doc, record);
    doc.wordsForm = KeptWordsForm(doc.words);
    // A copy written again with the same lines (by a run that was killed) is recorded as it is.
    doc.record.copy = platform::StampOf(doc.copyFile).value_or(platform::FileStamp{});
    return true;
}

// Whether the document's text copy still has the size and time recorded for it.
bool CopyAsRecorded(const PreparedDocument& doc, const ReindexRecord& record) {
    return record.copy.modifiedNs != 0 && platform::StampOf(doc.copyFile) == record.copy;
}

// Takes an unchanged document's words from those the previous run kept, when its copy still
// has the recorded size and time: neither the document nor its copy is read.
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
    doc.wordsReady = true;
    TakeFromCopy(doc, record);
    return true;
}

// The words of an unchanged document without parsing it: those the previous run kept, else
// those of its text copy.
bool ReuseWords(const PrepareSettings& settings, PreparedDocument& doc,
                const ReindexRecord& record) {
    return ReuseKeptWords(settings, doc, record) || ReuseTextCopy(doc, record);
}

// Takes an unchanged document on its copy's recorded size and time, while the run defers.
bool DeferTextCopy(const PrepareSettings& settings, PreparedDocument& doc,
                   const ReindexRecord& record) {
    if (settings.deferReuse == nullptr || !settings.deferReuse->load() ||
        !CopyAsRecorded(doc, record)) {
        return false;
    }
    doc.deferred = true;
    TakeFromCopy(doc, record);
    return true;
}

// Everything up to the extraction and the text copy, for a document that is not in use. The
// file is read at path; its text copy lies where its stored path leads.
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
    doc.indexable = true;
    if (platform::IsFileInUse(path)) {
        doc.locked = true;
        return doc;
    }
    const int64_t nowNs = std::chrono::duration_cast<std::chrono::nanoseconds>(
                              std::chrono::system_clock::now().time_since_epoch())
                              .count();
    const std::optional<platform::FileInfo> info = platform::StatPath(path);
    if (settings.previous != nullptr && info && doc.warning.empty()) {
        const ReindexRecord* record = settings.previous->Find(path);
        if (record != nullptr && record->size == info->size &&
            record->modifiedNs == info->modifiedNs &&
            (DeferTextCopy(settings, doc, *record) || ReuseWords(settings, doc, *record))) {
            return doc;
        }
    }
    TextCopySink sink(doc.copyFile, true);
    const XmlLoadResult result = ExtractXmlText(path, sink, cancel, &doc.problem);
    sink.Finish(result);
    TakeSink(sink, doc);
    // A document written moments before it was read may change again without its time
    // changing (file times advance in steps): it is parsed again next time.
    if (info && result == XmlLoadResult::Loaded && doc.problem.reason.empty() && doc.wordsReady &&
        nowNs - info->modifiedNs >= kSettledNs) {
        doc.recordable = true;
        doc.record.size = info->size;
        doc.record.modifiedNs = info->modifiedNs;
        doc.record.copy = platform::StampOf(doc.copyFile).value_or(platform::FileStamp{});
        doc.wordsForm = KeptWordsForm(doc.words);
    }
    return doc;
}

struct Job {
    std::u16string path;
    std::u16string storedPath;
    bool started = false;
    bool done = false;
    PreparedDocument result;
    std::exception_ptr error;
};

}  // namespace

// A document numbered while its filing was deferred.
struct DeferredDocument {
    int32_t number;
    std::u16string path;
    std::u16string storedPath;
    PreparedDocument doc;
};

struct DocumentIndexer::Impl {
    RunState& state;
    PrepareSettings settings;
    std::atomic<bool> deferring{false};
    std::vector<DeferredDocument> deferred;
    std::vector<std::thread> workers;
    mutable std::mutex mutex;
    std::condition_variable wake;      // workers wait for jobs
    std::condition_variable finished;  // the run thread waits for a job
    std::deque<std::shared_ptr<Job>> queue;
    std::unordered_map<std::u16string, std::shared_ptr<Job>> jobs;
    bool stopping = false;
    UnicodeFiling unicodeFiling;

    Impl(RunState& s, bool threaded) : state(s), unicodeFiling(s.wordIndex, threaded) {
        settings.textCopyFolder = s.folders.textCopy;
        settings.nameField = s.setup.nameField;
        settings.upperMask = platform::UpperCase(s.setup.scanMask);
        settings.previous = s.run.previousRecords;
        settings.previousWords = s.run.previousWords;
        settings.deferReuse = &deferring;
        deferring = s.run.deferReuse;
    }

    void Work() {
        for (;;) {
            std::shared_ptr<Job> job;
            {
                std::unique_lock lock(mutex);
                wake.wait(lock, [&] { return stopping || !queue.empty(); });
                if (stopping) return;
                job = std::move(queue.front());
                queue.pop_front();
                if (job->started) continue;
                job->started = true;
            }
            Run(*job);
        }
    }

    void Run(Job& job) {
        PreparedDocument result;
        std::exception_ptr error;
        try {
            result = Prepare(settings, job.path, job.storedPath, state.flags.cancel);
        } catch (...) {
            error = std::current_exception();
        }
        std::lock_guard lock(mutex);
        job.result = std::move(result);
        job.error = error;
        job.done = true;
        finished.notify_all();
    }

    PreparedDocument Take(const std::u16string& path, const std::u16string& storedPath) {
        std::shared_ptr<Job> job;
        {
            std::unique_lock lock(mutex);
            auto it = jobs.find(path);
            if (it != jobs.end()) {
                job = it->second;
                jobs.erase(it);
                if (job->started) {
                    finished.wait(lock, [&] { return job->done; });
                    if (job->error) std::rethrow_exception(job->error);
                    return std::move(job->result);
                }
                job->started = true;  // a worker that finds it in the queue skips it
            }
        }
        return Prepare(settings, path, storedPath, state.flags.cancel);
    }

    // The part of the document indexing that works with the scratch folder: a document in use
    // is copied there and the copy's text is written, when there is any.
    void PrepareLocked(const std::u16string& path, PreparedDocument& doc) {
        const std::u16string& zipTemp = state.folders.zipTemp;
        if (!platform::DirectoryExists(zipTemp)) return;
        std::u16string& lastCopied = state.lastCopiedFolder;
        if (!lastCopied.empty() && lastCopied.size() != doc.folderPart.size()) {
            platform::DeleteAllFilesIn(zipTemp);
        }
        const std::u16string copy = platform::CopyFileInto(path, zipTemp);
        lastCopied = doc.folderPart;
        TextCopySink sink(doc.copyFile, false);
        sink.Finish(copy.empty() ? XmlLoadResult::NotLoaded
                                 : ExtractXmlText(copy, sink, state.flags.cancel, &doc.problem));
        TakeSink(sink, doc);
    }

    // The words of a deferred document, now that they must be filed: those kept or those of
    // its copy when these are still as recorded, else those of the document parsed again.
    void TakeDeferredWords(PreparedDocument& doc, const std::u16string& path,
                           const std::u16string& storedPath) {
        doc.deferred = false;
        if (ReuseWords(settings, doc, doc.record)) return;
        PrepareSettings parse = settings;
        parse.previous = nullptr;
        const std::atomic<bool> never{false};  // the document is numbered: it is filed whole
        doc = Prepare(parse, path, storedPath, never);
        --state.count.reused;
    }

    // Files the words of the documents deferred so far, in their order, and defers no more.
    void FileDeferred() {
        deferring = false;
        const std::atomic<bool> never{false};  // they are numbered: each is filed whole
        for (DeferredDocument& d : deferred) {
            TakeDeferredWords(d.doc, d.path, d.storedPath);
            FileOrLog(d.doc, d.number, d.path, never);
        }
        deferred.clear();
    }

    // Files the words of a numbered document and records it, or logs that it has no text copy.
    // False when the cancel flag stopped the filing.
    bool FileOrLog(PreparedDocument& doc, int32_t number, const std::u16string& path,
                   const std::atomic<bool>& cancel) {
        // A copy not written now may still lie there from an earlier run; it is read back.
        if (doc.written || platform::FileExists(doc.copyFile)) {
            if (!FileWords(doc, number, cancel)) return false;
            if (doc.recordable && state.run.records != nullptr) {
                if (state.run.keptWords != nullptr && !doc.wordsForm.empty())
                    state.run.keptWords->Append(doc.wordsForm, doc.record);
                state.run.records->Add(path, doc.record);
            }
        } else {
            state.Log(u"Kann nicht indiziert werden: " + path);
            ++state.count.failures;
        }
        return true;
    }

    // Files the words of the text copy; false when the cancel flag stopped it.
    bool FileWords(PreparedDocument& doc, int32_t number, const std::atomic<bool>& cancel) {
        // A copy that this run did not write is read here.
        if (!doc.wordsReady) ReadBackCopy(doc);
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

    void Index(const WalkItem& item) {
        Host& host = state.host;
        const std::u16string& path = item.fullPath;
        const platform::FolderEntry& entry = item.entry;
        // A pass that took in no words left "0 Wörter …" in the progress line.
        if (state.pass.completed > 0 && state.count.postings == 0) host.SetProgressLine(u"");
        PreparedDocument doc = Take(path, item.storedPath);
        if (!doc.warning.empty()) {
            host.Tell(MessageKind::Warning,
                      u"Kann das Verzeichnis " + doc.warning + u" nicht anlegen!");
        }
        if (!doc.indexable) {
            host.SetCurrentFile(u"");
            return;
        }
        if (doc.locked) PrepareLocked(path, doc);
        if (state.flags.cancel) return;

        const int32_t number = ++state.count.documents;
        state.pass.documentCounter = number;
        if (doc.reused) ++state.count.reused;
        state.count.sizeTotal += static_cast<int64_t>(entry.size);
        if (auto it = state.found.lastPathEntry.find(item.storedFolder);
            it != state.found.lastPathEntry.end()) {
            state.pass.documentList.push_back(
                IntText(number) + u" P" + IntText(it->second) + u" \\" +
                std::u16string(platform::NameOf(item.storedPath)) + u" Size:" +
                IntText(static_cast<int64_t>(entry.size)) + u" Date:" + IntText(entry.dosTime));
        }
        if (!doc.problem.reason.empty()) {
            // The document keeps its number and empty copy; the log says why it has no text.
            ++state.count.unloadable;
            state.Log(u"Fehler im XML-Dokument " + path +
                      (doc.problem.line > 0 ? u", Zeile " + IntText(doc.problem.line) : u"") +
                      u": " + doc.problem.reason);
        }

        host.SetStatusLine(IndexedSoFarText(number, state.count.reused));
        host.SetTotalsLine(TotalsText(state.count.sizeTotal,
                                      ElapsedSince(state.count.startTickMs, SteadyTickMs())));
        Host::RunProgress progress;
        progress.documents = number;
        progress.reused = state.count.reused;
        progress.foundDocuments = state.found.count;
        progress.bytes = state.count.sizeTotal;
        progress.startTickMs = state.count.startTickMs;
        progress.path = path;
        host.DocumentIndexed(progress);
        host.Pause();
        if (state.flags.cancel) return;

        if (doc.deferred && deferring) {
            if (state.run.records != nullptr) state.run.records->Add(path, doc.record);
            deferred.push_back({number, path, item.storedPath, std::move(doc)});
            host.SetCurrentFile(u"");
            return;
        }
        // The documents before this one are filed first.
        if (deferring) FileDeferred();
        if (doc.deferred) TakeDeferredWords(doc, path, item.storedPath);
        if (!FileOrLog(doc, number, path, state.flags.cancel)) return;
        host.SetCurrentFile(u"");
    }
};

DocumentIndexer::DocumentIndexer(RunState& state, int threads)
    : impl_(std::make_unique<Impl>(state, threads > 0)) {
    for (int i = 0; i < threads; ++i) {
        impl_->workers.emplace_back([this] {
            platform::RunAsHelperThread();
            impl_->Work();
        });
    }
}

DocumentIndexer::~DocumentIndexer() {
    {
        std::lock_guard lock(impl_->mutex);
        impl_->stopping = true;
    }
    impl_->wake.notify_all();
    for (auto& worker : impl_->workers) worker.join();
}

void DocumentIndexer::Prefetch(const WalkItem& item) {
    if (impl_->workers.empty()) return;
    std::lock_guard lock(impl_->mutex);
    if (impl_->jobs.contains(item.fullPath)) return;
    auto job = std::make_shared<Job>();
    job->path = item.fullPath;
    job->storedPath = item.storedPath;
    impl_->jobs.emplace(item.fullPath, job);
    impl_->queue.push_back(std::move(job));
    impl_->wake.notify_one();
}

void DocumentIndexer::DropPrefetched() {
    std::unique_lock lock(impl_->mutex);
    for (auto& entry : impl_->jobs) {
        Job& job = *entry.second;
        if (!job.started)
            job.started = true;  // never runs now
        else
            impl_->finished.wait(lock, [&job] { return job.done; });
    }
    impl_->jobs.clear();
    impl_->queue.clear();
}

int DocumentIndexer::Threads() const {
    return static_cast<int>(impl_->workers.size());
}

void DocumentIndexer::Index(const WalkItem& item) {
    impl_->Index(item);
}

bool DocumentIndexer::AllDeferred() const {
    return impl_->deferring && !impl_->deferred.empty() &&
           impl_->deferred.size() == static_cast<std::size_t>(impl_->state.count.documents);
}

void DocumentIndexer::FinishFiling() {
    if (impl_->deferring) impl_->FileDeferred();
    impl_->unicodeFiling.Wait();
}

}  // namespace vx::indexing
