#include "index/pass_text.h"

#include <memory>

#include "index/detail/upper.h"
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
    AppendUpper(text, line);
    text.append(u"\r\n");
}

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
    std::vector<std::unique_ptr<textio::TextWriter>> writers;
    writers.reserve(fileNames.size());
    for (const std::u16string& name : fileNames) {
        writers.push_back(std::make_unique<textio::TextWriter>(name));
    }
    constexpr std::size_t kFlushSize = 1 << 16;
    std::u16string buffer;
    buffer.reserve(kFlushSize + 1024);
    const auto flush = [&] {
        for (auto& writer : writers) writer->Write(buffer);
        buffer.clear();
    };
    const auto line = [&](std::u16string_view text) {
        AppendLine(buffer, text);
        if (buffer.size() >= kFlushSize) flush();
    };
    const auto indexLine = [&](std::u16string_view text) {
        if (onIndexLine) onIndexLine(text);
        line(text);
    };
    for (const std::u16string& text : lists.header) line(HeaderLineBody(text));
    for (const std::u16string& text : lists.documents) line(text);
    for (const std::u16string& text : lists.index) indexLine(text);
    index.ForEachEntry(indexLine);
    flush();
    for (auto& writer : writers) writer->Close();
}

}  // namespace vx::index
