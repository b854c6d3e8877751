#include "indexing/detail/kept_words.h"

#include <algorithm>
#include <cstdint>
#include <random>

#include "platform/byte_reader.h"
#include "platform/hash64.h"

namespace vx::indexing {

namespace {

constexpr std::size_t kBufferSize = std::size_t{1} << 20;
constexpr char kMagic[8] = {'V', 'X', 'W', 'O', 'R', 'D', 'S', '2'};
constexpr std::size_t kTailSize = 48;

// The forms Append takes: the words as DocumentWords::AppendEncoded writes them, or a numbered
// form of the words file that the writer continues.
constexpr char kPlainForm = 'P';
constexpr char kNumberedForm = 'N';

uint64_t FormHash(std::string_view form, uint64_t fileNumber) {
    return platform::Hash64(form.data(), form.size(), fileNumber);
}

// The hash of the table: each MiB of it hashed with the hash of those before, so that it is
// taken as the table is written.
class TableHash {
  public:
    explicit TableHash(uint64_t fileNumber) : hash_(fileNumber) {}
    void Add(std::string_view bytes) {
        while (!bytes.empty()) {
            const std::size_t take = std::min(kPiece - piece_.size(), bytes.size());
            piece_.append(bytes.substr(0, take));
            bytes.remove_prefix(take);
            if (piece_.size() == kPiece) {
                hash_ = FormHash(piece_, hash_);
                piece_.clear();
            }
        }
    }
    uint64_t Value() const { return piece_.empty() ? hash_ : FormHash(piece_, hash_); }

  private:
    static constexpr std::size_t kPiece = std::size_t{1} << 20;
    uint64_t hash_;
    std::string piece_;
};

void PutU64(std::string& out, uint64_t value) {
    platform::PutFixed(out, value, 8);
}

uint64_t GetU64(const char* p) {
    return platform::ByteReader({p, 8}).Fixed(8);
}

}  // namespace

std::optional<KeptWordsFile> KeptWordsFile::Open(std::u16string_view fileName) {
    std::optional<platform::ReadOnlyFile> file = platform::ReadOnlyFile::Open(fileName);
    if (!file || file->Size() < kTailSize) return std::nullopt;
    char tail[kTailSize];
    if (!file->ReadExactly(file->Size() - kTailSize, tail, kTailSize) ||
        std::string_view(tail, 8) != std::string_view(kMagic, 8)) {
        return std::nullopt;
    }
    const uint64_t number = GetU64(tail + 8);
    const uint64_t tableOffset = GetU64(tail + 16);
    const uint64_t count = GetU64(tail + 24);
    const uint64_t used = GetU64(tail + 32);
    const uint64_t tableEnd = file->Size() - kTailSize;
    if (tableOffset > tableEnd || used > count || count > tableEnd - tableOffset) {
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(tableEnd - tableOffset), '\0');
    TableHash hash(number);
    if (!file->ReadExactly(tableOffset, bytes.data(), bytes.size())) return std::nullopt;
    hash.Add(bytes);
    if (hash.Value() != GetU64(tail + 40)) return std::nullopt;
    std::optional<KeptWordTable> table = KeptWordTable::Parse(bytes, count);
    if (!table) return std::nullopt;
    KeptWordsFile kept(std::move(*file), std::move(*table));
    kept.number_ = number;
    kept.formsEnd_ = tableOffset;
    // A table that has come to name many words no document names any more starts afresh.
    kept.continued_ = used * 2 >= count;
    return kept;
}

std::optional<std::string> KeptWordsFile::Form(const ReindexRecord& record) const {
    if (record.wordsSize == 0 || record.wordsOffset > formsEnd_ ||
        record.wordsSize > formsEnd_ - record.wordsOffset) {
        return std::nullopt;
    }
    std::string form(record.wordsSize, '\0');
    if (!file_.ReadExactly(record.wordsOffset, form.data(), form.size()) ||
        FormHash(form, number_) != record.wordsHash) {
        return std::nullopt;
    }
    return form;
}

std::string KeptWordsForm(const DocumentWords& words) {
    std::string form(1, kPlainForm);
    words.AppendEncoded(form);
    return form;
}

std::optional<DocumentWords> ReadKeptWords(const KeptWordsFile& file, const ReindexRecord& record,
                                           std::string& form) {
    const std::optional<std::string> numbered = file.Form(record);
    if (!numbered) return std::nullopt;
    std::optional<DocumentWords> words = DocumentWords::DecodeNumbered(*numbered, file.Table());
    if (!words) return std::nullopt;
    if (file.Continued()) {
        form.assign(1, kNumberedForm);
        form.append(*numbered);
    } else {
        form = KeptWordsForm(*words);
    }
    return words;
}

KeptWordsWriter::KeptWordsWriter(std::u16string_view fileName, const KeptWordsFile* previous)
    : file_(fileName, textio::FileOpenMode::CreateWrite),
      table_(previous != nullptr && previous->Continued() ? previous->Table().Continued()
                                                          : KeptWordTable()),
      continued_(previous != nullptr && previous->Continued()),
      number_(std::random_device()() * uint64_t{0x100000000} + std::random_device()()) {
    buffer_.reserve(kBufferSize);
}

void KeptWordsWriter::Append(std::string_view form, ReindexRecord& record) {
    record.wordsSize = 0;  // until it is kept: the document's copy is read next time
    if (form.empty()) return;
    const std::string_view body = form.substr(1);
    if (form[0] == kNumberedForm && continued_) {
        if (!DocumentWords::ForEachNumber(body, [&](uint64_t n) { table_.MarkUsed(n); })) return;
        form_.assign(body);
    } else {
        const std::optional<DocumentWords> words =
            form[0] == kPlainForm ? DocumentWords::Decode(body) : std::nullopt;
        if (!words) return;
        form_.clear();
        words->AppendNumbered(form_, table_);
    }
    if (form_.empty() || form_.size() > UINT32_MAX) return;
    record.wordsOffset = written_ + buffer_.size();
    record.wordsSize = static_cast<uint32_t>(form_.size());
    record.wordsHash = FormHash(form_, number_);
    buffer_.append(form_);
    if (buffer_.size() >= kBufferSize) Flush();
}

void KeptWordsWriter::Flush() {
    file_.Write(buffer_.data(), buffer_.size());
    written_ += buffer_.size();
    buffer_.clear();
}

void KeptWordsWriter::Close() {
    if (closed_) return;
    closed_ = true;
    Flush();
    TableHash hash(number_);
    table_.WriteTo([&](std::string_view piece) {
        hash.Add(piece);
        file_.Write(piece.data(), piece.size());
    });
    std::string tail(kMagic, sizeof kMagic);
    PutU64(tail, number_);
    PutU64(tail, written_);
    PutU64(tail, table_.Size());
    PutU64(tail, table_.UsedCount());
    PutU64(tail, hash.Value());
    table_ = KeptWordTable();
    file_.Write(tail.data(), tail.size());
    file_.Close();
}

}  // namespace vx::indexing
