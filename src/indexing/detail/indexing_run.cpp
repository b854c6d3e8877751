#include "indexing/detail/indexing_run.h"

#include <algorithm>

#include "index/database_commit.h"
#include "index/database_file.h"
#include "index/database_lines.h"
#include "index/lookup_file.h"
#include "index/pass_text.h"
#include "index/word_lists.h"
#include "indexing/detail/discovery.h"
#include "indexing/detail/document_indexer.h"
#include "indexing/detail/merge.h"
#include "indexing/detail/progress_lines.h"
#include "indexing/detail/run_folders.h"
#include "indexing/detail/run_texts.h"
#include "indexing/detail/search_lookup.h"
#include "indexing/size_text.h"
#include "platform/collation.h"
#include "platform/files.h"
#include "platform/memory.h"
#include "platform/paths.h"
#include "platform/read_only_file.h"
#include "platform/text.h"
#include "platform/utf8.h"
#include "textio/text_file.h"

namespace vx::indexing {

namespace {

using platform::IntText;

// The documents the run could not index fully, in one sentence ("" when there are none).
std::u16string ProblemSummary(const RunState& state) {
    std::vector<std::u16string> parts;
    if (state.count.unloadable > 0) {
        parts.push_back(IntText(state.count.unloadable) +
                        u" XML-Dateien mit Fehlern wurden ohne Text indiziert");
    }
    if (state.count.failures > 0) {
        parts.push_back(IntText(state.count.failures) +
                        u" XML-Dateien ohne Textkopie konnten nicht indiziert werden");
    }
    if (!state.found.unstorable.empty()) {
        parts.push_back(IntText(static_cast<int64_t>(state.found.unstorable.size())) +
                        u" Dateien oder Ordner wurden übergangen, weil sich ihr Name nicht "
                        u"speichern lässt");
    }
    std::u16string text;
    for (const std::u16string& part : parts) text += (text.empty() ? u"" : u"; ") + part;
    return text.empty() ? text : text + u".";
}

}  // namespace

std::vector<std::u16string> PathLinesForHeader(const std::vector<std::u16string>& pathList) {
    std::vector<std::u16string> lines;
    lines.reserve(pathList.size());
    for (std::size_t i = 0; i < pathList.size(); ++i) {
        const std::u16string& entry = pathList[i];
        if (i > 0 && index::PathLineFolder(entry) == index::PathLineFolder(pathList[i - 1])) {
            lines.emplace_back(index::SameFolderPathLine(entry));
        } else {
            lines.push_back(entry);
        }
    }
    return lines;
}

namespace {

// Gives a file of the previous run the name this run stages it under: a second name where the
// file system allows, a copy otherwise. False when neither can be made.
bool LinkOrCopy(const std::u16string& from, const std::u16string& to) {
    platform::DeleteFileAt(to);
    return platform::LinkFileAt(from, to) || platform::CopyFileTo(from, to);
}

// LinkOrCopy for a file the run cannot do without.
void TakeAs(const std::u16string& from, const std::u16string& to) {
    if (!LinkOrCopy(from, to)) {
        throw textio::FileError::About(to, u"kann nicht geschrieben werden", errno);
    }
}

// The stamp of a file just written (a zero stamp, matching no file, if it cannot be read).
platform::FileStamp StampOrNone(const std::u16string& file) {
    return platform::StampOf(file).value_or(platform::FileStamp{});
}

// True when the file begins with the bytes.
bool FileBeginsWith(const std::u16string& file, std::string_view bytes) {
    const std::optional<platform::ReadOnlyFile> in = platform::ReadOnlyFile::Open(file);
    std::string head(bytes.size(), '\0');
    return in && in->Size() >= bytes.size() && in->ReadExactly(0, head.data(), head.size()) &&
           head == bytes;
}

// One indexing run after the pre-scan: the files it writes, and its steps from the first pass
// to the files in place.
class IndexingRun {
  public:
    IndexingRun(RunState& state, std::u16string stagedCopies)
        : state_(state),
          host_(state.host),
          files_(state.Files()),
          commit_(files_.Staging(), files_.Database()),
          cacheFile_(files_.Cache()),
          previousRecords_(state.setup.reuseTextCopies ? ReindexCache::Load(cacheFile_)
                                                       : ReindexCache()),
          wordsFile_(files_.KeptWords()),
          previousWords_(state.setup.reuseTextCopies ? KeptWordsFile::Open(wordsFile_)
                                                     : std::nullopt),
          keptWords_(commit_.Stage(wordsFile_, false), previousWords_ ? &*previousWords_ : nullptr),
          runFiles_{.commit = commit_,
                    .previousRecords = state.setup.reuseTextCopies ? &previousRecords_ : nullptr,
                    .records = records_,
                    .previousWords = previousWords_ ? &*previousWords_ : nullptr,
                    .keptWords = keptWords_,
                    .stagedCopies = std::move(stagedCopies)} {
        runFiles_.deferReuse = MayKeepPreviousFiles() && DocumentsUnchanged();
    }

    void Run() {
        ShowStart();
        DocumentIndexer indexer(state_, runFiles_, state_.setup.parseThreads);
        indexer.SetEarlierPassWriter([this](int pass) { WriteDeferredPass(pass); });
        while (!RunPass(indexer)) {
            ++state_.pass.completed;
            ++state_.pass.number;
        }
        host_.SetPatienceIndicator(false);
        if (!keptPrevious_ && state_.pass.completed >= 1) Merge();
        const std::u16string elapsed = ElapsedSince(state_.count.startTickMs, SteadyTickMs());
        const std::u16string problems = ProblemSummary(state_);
        WriteLog(elapsed, problems);
        PutFilesInPlace();
        ShowEnd(elapsed, problems);
    }

  private:
    // Counters, log and display at the start of the first pass.
    void ShowStart() {
        state_.count.reused = 0;
        state_.count.failures = 0;
        state_.count.unloadable = 0;
        state_.pass.completed = 0;
        state_.count.postings = 0;
        host_.SetPatienceIndicator(true);
        host_.ShowRunControls(RunControls::Cancellable);
        state_.log.Clear();
        for (const std::u16string& path : state_.found.unstorable) {
            state_.Log(u"Kann nicht indiziert werden (der Name lässt sich nicht speichern): " +
                       path);
        }
        state_.count.startTickMs = SteadyTickMs();
        host_.StartElapsedDisplay(state_.count.startTickMs,
                                  [&state = state_] { return SizeText(state.count.sizeTotal); });
        state_.pass.number = 1;
    }

    // Walks the documents of one pass and writes its files; true when it was the last pass
    // (everything walked, or cancelled).
    bool RunPass(DocumentIndexer& indexer) {
        index::PassLists lists = StartPass();
        WalkPass(state_, indexer);
        CompletePassLists(lists);
        host_.SetStatusLine(kSavingPassText);
        host_.Pause();  // a cancel taken here still makes this the last pass
        const bool chunkFull = state_.flags.chunkFull;
        const bool lastPass = !chunkFull || state_.flags.cancel;
        if (indexer.AllDeferred() && MayKeepPreviousFiles()) {
            if (lastPass && KeepPreviousFiles(lists)) {
                ShowWordsTaken();
                return true;
            }
            if (!lastPass) {
                // Written only when a later document must be filed after all.
                deferredPasses_.push_back(std::move(lists));
                ShowPassSaved();
                return false;
            }
        }
        indexer.FinishFiling();
        // Every document is filed: the words file is complete, and its table goes before the
        // pass is written.
        if (lastPass) keptWords_.Close();
        WritePass(lists, lastPass, state_.pass.number);
        // After several passes the merge writes the word lists.
        if (lastPass && state_.pass.completed == 0) SaveWordLists();
        if (chunkFull) ShowPassSaved();
        return lastPass;
    }

    index::PassLists StartPass() {
        state_.pass.documentList.clear();
        state_.flags.chunkFull = false;
        state_.wordIndex.ListenLoeschen();
        if (state_.pass.number == 1) {
            state_.pass.documentCounter = 0;
            state_.found.indexedFiles.Clear();
        } else {
            state_.pass.documentCounter = static_cast<int32_t>(
                (state_.pass.number - 1) * int64_t{state_.setup.chunkSize} + 1);
        }
        index::PassLists lists;
        lists.header = {
            std::u16string(index::kScanMaskSectionLine),
            index::BuildScanMaskLine(platform::WithTrailingBackslash(state_.setup.rootFolder),
                                     state_.setup.scanMask),
            u" "};
        lists.index = {u" "};
        return lists;
    }

    // The path list (pass 1 only), the pass's documents and the tail of its index list.
    void CompletePassLists(index::PassLists& lists) {
        lists.header.insert(lists.header.end(),
                            {u" ", std::u16string(index::kPathListSectionLine), u" "});
        if (state_.pass.number == 1) {
            for (auto& line : PathLinesForHeader(state_.found.pathList))
                lists.header.push_back(std::move(line));
        }
        lists.documents = std::move(state_.pass.documentList);
        state_.pass.documentList.clear();
        lists.index.insert(lists.index.end(),
                           {u" ", index::BuildSizeLine(SizeText(state_.count.sizeTotal)), u" ",
                            std::u16string(index::kIndexSectionLine), u" "});
    }

    // An earlier pass whose documents were deferred, now filed.
    void WriteDeferredPass(int pass) {
        WritePass(deferredPasses_.at(static_cast<std::size_t>(pass - 1)), false, pass);
    }

    // The pass text goes straight from the word index to its files: the chunk, and the database
    // file when pass 1 is the last pass. The chunk of a run of several passes is the merge's.
    void WritePass(index::PassLists& lists, bool lastPass, int pass) {
        const std::u16string chunk = files_.Chunk(pass);
        if (pass > 1 || !lastPass) {
            index::WriteChunkFiles(lists, state_.wordIndex, chunk, [&](std::u16string_view line) {
                state_.count.postings += std::count(line.begin(), line.end(), u',');
            });
            chunks_.push_back(chunk);
            ClearPass(lists);
            return;
        }
        const std::u16string databaseFile = files_.Database();
        const std::u16string staged = commit_.Stage(databaseFile);
        // The lookup file is built while the database file is written.
        lookupFile_.StartFollowing(commit_, databaseFile);
        // The thread building the lookup file takes what is written in steps of this many lines.
        constexpr int64_t kLookupStepLines = 8192;
        int64_t lines = 0;
        index::WritePassFiles(lists, state_.wordIndex, {staged}, [&](std::u16string_view line) {
            state_.count.postings += std::count(line.begin(), line.end(), u',');
            wordLists_.AddIndexLine(line);
            if (++lines % kLookupStepLines == 0) lookupFile_.Written();
        });
        lookupFile_.DatabaseWritten();
        // The chunk of the pass is a second name of the database file.
        if (!platform::LinkFileAt(staged, chunk)) {
            index::WritePassFiles(lists, state_.wordIndex, {chunk});
        }
        ClearPass(lists);
        outputs_ = RunOutputs();
        outputs_->database = StampOrNone(staged);
    }

    void ClearPass(index::PassLists& lists) {
        state_.wordIndex.ListenLoeschen();
        lists = index::PassLists();
        platform::ReturnFreeMemory();
        ShowWordsTaken();
    }

    // The chunks of the passes into the database file and the word lists; the lookup file is
    // built while the database file is written.
    void Merge() {
        const std::u16string databaseFile = files_.Database();
        MergeTargets targets;
        targets.ansiList = commit_.Stage(files_.AnsiWordList());
        targets.unicodeList = commit_.Stage(files_.UnicodeWordList());
        targets.databaseFile = commit_.Stage(databaseFile);
        lookupFile_.StartFollowing(commit_, databaseFile);
        MergeChunks(host_, state_.log, state_.count.postings, state_.count.documents, chunks_,
                    targets, [this] { lookupFile_.Written(); });
        lookupFile_.DatabaseWritten();
        outputs_ = RunOutputs();
        outputs_->database = StampOrNone(targets.databaseFile);
        outputs_->ansiList = StampOrNone(targets.ansiList);
        outputs_->unicodeList = StampOrNone(targets.unicodeList);
    }

    void ShowWordsTaken() {
        host_.SetProgressLine(
            WordsTakenText(state_.count.postings, state_.count.documents - state_.count.failures));
        host_.Pause();
    }

    // Whether the previous run's files may become this run's result: a re-index of as many
    // documents as the previous run recorded, in passes of the same size, whose files are as that
    // run left them. The documents themselves are checked as the walk meets them.
    bool MayKeepPreviousFiles() const {
        const std::optional<RunOutputs>& previous = previousRecords_.Outputs();
        const RunState& state = state_;
        return state.setup.reuseTextCopies && previous && state.found.unstorable.empty() &&
               previous->chunkSize == state.setup.chunkSize &&
               previousRecords_.Size() == static_cast<std::size_t>(state.found.count) &&
               platform::StampOf(files_.Database()) == previous->database &&
               platform::StampOf(files_.AnsiWordList()) == previous->ansiList &&
               platform::StampOf(files_.UnicodeWordList()) == previous->unicodeList;
    }

    // Whether every document the pre-scan found is recorded with its present size and time. A
    // document found changed only by the walk (changed meanwhile, or its copy) ends the deferral
    // there, and the deferred documents are filed one after the other; this check keeps that to
    // the rare case, since their words are then worked out on this thread alone.
    bool DocumentsUnchanged() const {
        for (const std::u16string& path : previousRecords_.Paths()) {
            const ReindexRecord* record = previousRecords_.Find(path);
            const std::optional<platform::FileInfo> info = platform::StatPath(path);
            if (!state_.found.files.Contains(path) || !info ||
                DocumentStamp::Of(*info) != record->document) {
                return false;
            }
        }
        return true;
    }

    // The lines the database file of this run holds before its words: the pass text before the
    // entries after one pass, the merged header after several.
    std::string TextBeforeTheWords(const index::PassLists& lastLists) const {
        if (deferredPasses_.empty()) return platform::EncodeUtf8(index::BuildPassText(lastLists));
        std::vector<std::u16string> header;
        bool first = true;
        for (const index::PassLists* lists : AllPasses(lastLists)) {
            std::vector<std::u16string> lines;
            for (std::u16string& line : textio::SplitLines(index::BuildPassText(*lists))) {
                if (index::IsSizeLine(line)) break;
                lines.push_back(std::move(line));
            }
            TakeChunkHeader(std::move(lines), first, header);
            first = false;
        }
        std::u16string text;
        WriteMergedHeader(header,
                          [&text](std::u16string_view line) { text.append(line).append(u"\r\n"); });
        return platform::EncodeUtf8(text);
    }
    std::vector<const index::PassLists*> AllPasses(const index::PassLists& lastLists) const {
        std::vector<const index::PassLists*> passes;
        for (const index::PassLists& lists : deferredPasses_) passes.push_back(&lists);
        passes.push_back(&lastLists);
        return passes;
    }

    // Every document was unchanged: when the database file still begins with exactly the lines
    // this run writes before the words (the same documents under the same numbers, in the same
    // folders, with the same sizes and times, in passes of the same size), its words are those
    // this run would file, and the previous files are taken as this run's (a second name for each
    // where the file system has them: no file is ever changed in place). False when they cannot
    // be taken.
    bool KeepPreviousFiles(const index::PassLists& lists) {
        const std::u16string databaseFile = files_.Database();
        if (!FileBeginsWith(databaseFile, TextBeforeTheWords(lists))) return false;
        const std::u16string staged = commit_.Stage(databaseFile);
        TakeAs(databaseFile, staged);
        // The chunk of a single pass is a second name of the database file, as when it is
        // written.
        if (deferredPasses_.empty()) TakeAs(staged, files_.Chunk(1));
        RunOutputs outputs;
        outputs.database = StampOrNone(staged);
        for (const auto& [list, stamp] :
             {std::pair{files_.AnsiWordList(), &outputs.ansiList},
              std::pair{files_.UnicodeWordList(), &outputs.unicodeList}}) {
            const std::u16string stagedList = commit_.Stage(list);
            TakeAs(list, stagedList);
            *stamp = StampOrNone(stagedList);
        }
        // The records of the documents place their words in the previous words file, where there
        // is one; else this run's file holds the words it read from the text copies.
        keptWords_.Close();
        const std::u16string stagedWords = commit_.Stage(wordsFile_, false);
        if (platform::FileExists(wordsFile_)) LinkOrCopy(wordsFile_, stagedWords);
        const std::u16string lookup = files_.Lookup();
        if (!index::CopyLookupFile(databaseFile, lookup, staged, commit_.Stage(lookup))) {
            commit_.Unstage(lookup);
            lookupFile_.Start(commit_, databaseFile);
        }
        state_.count.postings = previousRecords_.Outputs()->postings;
        outputs_ = outputs;
        keptPrevious_ = true;
        return true;
    }

    // The word lists of pass 1 (a run of several passes takes them from the merge instead).
    void SaveWordLists() {
        host_.SetStatusLine(u"Daten werden gespeichert.");
        host_.Pause();
        const std::u16string ansi = commit_.Stage(files_.AnsiWordList());
        const std::u16string unicode = commit_.Stage(files_.UnicodeWordList());
        wordLists_.Write(ansi, unicode);
        if (outputs_) {
            outputs_->ansiList = StampOrNone(ansi);
            outputs_->unicodeList = StampOrNone(unicode);
        }
    }

    // A pass that reached the chunk size: the display between two passes.
    void ShowPassSaved() {
        host_.SetStatusLine(kSavingPassText);
        host_.Pause();
        host_.SetCurrentFile(u"");
        host_.SetCurrentFileVisible(false);
        ShowIndexedSoFar(state_, state_.count.documents);
        host_.Pause();
        if (state_.count.documents == 0) {
            host_.Tell(MessageKind::Information,
                       u"Im angegeben Laufwerk/Verzeichnis konnten keine entsprechenden "
                       u"Dokumente gefunden werden! Die neue Datenbank \"" +
                           state_.setup.nameField + u"\" ist leer und kann gelöscht werden!");
        }
    }

    void WriteLog(const std::u16string& elapsed, const std::u16string& problems) {
        state_.Log(u" ");
        state_.Log(IntText(state_.count.documents - state_.count.failures) +
                   u" XML-Dateien wurden indiziert.   Zeit: " + elapsed + u"  Gesamtgröße: " +
                   SizeText(state_.count.sizeTotal) + u".    " +
                   platform::GroupedIntText(state_.count.postings) +
                   u" Wörter in Datenbank aufgenommen.");
        if (!problems.empty()) state_.Log(problems);
        textio::WriteUtf16LeLines(state_.log.Lines(), commit_.Stage(files_.Log()));
    }

    // Only now do the files of the run replace those of the previous one.
    void PutFilesInPlace() {
        if (outputs_) {
            outputs_->postings = state_.count.postings;
            outputs_->chunkSize = state_.setup.chunkSize;
            records_.SetOutputs(*outputs_);
        }
        records_.Write(commit_.Stage(cacheFile_));
        keptWords_.Close();
        lookupFile_.Finish();
        commit_.Commit(state_.setup.previousCopy);
        // Copies of documents this database no longer has (deleted, renamed, not indexable now).
        const std::unordered_set<std::string>& copies = runFiles_.textCopies;
        platform::RemoveFilesExcept(files_.TextCopies(), [&copies](const std::string& copy) {
            return copies.contains(copy);
        });
        platform::RemoveFolderTree(files_.StagedTextCopies());
    }

    void ShowEnd(const std::u16string& elapsed, const std::u16string& problems) {
        host_.SetPatienceIndicator(false);  // the merge shows it again
        host_.SetStatusLine(state_.flags.aborted ? kFinishedAfterCancelText : kFinishedText);
        RunSwitch(state_.flags).EndIndexing();
        host_.StopElapsedDisplay();
        host_.RefreshDatabaseList();
        host_.SetCurrentFile(u"");
        host_.SetCurrentFileVisible(false);
        host_.SetTotalsLine(TotalsText(state_.count.sizeTotal, elapsed));
        // Copies of documents in use; one that stays does no harm (the next run removes it).
        platform::RemoveFolderTree(ScratchCopyFolder(state_.folders));
        host_.ShowRunControls(RunControls::Idle);
        if (!problems.empty()) {
            host_.Tell(MessageKind::Information,
                       problems + u"\r\nEinzelheiten stehen im Protokoll " + files_.Log() + u".");
        }
    }

    RunState& state_;
    Host& host_;
    const index::DatabaseFiles files_;
    index::DatabaseCommit commit_;
    LookupFileWriter lookupFile_;
    const std::u16string cacheFile_;
    const ReindexCache previousRecords_;
    ReindexCache records_;
    const std::u16string wordsFile_;
    const std::optional<KeptWordsFile> previousWords_;
    KeptWordsWriter keptWords_;
    RunFiles runFiles_;                  // what the document indexer fills
    std::optional<RunOutputs> outputs_;  // the files of the run
    // Passes whose documents were all deferred: their lists, pass 1 first, and their chunks
    // written only if a later document must be filed after all.
    std::vector<index::PassLists> deferredPasses_;
    bool keptPrevious_ = false;           // the previous run's files are this run's
    std::vector<std::u16string> chunks_;  // the chunks for the merge, in pass order
    index::WordLists wordLists_;
};

}  // namespace

void RunIndexing(RunState& state) {
    RemoveLeftovers(state.folders);
    IndexingRun(state, PrepareStaging(state.Files())).Run();
}

}  // namespace vx::indexing
