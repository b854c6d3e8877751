#include "index/pass_text.h"

#include <memory>

#include "index/chunk_file.h"
#include "index/database_lines.h"
#include "index/merge_order.h"
#include "platform/text.h"
#include "textio/text_file.h"

namespace vx::index {

namespace {

// A header line is trimmed and loses one trailing backslash (the scanned folder's).
std::u16string_view HeaderLineBody(std::u16string_view line) {
    std::u16string_view body = platform::TrimView(line);
    if (!body.empty() && body.back() == u'\\') body.remove_suffix(1);
    return body;
}

void AppendLine(std::u16string& text, std::u16string_view line) {
    platform::AppendUpperCaseFast(text, line);
    text.append(u"\r\n");
}

// The pass text going to its files in pieces.
class PassFileWriter {
  public:
    explicit PassFileWriter(const std::vector<std::u16string>& fileNames) {
        writers_.reserve(fileNames.size());
        for (const std::u16string& name : fileNames) {
            writers_.push_back(std::make_unique<textio::TextWriter>(name));
        }
        buffer_.reserve(kFlushSize + 1024);
    }
    // A line of the lists, upper-cased as it is written.
    void Line(std::u16string_view text) {
        AppendLine(buffer_, text);
        if (buffer_.size() >= kFlushSize) Flush();
    }
    // A line as the file holds it.
    void WrittenLine(std::u16string_view text) {
        buffer_.append(text);
        buffer_.append(u"\r\n");
        if (buffer_.size() >= kFlushSize) Flush();
    }
    // The header and document lines.
    void Head(const PassLists& lists) {
        for (const std::u16string& text : lists.header) Line(HeaderLineBody(text));
        for (const std::u16string& text : lists.documents) Line(text);
    }
    void Close() {
        Flush();
        for (auto& writer : writers_) writer->Close();
    }

  private:
    static constexpr std::size_t kFlushSize = 1 << 16;
    void Flush() {
        for (auto& writer : writers_) writer->Write(buffer_);
        buffer_.clear();
    }

    std::vector<std::unique_ptr<textio::TextWriter>> writers_;
    std::u16string buffer_;
};

}  // namespace

std::u16string BuildPassText(const PassLists& lists) {
    std::size_t total = 0;
    for (const auto* list : {&lists.header, &lists.documents, &lists.index}) {
        for (const std::u16string& line : *list) total += line.size() + 2;
    }
    std::u16string text;
    text.reserve(total);
    for (const std::u16string& line : lists.header) AppendLine(text, HeaderLineBody(line));
    for (const std::u16string& line : lists.documents) AppendLine(text, line);
    for (const std::u16string& line : lists.index) AppendLine(text, line);
    return text;
}

void WritePassFiles(const PassLists& lists, const WordIndex& index,
                    const std::vector<std::u16string>& fileNames,
                    const std::function<void(std::u16string_view)>& onIndexLine) {
    PassFileWriter out(fileNames);
    const auto indexLine = [&](std::u16string_view text) {
        if (onIndexLine) onIndexLine(text);
        out.Line(text);
    };
    out.Head(lists);
    for (const std::u16string& text : lists.index) indexLine(text);
    index.ForEachEntry(indexLine);
    out.Close();
}

void WriteChunkFiles(const PassLists& lists, const WordIndex& index,
                     const std::u16string& chunkFile,
                     const std::function<void(std::u16string_view)>& onIndexLine) {
    PassFileWriter out({chunkFile});
    out.Head(lists);
    // The index list up to the marker line as it is; what follows is sorted with the entries.
    std::vector<std::u16string> leading;
    bool marker = false;
    for (const std::u16string& text : lists.index) {
        std::u16string upper;
        platform::AppendUpperCaseFast(upper, text);
        if (marker) {
            AsReadBack(upper);
            leading.push_back(std::move(upper));
            continue;
        }
        if (onIndexLine) onIndexLine(upper);
        out.WrittenLine(upper);
        marker = IsIndexMarkerLine(upper);
    }
    SortedLines leadingLines(std::move(leading));
    const std::unique_ptr<OrderedLines> entries = index.EntriesInMergeOrder();
    ChunkKeysWriter keys(ChunkKeysFileName(chunkFile));
    MergeInOrder({&leadingLines, entries.get()}, [&](const OrderedLine& line) {
        if (onIndexLine) onIndexLine(line.text);
        out.WrittenLine(line.text);
        keys.Add(line);
    });
    keys.Close();
    out.Close();
}

}  // namespace vx::index
