#include "indexing/document_indexer.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <unordered_map>

#include "indexing/size_text.h"
#include "indexing/text_copy.h"
#include "indexing/word_filing.h"
#include "indexing/xml_text.h"
#include "platform/files.h"
#include "platform/text.h"
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
    bool written = false;
    bool linesValid = false;
    std::vector<std::u16string> lines;
    XmlProblem problem;  // why the document did not load (reason empty when it did)
};

std::u16string_view NamePart(std::u16string_view path) {
    const auto slash = path.rfind(u'\\');
    return slash == std::u16string_view::npos ? path : path.substr(slash + 1);
}

std::u16string UpperExtension(std::u16string_view path) {
    const auto name = NamePart(path);
    const auto dot = name.rfind(u'.');
    return dot == std::u16string_view::npos ? std::u16string()
                                            : platform::UpperCase(name.substr(dot));
}

// The settings the preparation reads; copied so that worker threads share nothing mutable.
struct PrepareSettings {
    std::u16string textCopyFolder;
    std::u16string nameField;
    std::u16string upperMask;
};

void TakeSink(TextCopySink& sink, PreparedDocument& doc) {
    doc.written = sink.Written();
    doc.linesValid = sink.LinesValid();
    if (doc.linesValid) doc.lines = std::move(sink.Lines());
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
    doc.copyFile = copyFolder + u"\\" + CopyName(NamePart(storedPath));
    const std::u16string extension = UpperExtension(path);
    if (extension != u".XML" || settings.upperMask.find(extension) == std::u16string::npos) {
        return doc;
    }
    doc.indexable = true;
    if (platform::IsFileInUse(path)) {
        doc.locked = true;
        return doc;
    }
    TextCopySink sink(doc.copyFile, true);
    sink.Finish(ExtractXmlText(path, sink, cancel, &doc.problem));
    TakeSink(sink, doc);
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

struct DocumentIndexer::Impl {
    RunState& state;
    PrepareSettings settings;
    std::vector<std::thread> workers;
    mutable std::mutex mutex;
    std::condition_variable wake;      // workers wait for jobs
    std::condition_variable finished;  // the run thread waits for a job
    std::deque<std::shared_ptr<Job>> queue;
    std::unordered_map<std::u16string, std::shared_ptr<Job>> jobs;
    bool stopping = false;

    explicit Impl(RunState& s) : state(s) {
        settings.textCopyFolder = s.folders.textCopy;
        settings.nameField = s.nameField;
        settings.upperMask = platform::UpperCase(s.scanMask);
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
        std::u16string& lastCopied = *state.lastCopiedFolder;
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

    // Files the words of the text copy; false when the cancel flag stopped it.
    bool FileWords(const PreparedDocument& doc, int32_t number) {
        const std::atomic<bool>& cancel = state.flags.cancel;
        index::WordIndex& wordIndex = *state.wordIndex;
        int64_t lastRefresh = SteadyTickMs();
        std::size_t count = 0;
        // A large document lets the host refresh its display now and then.
        auto refresh = [&] {
            if (++count % 512 != 0) return;
            const int64_t now = SteadyTickMs();
            if (now - lastRefresh >= 100) {
                state.host.Pause(0);
                lastRefresh = now;
            }
        };
        if (doc.written && doc.linesValid) {
            for (const std::u16string& line : doc.lines) {
                if (cancel) return false;
                if (!FileWordsOfLine(line, number, wordIndex, cancel)) return false;
                refresh();
            }
            return true;
        }
        textio::LineReader reader(doc.copyFile);
        std::u16string line;
        while (reader.Next(line)) {
            if (cancel) return false;
            if (!FileWordsOfLine(line, number, wordIndex, cancel)) return false;
            refresh();
        }
        return true;
    }

    void Index(const WalkItem& item) {
        Host& host = state.host;
        const std::u16string& path = item.fullPath;
        const platform::FolderEntry& entry = item.entry;
        if (host.ProgressLine().starts_with(u"0 Wörter")) host.SetProgressLine(u"");
        PreparedDocument doc = Take(path, item.storedPath);
        if (!doc.warning.empty()) {
            host.ShowMessage(MessageKind::Warning, u"Warnung",
                             u"Kann das Verzeichnis " + doc.warning + u" nicht anlegen!",
                             MessageButtons::Ok);
        }
        if (!doc.indexable) {
            host.SetCurrentFile(u"");
            return;
        }
        if (doc.locked) PrepareLocked(path, doc);
        if (state.flags.cancel) return;

        const int32_t number = ++state.documentCounter;
        state.passDocumentCounter = number;
        state.sizeTotal += static_cast<int64_t>(entry.size);
        if (auto it = state.lastPathEntry.find(item.storedFolder);
            it != state.lastPathEntry.end()) {
            state.documentList.push_back(IntText(number) + u" P" + IntText(it->second) + u" \\" +
                                         std::u16string(NamePart(item.storedPath)) + u" Size:" +
                                         IntText(static_cast<int64_t>(entry.size)) + u" Date:" +
                                         IntText(entry.dosTime));
        }
        if (!doc.problem.reason.empty()) {
            // The document keeps its number and empty copy; the log says why it has no text.
            ++state.unloadableCounter;
            state.Log(u"Fehler im XML-Dokument " + path +
                      (doc.problem.line > 0 ? u", Zeile " + IntText(doc.problem.line) : u"") +
                      u": " + doc.problem.reason);
        }

        host.SetStatusLine(IntText(number) + u" XML-Dateien wurden bisher indiziert. ");
        host.SetTotalsLine(
            TotalsText(state.sizeTotal, ElapsedSince(state.startTickMs, SteadyTickMs())));
        Host::RunProgress progress;
        progress.documents = number;
        progress.foundDocuments = state.foundCount;
        progress.bytes = state.sizeTotal;
        progress.startTickMs = state.startTickMs;
        progress.path = path;
        host.DocumentIndexed(progress);
        host.Pause(100);
        if (state.flags.cancel) return;

        // A copy not written now may still lie there from an earlier run; it is read back.
        if (doc.written || platform::FileExists(doc.copyFile)) {
            if (!FileWords(doc, number)) return;
        } else {
            state.Log(u"Kann nicht indiziert werden: " + path);
            ++state.failureCounter;
        }
        host.SetCurrentFile(u"");
    }
};

DocumentIndexer::DocumentIndexer(RunState& state, int threads)
    : impl_(std::make_unique<Impl>(state)) {
    for (int i = 0; i < threads; ++i) impl_->workers.emplace_back([this] { impl_->Work(); });
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

std::size_t DocumentIndexer::PrefetchedCount() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->jobs.size();
}

int DocumentIndexer::Threads() const {
    return static_cast<int>(impl_->workers.size());
}

void DocumentIndexer::Index(const WalkItem& item) {
    impl_->Index(item);
}

}  // namespace vx::indexing
