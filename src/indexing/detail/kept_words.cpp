#include "indexing/detail/kept_words.h"

#include <cstdint>

#include "platform/hash64.h"

namespace vx::indexing {

namespace {

constexpr std::size_t kBufferSize = std::size_t{1} << 20;

uint64_t FormHash(std::string_view form) {
    return platform::Hash64(form.data(), form.size());
}

}  // namespace

std::string KeptWordsForm(const DocumentWords& words, ReindexRecord& record) {
    std::string form;
    words.AppendEncoded(form);
    record.wordsHash = FormHash(form);
    return form;
}

std::optional<DocumentWords> ReadKeptWords(const platform::ReadOnlyFile& file,
                                           const ReindexRecord& record, std::string& form) {
    if (record.wordsSize == 0) return std::nullopt;
    form.resize(record.wordsSize);
    if (!file.ReadExactly(record.wordsOffset, form.data(), form.size()) ||
        FormHash(form) != record.wordsHash) {
        return std::nullopt;
    }
    return DocumentWords::Decode(form);
}

KeptWordsWriter::KeptWordsWriter(std::u16string_view fileName)
    : file_(fileName, textio::FileOpenMode::CreateWrite) {
    buffer_.reserve(kBufferSize);
}

void KeptWordsWriter::Append(std::string_view form, ReindexRecord& record) {
    if (form.size() > UINT32_MAX) {
        record.wordsSize = 0;  // not kept: the document's copy is read next time
        return;
    }
    record.wordsOffset = written_ + buffer_.size();
    record.wordsSize = static_cast<uint32_t>(form.size());
    buffer_.append(form);
    if (buffer_.size() >= kBufferSize) Flush();
}

void KeptWordsWriter::Flush() {
    file_.Write(buffer_.data(), buffer_.size());
    written_ += buffer_.size();
    buffer_.clear();
}

void KeptWordsWriter::Close() {
    Flush();
    file_.Close();
}

}  // namespace vx::indexing
