#include "indexing/detail/merge.h"

#include <algorithm>
#include <cerrno>
#include <memory>

#include "index/chunk_file.h"
#include "index/database_lines.h"
#include "index/merge_order.h"
#include "index/word_lists.h"
#include "indexing/size_text.h"
#include "platform/files.h"
#include "platform/system_error_text.h"
#include "platform/text.h"
#include "textio/text_file.h"

namespace vx::indexing {

namespace {

using platform::TrimView;

// Chunks read at once; more are first merged in groups of this many.
constexpr std::size_t kOpenChunks = 64;
constexpr std::size_t kFlushSize = std::size_t{1} << 16;
// Merged lines between two reports of what is written (and two looks at the host).
constexpr uint64_t kLinesPerPause = 8192;

// A chunk that cannot be deleted costs nothing now (it is open); the log says so, and the next
// run stops before it could merge it a second time.
void DeleteChunk(RunLog& log, const std::u16string& file) {
    platform::DeleteFileAt(index::ChunkKeysFileName(file));  // one that stays does no harm
    if (platform::DeleteFileAt(file)) return;
    const int error = errno;
    if (platform::FileExists(file)) {
        log.Add(platform::FileErrorText(file, u"kann nicht gelöscht werden", error));
    }
}

// Text going to a file in pieces.
class BufferedText {
  public:
    explicit BufferedText(std::u16string_view fileName) : writer_(fileName) {
        buffer_.reserve(kFlushSize + 1024);
    }
    void Line(std::u16string_view line) {
        buffer_.append(line);
        buffer_.append(u"\r\n");
        if (buffer_.size() >= kFlushSize) {
            writer_.Write(buffer_);
            buffer_.clear();
        }
    }
    void Close() {
        writer_.Write(buffer_);
        buffer_.clear();
        writer_.Close();
    }

  private:
    textio::TextWriter writer_;
    std::u16string buffer_;
};

std::vector<index::OrderedLines*> SourcesOf(
    const std::vector<std::unique_ptr<index::ChunkReader>>& readers) {
    std::vector<index::OrderedLines*> sources;
    sources.reserve(readers.size());
    for (const auto& reader : readers) sources.push_back(reader.get());
    return sources;
}

// The chunks opened in their order, their header lines taken, the chunks deleted. A chunk that
// is missing reads as empty. More chunks than are read at once are merged group by group into
// chunks of their own first.
class OpenedChunks {
  public:
    OpenedChunks(Host& host, RunLog& log, const std::vector<std::u16string>& chunks) {
        for (std::size_t first = 0; first < chunks.size(); first += kOpenChunks) {
            const std::size_t end = std::min(chunks.size(), first + kOpenChunks);
            std::vector<std::unique_ptr<index::ChunkReader>> group;
            for (std::size_t i = first; i < end; ++i) {
                if (!platform::FileExists(chunks[i])) continue;
                group.push_back(std::make_unique<index::ChunkReader>(chunks[i]));
                TakeChunkHeader(group.back()->ReadHeader(), i == 0, header_);
                host.Pause();
                if (i > 0) DeleteChunk(log, chunks[i]);
            }
            if (chunks.size() <= kOpenChunks) {
                readers_ = std::move(group);
            } else {
                readers_.push_back(MergeGroup(group, chunks[first] + u".merged"));
            }
        }
        if (!chunks.empty()) DeleteChunk(log, chunks.front());
        host.Pause();
    }
    ~OpenedChunks() {
        for (const std::u16string& file : merged_) {
            platform::DeleteFileAt(file);
            platform::DeleteFileAt(index::ChunkKeysFileName(file));
        }
    }
    OpenedChunks(const OpenedChunks&) = delete;
    OpenedChunks& operator=(const OpenedChunks&) = delete;

    std::vector<std::u16string>& Header() { return header_; }
    std::vector<index::OrderedLines*> Sources() const { return SourcesOf(readers_); }

  private:
    // The entries of a group of chunks as a chunk of an empty header part, opened.
    std::unique_ptr<index::ChunkReader> MergeGroup(
        const std::vector<std::unique_ptr<index::ChunkReader>>& group, const std::u16string& file) {
        merged_.push_back(file);
        {
            BufferedText text(file);
            text.Line(index::BuildSizeLine(u"0"));
            text.Line(index::kIndexSectionLine);
            index::ChunkKeysWriter keys(index::ChunkKeysFileName(file));
            index::MergeInOrder(SourcesOf(group), [&](const index::OrderedLine& line) {
                text.Line(line.text);
                keys.Add(line);
            });
            keys.Close();
            text.Close();
        }
        auto reader = std::make_unique<index::ChunkReader>(file);
        reader->ReadHeader();
        return reader;
    }

    std::vector<std::u16string> header_;
    std::vector<std::unique_ptr<index::ChunkReader>> readers_;
    std::vector<std::u16string> merged_;
};

}  // namespace

void TakeChunkHeader(std::vector<std::u16string> lines, bool firstChunk,
                     std::vector<std::u16string>& header) {
    for (std::u16string& line : lines) {
        // The scan-mask and path-list section lines come from the pass-1 chunk only.
        if (firstChunk || !index::IsScanHeaderLine(line)) header.push_back(std::move(line));
    }
}

void WriteMergedHeader(const std::vector<std::u16string>& header,
                       const std::function<void(std::u16string_view)>& line) {
    // The scan mask and path list first, then the document lines of every chunk.
    for (const bool first : {true, false}) {
        for (const std::u16string& text : header) {
            if (TrimView(text).empty()) continue;
            if ((index::StartsLikePathLine(text) || index::IsScanHeaderLine(text)) == first) {
                line(text);
            }
        }
    }
    line(index::kIndexSectionLine);
}

void EntryJoiner::Add(std::u16string_view line) {
    if (!holding_) {
        current_.assign(line);
        holding_ = true;
    } else {
        const auto eq = line.find(u'=');
        const bool joins = eq != std::u16string_view::npos && !word_.empty() &&
                           line.substr(0, eq + 1).starts_with(word_);
        if (joins) current_.append(TrimView(line.substr(eq + 1)));
        sink_(current_);
        // A joined-away line is left empty and keeps the remembered word.
        current_.assign(joins ? std::u16string_view() : line);
    }
    if (const auto eq = current_.find(u'='); eq != std::u16string::npos) {
        word_.assign(current_, 0, eq + 1);
    }
}

void EntryJoiner::Finish() {
    if (holding_) sink_(current_);
    holding_ = false;
}

std::vector<std::u16string> MergeSortedEntries(const std::vector<std::u16string>& sorted) {
    std::vector<std::u16string> merged;
    merged.reserve(sorted.size());
    EntryJoiner joiner([&](const std::u16string& line) { merged.push_back(line); });
    for (const std::u16string& line : sorted) joiner.Add(TrimView(line));
    joiner.Finish();
    return merged;
}

void MergeChunks(Host& host, RunLog& log, int64_t postings, int32_t documents,
                 const std::vector<std::u16string>& chunks, const MergeTargets& targets,
                 const std::function<void()>& written) {
    host.Pause();
    host.SetPatienceIndicator(true);
    host.SetStatusLine(u"Daten werden in Datenbank eingefügt ");
    host.Pause();
    host.SetProgressLine(WordsTakenText(postings, documents));
    host.Pause();

    OpenedChunks opened(host, log, chunks);
    BufferedText database(targets.databaseFile);
    WriteMergedHeader(opened.Header(),
                      [&database](std::u16string_view line) { database.Line(line); });
    std::vector<std::u16string>().swap(opened.Header());

    index::WordLists words;
    uint64_t lines = 0;
    EntryJoiner joiner([&](const std::u16string& entry) {
        words.AddEntryLine(entry);
        if (!TrimView(entry).empty()) database.Line(entry);
        if (++lines % kLinesPerPause == 0) {
            if (written) written();
            host.Pause();
        }
    });
    index::MergeInOrder(opened.Sources(),
                        [&](const index::OrderedLine& line) { joiner.Add(TrimView(line.text)); });
    joiner.Finish();
    database.Close();
    if (written) written();
    words.Write(targets.ansiList, targets.unicodeList);
}

}  // namespace vx::indexing
