#include "indexing/detail/copy_words.h"

#include "indexing/detail/reindex_cache.h"
#include "platform/utf8.h"
#include "textio/file_byte_stream.h"
#include "textio/text_file.h"

namespace vx::indexing {

namespace {

// Works out the words of a document's lines; one per thread, kept between documents.
DocumentWordsBuilder& ThreadWordsBuilder() {
    thread_local DocumentWordsBuilder builder;
    return builder;
}

template <typename Lines>
CopyWords WordsOf(const Lines& lines) {
    DocumentWordsBuilder& builder = ThreadWordsBuilder();
    LineHash hash;
    for (const std::u16string_view line : lines) {
        hash.Add(line);
        builder.AddLine(line);
    }
    CopyWords result;
    result.words = builder.Finish();
    result.linesHash = hash.Value();
    return result;
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

}  // namespace

CopyWords WordsOfLines(const std::vector<std::u16string>& lines) {
    return WordsOf(lines);
}

CopyWords WordsOfWrittenCopy(const std::u16string& copyFile) {
    // The buffers are kept per thread from one document to the next.
    thread_local std::string bytes;
    thread_local std::u16string text;
    textio::ReadWholeFile(copyFile, bytes);
    text.clear();
    platform::AppendDecodedUtf8(bytes, text);
    return WordsOf(LineViews(text));
}

CopyWords WordsReadBack(const std::u16string& copyFile) {
    DocumentWordsBuilder& builder = ThreadWordsBuilder();
    LineHash hash;
    try {
        textio::LineReader reader(copyFile);
        std::u16string line;
        while (reader.Next(line)) {
            hash.Add(line);
            builder.AddLine(line);
        }
    } catch (...) {
        builder.Finish();  // the next document starts afresh
        throw;
    }
    CopyWords result;
    result.words = builder.Finish();
    result.linesHash = hash.Value();
    result.readBack = true;
    return result;
}

std::optional<CopyWords> WordsOfSink(TextCopySink& sink, const std::u16string& copyFile) {
    if (!sink.Written()) return std::nullopt;
    if (!sink.LinesValid()) return WordsReadBack(copyFile);
    CopyWords words = WordsOfLines(sink.Lines());
    std::vector<std::u16string>().swap(sink.Lines());
    return words;
}

}  // namespace vx::indexing
