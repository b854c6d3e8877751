#include "indexing/indexing_run.h"

#include <algorithm>

#include "index/database_commit.h"
#include "index/database_file.h"
#include "index/pass_text.h"
#include "index/word_lists.h"
#include "indexing/discovery.h"
#include "indexing/document_indexer.h"
#include "indexing/merge.h"
#include "indexing/search_lookup.h"
#include "indexing/size_text.h"
#include "platform/collation.h"
#include "platform/files.h"
#include "platform/memory.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "textio/text_file.h"

namespace vx::indexing {

namespace {

using platform::IntText;

std::u16string_view FolderOfEntry(std::u16string_view entry) {
    const auto eq = entry.find(u'=');
    return eq == std::u16string_view::npos ? entry : entry.substr(eq + 1);
}

// The documents the run could not index fully, in one sentence ("" when there are none).
std::u16string ProblemSummary(const RunState& state) {
    std::vector<std::u16string> parts;
    if (state.unloadableCounter > 0) {
        parts.push_back(IntText(state.unloadableCounter) +
                        u" XML-Dateien mit Fehlern wurden ohne Text indiziert");
    }
    if (state.failureCounter > 0) {
        parts.push_back(IntText(state.failureCounter) +
                        u" XML-Dateien ohne Textkopie konnten nicht indiziert werden");
    }
    if (!state.unstorable.empty()) {
        parts.push_back(IntText(static_cast<int64_t>(state.unstorable.size())) +
                        u" Dateien oder Ordner wurden übergangen, weil sich ihr Name nicht "
                        u"speichern lässt");
    }
    std::u16string text;
    for (const std::u16string& part : parts) text += (text.empty() ? u"" : u"; ") + part;
    return text.empty() ? text : text + u".";
}

}  // namespace

std::u16string ChunkName(std::u16string_view databaseName, int pass) {
    if (pass == 1) return std::u16string(databaseName);
    const std::u16string upper = platform::UpperCase(databaseName);
    const auto dat = upper.find(u".DAT");
    return std::u16string(databaseName.substr(0, dat)) + u"_" + IntText(pass) + u".dat";
}

std::vector<std::u16string> PathLinesForHeader(const std::vector<std::u16string>& pathList) {
    std::vector<std::u16string> lines;
    lines.reserve(pathList.size());
    for (std::size_t i = 0; i < pathList.size(); ++i) {
        const std::u16string& entry = pathList[i];
        if (i > 0 && FolderOfEntry(entry) == FolderOfEntry(pathList[i - 1])) {
            lines.push_back(entry.substr(0, entry.find(u'=') + 1));
        } else {
            lines.push_back(entry);
        }
    }
    return lines;
}

void RunIndexing(RunState& state) {
    Host& host = state.host;
    RunFlags& flags = state.flags;
    const auto& folders = state.folders;
    const int64_t n = state.chunkSize;

    // Copies of documents in use; one that stays does no harm (the next copy takes a new name).
    platform::DeleteAllFilesIn(folders.zipTemp);
    // The chunks of a run that was killed would be merged into this one's database.
    if (std::u16string failure = platform::DeleteAllFilesIn(folders.chunk); !failure.empty()) {
        throw textio::FileError(platform::ToUtf8(failure));
    }
    index::DatabaseCommit commit(folders.chunk);
    state.commit = &commit;
    LookupFileWriter lookupFile;
    const std::u16string cacheFile = ReindexCacheFileName(folders.database, state.nameField);
    const ReindexCache previousRecords =
        state.reuseTextCopies ? ReindexCache::Load(cacheFile) : ReindexCache();
    ReindexCache records;
    state.previousRecords = state.reuseTextCopies ? &previousRecords : nullptr;
    state.records = &records;
    state.reusedCounter = 0;
    index::WordLists wordLists;
    state.failureCounter = 0;
    state.unloadableCounter = 0;
    state.completedPasses = 0;
    state.postings = 0;
    host.SetPatienceIndicator(true);
    host.SetCloseButton(u"&Abbruch", true);
    host.SetCommandsEnabled(false);
    state.runLog.clear();
    for (const std::u16string& path : state.unstorable) {
        state.Log(u"Kann nicht indiziert werden (der Name lässt sich nicht speichern): " + path);
    }
    state.startTickMs = SteadyTickMs();
    host.StartElapsedDisplay(state.startTickMs, [&state] { return SizeText(state.sizeTotal); });
    state.pass = 1;

    DocumentIndexer indexer(state, state.parseThreads);
    index::PassLists lists;
    std::u16string postingsText = u"0";
    for (;;) {
        lists = index::PassLists();
        state.documentList.clear();
        flags.chunkFull = false;
        state.wordIndex->ListenLoeschen();
        if (state.pass == 1) {
            state.passDocumentCounter = 0;
            state.indexedFiles.Clear();
        } else {
            state.passDocumentCounter = static_cast<int32_t>((state.pass - 1) * n + 1);
        }
        lists.header = {u"[Scanmaske]",
                        u"TextDateienPfad=" + platform::WithTrailingBackslash(state.rootFolder) +
                            state.scanMask,
                        u" "};
        lists.index = {u" "};

        WalkPass(state, indexer);

        lists.header.insert(lists.header.end(), {u" ", u"[Pfadliste]", u" "});
        if (state.pass == 1) {
            for (auto& line : PathLinesForHeader(state.pathList))
                lists.header.push_back(std::move(line));
        }
        lists.documents = std::move(state.documentList);
        state.documentList.clear();
        lists.index.insert(
            lists.index.end(),
            {u" ", u"Gesamtgröße der indizierten Dateien in Byte: " + SizeText(state.sizeTotal),
             u" ", u"[DATENBANK]", u" "});
        host.SetStatusLine(u"Daten werden zwischengespeichert.");
        host.Pause(100);

        // The pass text goes straight from the word index to its files (the chunk, and the
        // database file when pass 1 is the last pass or the run was cancelled).
        const bool cancelled = flags.cancel;
        const bool chunkFull = flags.chunkFull;
        const bool lastPass = !chunkFull || cancelled;
        // The chunk of a pass that also gives the database file is a second name of that file.
        const std::u16string chunk =
            folders.chunk + u"\\" + ChunkName(state.databaseName, state.pass);
        const std::u16string databaseFile = folders.database + u"\\" + state.databaseName;
        const std::u16string first =
            state.pass == 1 && lastPass ? commit.Stage(databaseFile) : chunk;
        index::WritePassFiles(lists, *state.wordIndex, {first}, [&](std::u16string_view line) {
            state.postings += std::count(line.begin(), line.end(), u',');
            if (state.pass == 1) wordLists.AddIndexLine(line);
        });
        if (first != chunk && !platform::LinkFileAt(first, chunk)) {
            index::WritePassFiles(lists, *state.wordIndex, {chunk});
        }
        state.wordIndex->ListenLoeschen();
        lists = index::PassLists();
        platform::ReturnFreeMemory();
        if (state.pass == 1 && lastPass) lookupFile.Start(commit, databaseFile);
        postingsText = platform::GroupedIntText(state.postings);
        host.SetProgressLine(postingsText + u" Wörter in Datenbank aufgenommen (aus " +
                             IntText(state.documentCounter - state.failureCounter) + u" Dateien).");
        host.Pause(100);

        if (lastPass) {
            host.SetStatusLine(u"Daten werden gespeichert.");
            host.Pause(500);
            const std::u16string base = folders.database + u"\\" + state.nameField;
            wordLists.Write(commit.Stage(base + u"_ansi.txt"),
                            commit.Stage(base + u"_unicode.txt"));
        }
        if (chunkFull) {
            host.SetStatusLine(u"Daten werden zwischengespeichert.");
            host.Pause(500);
            host.Pause(500);
            host.SetCurrentFile(u"");
            host.SetCurrentFileVisible(false);
            host.SetStatusLine(IndexedSoFarText(state.documentCounter, state.reusedCounter));
            host.Pause(100);
            host.SetTotalsLine(
                TotalsText(state.sizeTotal, ElapsedSince(state.startTickMs, SteadyTickMs())));
            if (state.documentCounter == 0) {
                host.ShowMessage(MessageKind::Information, u"Information",
                                 u"Im angegeben Laufwerk/Verzeichnis konnten keine entsprechenden "
                                 u"Dokumente gefunden werden! Die neue Datenbank \"" +
                                     state.nameField + u"\" ist leer und kann gelöscht werden!",
                                 MessageButtons::Ok);
            }
        }
        if (lastPass) break;
        ++state.completedPasses;
        ++state.pass;
    }

    host.SetPatienceIndicator(false);
    const bool merged = state.completedPasses >= 1;
    if (merged) MergeChunks(state);
    const std::u16string elapsed = ElapsedSince(state.startTickMs, SteadyTickMs());
    state.Log(u" ");
    state.Log(IntText(state.documentCounter - state.failureCounter) +
              u" XML-Dateien wurden indiziert.   Zeit: " + elapsed + u"  Gesamtgröße: " +
              SizeText(state.sizeTotal) + u".    " + postingsText +
              u" Wörter in Datenbank aufgenommen.");
    const std::u16string problems = ProblemSummary(state);
    if (!problems.empty()) state.Log(problems);
    textio::WriteUtf16LeLines(state.runLog,
                              commit.Stage(folders.database + u"\\" + state.nameField + u".log"));
    records.Write(commit.Stage(cacheFile));
    // Only now do the files of the run replace those of the previous one.
    lookupFile.Finish();
    commit.Commit(state.previousCopy);
    state.commit = nullptr;
    state.previousRecords = nullptr;
    state.records = nullptr;

    if (merged) {
        FinishMerge(state);
    } else {
        host.SetStatusLine(flags.aborted ? u"Fertig mit der abgebrochenen Indizierung."
                                         : u"Fertig mit der Indizierung.");
    }
    host.StopElapsedDisplay();
    host.RefreshDatabaseList();
    host.SetCurrentFile(u"");
    host.SetCurrentFileVisible(false);
    flags.running = false;
    host.SetTotalsLine(TotalsText(state.sizeTotal, elapsed));
    platform::DeleteAllFilesIn(folders.zipTemp);  // as at the start: a copy that stays does no harm
    if (host.StatusLine().find(u"Fertig mit der") != std::u16string::npos) {
        host.SetCommandsEnabled(true);
        host.SetCloseButton(u"Schli&eßen", true);
    }
    if (!problems.empty()) {
        host.ShowMessage(MessageKind::Information, u"Information",
                         problems + u"\r\nEinzelheiten stehen im Protokoll " + folders.database +
                             u"\\" + state.nameField + u".log.",
                         MessageButtons::Ok);
    }
}

}  // namespace vx::indexing
