#include "indexing/detail/discovery.h"

#include <deque>
#include <unordered_set>

#include "index/database_lines.h"
#include "index/stored_names.h"
#include "indexing/detail/document_indexer.h"
#include "indexing/detail/progress_lines.h"
#include "indexing/detail/text_copy.h"
#include "indexing/size_text.h"
#include "platform/folder_listing.h"
#include "platform/text.h"

namespace vx::indexing {

namespace {

// The pass rules index documents in passes 1 to this one; a later pass indexes nothing and so
// ends the run.
constexpr int kLastPass = 1000;

// Walk items the lookahead holds at the most, prefetched or not (a folder of many files that are
// not indexed must not fill memory).
constexpr std::size_t kMaxWalkItemsAhead = 4096;

bool IsXmlName(std::u16string_view name) {
    const auto dot = name.rfind(u'.');
    return dot != std::u16string_view::npos && platform::UpperCase(name.substr(dot)) == u".XML";
}

// A folder path that ListFolder accepts also for a drive root ("Z:" -> "Z:\").
std::u16string ListingPath(const std::u16string& folder) {
    return folder.ends_with(u'\\') ? folder : folder + u'\\';
}

}  // namespace

std::u16string NormalizeRootFolder(std::u16string_view folder) {
    std::u16string result;
    for (char16_t c : folder) {
        if (c == u'\\' && result.ends_with(u'\\')) continue;
        result += c;
    }
    if (result.ends_with(u'\\')) result.pop_back();
    return result;
}

namespace {

// The stored names of a folder's entries (sorted by their upper-cased names, so names that
// upper-casing merges stand together): "" for a name that cannot be stored, the escaped form for
// every name after the first of such a group and for a folder whose name is that of a text copy
// in the same folder (copyNames, upper-cased).
std::vector<std::u16string> StoredNames(const std::vector<platform::FolderEntry>& entries,
                                        bool files,
                                        const std::unordered_set<std::u16string>& copyNames = {}) {
    std::vector<std::u16string> stored;
    stored.reserve(entries.size());
    std::u16string previousUpper;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::u16string& name = entries[i].name;
        std::u16string upper = platform::UpperCase(name);
        if (!entries[i].nameReadable || !index::HoldableName(name)) {
            stored.emplace_back();
        } else if ((i > 0 && upper == previousUpper) || index::NeedsEscapeByItself(name) ||
                   copyNames.contains(upper)) {
            stored.push_back(index::EscapeName(name, files));
        } else {
            stored.push_back(name);
        }
        previousUpper = std::move(upper);
    }
    return stored;
}

}  // namespace

WalkCursor::WalkCursor(std::u16string root, std::u16string mask, std::function<void()> onFolder,
                       std::function<void(const std::u16string&)> onBadFolder)
    : mask_(std::move(mask)), onFolder_(std::move(onFolder)), onBadFolder_(std::move(onBadFolder)) {
    uint64_t device = 0, inode = 0;
    platform::FolderIdentity(ListingPath(root), device, inode);
    std::u16string stored = root;
    Enter(std::move(root), std::move(stored), device, inode);
}

void WalkCursor::Enter(std::u16string folder, std::u16string storedFolder, uint64_t device,
                       uint64_t inode) {
    if (onFolder_) onFolder_();
    // One listing gives the files of the mask and the subfolders, each in the listing's order.
    files_.clear();
    Frame frame;
    for (auto& entry : platform::ListFolder(ListingPath(folder), u"*")) {
        if (entry.isDirectory) {
            if (!entry.name.starts_with(u'.')) frame.subfolders.push_back(std::move(entry));
        } else if (platform::MatchesMask(entry.name, mask_) ||
                   platform::MatchesShortNameMask(entry.name, mask_)) {
            files_.push_back(std::move(entry));
        }
    }
    storedFiles_ = StoredNames(files_, true);
    std::unordered_set<std::u16string> copyNames;
    for (std::size_t i = 0; i < files_.size(); ++i) {
        if (!storedFiles_[i].empty() && IsXmlName(files_[i].name)) {
            copyNames.insert(platform::UpperCase(CopyName(storedFiles_[i])));
        }
    }
    nextFile_ = 0;
    filesFolder_ = folder;
    storedFilesFolder_ = storedFolder;
    frame.storedNames = StoredNames(frame.subfolders, false, copyNames);
    frame.folder = std::move(folder);
    frame.storedFolder = std::move(storedFolder);
    frame.device = device;
    frame.inode = inode;
    stack_.push_back(std::move(frame));
}

bool WalkCursor::Next(WalkItem& item) {
    for (;;) {
        if (nextFile_ < files_.size()) {
            const std::u16string& stored = storedFiles_[nextFile_];
            item.entry = std::move(files_[nextFile_++]);
            item.folder = filesFolder_;
            item.fullPath = filesFolder_ + u"\\" + item.entry.name;
            item.storedFolder = storedFilesFolder_;
            item.storedPath =
                stored.empty() ? std::u16string() : storedFilesFolder_ + u"\\" + stored;
            return true;
        }
        if (stack_.empty()) return false;
        Frame& top = stack_.back();
        if (top.next >= top.subfolders.size()) {
            stack_.pop_back();
            continue;
        }
        const std::size_t index = top.next++;
        const platform::FolderEntry& sub = top.subfolders[index];
        bool onPath = false;
        for (const Frame& frame : stack_) {
            onPath = onPath || (frame.device == sub.device && frame.inode == sub.inode &&
                                (sub.device != 0 || sub.inode != 0));
        }
        if (onPath) continue;  // a link back into the walk path
        if (top.storedNames[index].empty()) {
            if (onBadFolder_) onBadFolder_(top.folder + u"\\" + sub.name);
            continue;
        }
        Enter(top.folder + u"\\" + sub.name, top.storedFolder + u"\\" + top.storedNames[index],
              sub.device, sub.inode);
    }
}

void PreScan(RunState& state, std::u16string_view folder, std::u16string_view mask) {
    WalkCursor cursor(
        NormalizeRootFolder(folder), std::u16string(mask), [&] { state.host.Pause(); },
        [&](const std::u16string& path) { state.found.unstorable.push_back(path); });
    WalkItem item;
    while (!state.flags.cancel && cursor.Next(item)) {
        state.found.bytes += static_cast<int64_t>(item.entry.size);
        if (!IsXmlName(item.entry.name)) continue;
        if (item.storedPath.empty()) {
            state.found.unstorable.push_back(item.fullPath);
            continue;
        }
        state.found.files.Add(item.storedPath);
        const auto n = static_cast<int32_t>(state.found.pathList.size() + 1);
        state.found.pathList.push_back(index::BuildPathLine(n, item.storedFolder));
        state.found.lastPathEntry[item.storedFolder] = n;
    }
}

namespace {

// Which documents of the walk ahead will be indexed in this pass, so that their extraction can
// start early. A wrong guess costs only time: the run thread indexes by the pass rules alone.
class Lookahead {
  public:
    Lookahead(RunState& state, DocumentIndexer& indexer) : state_(state), indexer_(indexer) {
        const int64_t n = state.setup.chunkSize;
        quota_ = state.pass.number == 1 ? n - state.pass.documentCounter
                                        : n * state.pass.number - state.count.documents;
        const auto threads = static_cast<std::size_t>(indexer.Threads());
        minDepth_ = threads * 2 + 2;
        maxDepth_ = threads * 16 + 2;
    }

    // Fills the window of walk items ahead of the run thread.
    void Fill(WalkCursor& cursor, std::deque<WalkItem>& ahead) {
        const bool parallel = indexer_.Threads() > 0;
        while (ahead.size() < kMaxWalkItemsAhead && (parallel ? !WindowFull() : ahead.empty())) {
            WalkItem item;
            if (!cursor.Next(item)) return;
            if (parallel && predicted_ < quota_ && state_.pass.number <= kLastPass &&
                IsXmlName(item.entry.name) && state_.found.files.Contains(item.storedPath) &&
                !state_.found.indexedFiles.Contains(item.storedPath) &&
                claimed_.Add(item.storedPath)) {
                ++predicted_;
                ++inWindow_;
                bytesInWindow_ += item.entry.size;
                item.prefetched = true;
                indexer_.Prefetch(item);
            }
            ahead.push_back(std::move(item));
        }
    }
    // The run thread took an item out of the window.
    void Taken(const WalkItem& item) {
        if (!item.prefetched) return;
        --inWindow_;
        bytesInWindow_ -= item.entry.size;
    }

  private:
    // With the processors shared by more threads, a worker often starts a queued document late:
    // the run thread waits for documents less the more of them are queued ahead. A byte budget
    // keeps large documents, whose prepared words wait in memory, to a few.
    static constexpr uint64_t kWindowBytes = 16 << 20;
    bool WindowFull() const {
        return inWindow_ >= maxDepth_ || (inWindow_ >= minDepth_ && bytesInWindow_ >= kWindowBytes);
    }

    RunState& state_;
    DocumentIndexer& indexer_;
    // Stored paths already prefetched in this pass: each text copy is written by one thread.
    PathSet claimed_;
    int64_t quota_ = 0;
    int64_t predicted_ = 0;
    std::size_t minDepth_ = 2;
    std::size_t maxDepth_ = 2;
    std::size_t inWindow_ = 0;
    uint64_t bytesInWindow_ = 0;
};

}  // namespace

void WalkPass(RunState& state, DocumentIndexer& indexer) {
    Host& host = state.host;
    RunFlags& flags = state.flags;
    const int64_t n = state.setup.chunkSize;
    WalkCursor cursor(NormalizeRootFolder(state.setup.rootFolder), state.setup.scanMask);
    Lookahead lookahead(state, indexer);
    std::deque<WalkItem> ahead;
    for (;;) {
        if (flags.cancel || flags.chunkFull) break;
        lookahead.Fill(cursor, ahead);
        if (ahead.empty()) break;
        WalkItem item = std::move(ahead.front());
        ahead.pop_front();
        lookahead.Taken(item);
        if (item.storedPath.empty() || !state.found.files.Contains(item.storedPath)) continue;

        host.SetCurrentFile(u"");
        std::u16string shortened = ShortenPath(item.folder, host.CurrentFileChars());
        if (!shortened.ends_with(u'\\')) shortened += u'\\';
        host.SetCurrentFile(u"Größe: " + SizeText(static_cast<int64_t>(item.entry.size)) +
                            u"     " + item.entry.name + u"     Ordner:  " + shortened);
        host.SetCurrentFileVisible(true);
        host.Pause();

        if (IsXmlName(item.entry.name)) {
            if (state.pass.number == 1) {
                if (state.pass.documentCounter < n) {
                    indexer.Index(item);
                    state.found.indexedFiles.Add(item.storedPath);
                }
                if (state.pass.documentCounter == n) flags.chunkFull = true;
            } else if (state.pass.number <= kLastPass) {
                if (state.pass.documentCounter > n) {
                    if (!state.found.indexedFiles.Contains(item.storedPath)) indexer.Index(item);
                    state.found.indexedFiles.Add(item.storedPath);
                }
                if (state.pass.documentCounter == state.pass.number * n) flags.chunkFull = true;
            }
        }

        ShowIndexedSoFar(state, state.count.documents);
        host.Pause();
        state.found.files.Remove(item.storedPath);
    }
    indexer.DropPrefetched();
}

}  // namespace vx::indexing
