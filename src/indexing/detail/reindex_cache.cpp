#include "indexing/detail/reindex_cache.h"

#include <cstring>
#include <exception>

#include "platform/byte_reader.h"
#include "platform/hash64.h"
#include "textio/file_byte_stream.h"
#include "textio/text_file.h"

namespace vx::indexing {

namespace {

constexpr char kMagic[4] = {'V', 'X', 'R', 'C'};
// Raised whenever what a run writes changes: the files a cache names must be what this version
// would write.
constexpr uint32_t kVersion = 5;
constexpr std::size_t kHeaderSize = 16;  // magic, version, record count
constexpr std::size_t kRecordFixedSize =
    4 + 4 + 40 + 8 + 1 + 16 + 8 + 4 + 8;  // without the path text

using platform::MixBits64;

uint64_t Step(uint64_t state, uint64_t word) {
    state ^= MixBits64(word + 0x9E3779B97F4A7C15ull);
    return (state << 27 | state >> 37) * 5 + 0x52DCE729;
}

void PutU32(std::string& out, uint32_t v) {
    platform::PutFixed(out, v, 4);
}
void PutU64(std::string& out, uint64_t v) {
    platform::PutFixed(out, v, 8);
}

platform::FileStamp GetStamp(platform::ByteReader& in) {
    platform::FileStamp stamp;
    stamp.size = in.Fixed(8);
    stamp.modifiedNs = static_cast<int64_t>(in.Fixed(8));
    return stamp;
}

void PutStamp(std::string& out, const platform::FileStamp& stamp) {
    PutU64(out, stamp.size);
    PutU64(out, static_cast<uint64_t>(stamp.modifiedNs));
}

}  // namespace

void LineHash::Add(std::u16string_view line) {
    // A multiply-rotate chain over the units, 8 bytes a step (the text copies are large).
    constexpr uint64_t kFactor = 0x9E3779B97F4A7C15ull;
    uint64_t h = (state_ ^ line.size()) * kFactor;
    const auto* bytes = reinterpret_cast<const uint8_t*>(line.data());
    const std::size_t size = line.size() * sizeof(char16_t);
    std::size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        uint64_t word;
        std::memcpy(&word, bytes + i, 8);
        h = (h ^ word) * kFactor;
        h = h << 29 | h >> 35;
    }
    uint64_t tail = 0;
    for (std::size_t k = i; k < size; ++k) tail |= static_cast<uint64_t>(bytes[k]) << (8 * (k - i));
    state_ = MixBits64(h ^ tail);
    ++lines_;
}

uint64_t LineHash::Value() const {
    return MixBits64(Step(state_, lines_));
}

const ReindexRecord* ReindexCache::Find(std::u16string_view path) const {
    const auto it = byPath_.find(std::u16string(path));
    return it == byPath_.end() ? nullptr : &records_[it->second];
}

void ReindexCache::Add(std::u16string_view path, const ReindexRecord& record) {
    const auto [it, added] = byPath_.try_emplace(std::u16string(path), paths_.size());
    if (!added) {
        records_[it->second] = record;
        return;
    }
    paths_.emplace_back(path);
    records_.push_back(record);
}

ReindexCache ReindexCache::Load(std::u16string_view fileName) {
    ReindexCache cache;
    std::string bytes;
    try {
        textio::ReadWholeFile(fileName, bytes);
    } catch (const std::exception&) {
        return cache;  // no cache: every document is parsed
    }
    if (bytes.size() < kHeaderSize + 8 || std::memcmp(bytes.data(), kMagic, 4) != 0) return cache;
    // The last 8 bytes hold the hash of all before them: a file cut short or changed is dropped.
    const std::size_t end = bytes.size() - 8;
    platform::ByteReader tail(bytes);
    tail.Skip(end);
    if (tail.Fixed(8) != platform::Hash64(bytes.data(), end)) return cache;
    platform::ByteReader in(std::string_view(bytes).substr(0, end));
    in.Fixed(4);
    if (in.Fixed(4) != kVersion) return cache;
    const uint64_t count = in.Fixed(8);
    if (count > in.Remaining() / kRecordFixedSize) return cache;
    std::u16string path;
    for (uint64_t i = 0; i < count; ++i) {
        const uint64_t shared = in.Fixed(4);
        const uint64_t added = in.Fixed(4);
        if (in.Failed() || shared > path.size() || added > in.Remaining() / 2) return {};
        path.resize(shared);
        for (uint64_t k = 0; k < added; ++k) path.push_back(static_cast<char16_t>(in.Fixed(2)));
        ReindexRecord record;
        record.document.size = in.Fixed(8);
        record.document.modifiedNs = static_cast<int64_t>(in.Fixed(8));
        record.document.changedNs = static_cast<int64_t>(in.Fixed(8));
        record.document.device = in.Fixed(8);
        record.document.inode = in.Fixed(8);
        record.linesHash = in.Fixed(8);
        record.readBack = in.Fixed(1) != 0;
        record.copy = GetStamp(in);
        record.wordsOffset = in.Fixed(8);
        record.wordsSize = static_cast<uint32_t>(in.Fixed(4));
        record.wordsHash = in.Fixed(8);
        if (in.Failed()) return {};
        cache.Add(path, record);
    }
    if (in.Fixed(1) != 0) {
        RunOutputs outputs;
        outputs.database = GetStamp(in);
        outputs.ansiList = GetStamp(in);
        outputs.unicodeList = GetStamp(in);
        outputs.postings = static_cast<int64_t>(in.Fixed(8));
        outputs.chunkSize = static_cast<int64_t>(in.Fixed(8));
        cache.outputs_ = outputs;
    }
    if (in.Failed() || in.Remaining() != 0) return {};
    return cache;
}

void ReindexCache::Write(std::u16string_view fileName) const {
    std::string out(kMagic, 4);
    PutU32(out, kVersion);
    PutU64(out, paths_.size());
    std::u16string_view previous;
    for (std::size_t i = 0; i < paths_.size(); ++i) {
        // Paths in walk order share their folders with the path before them.
        const std::u16string& path = paths_[i];
        std::size_t shared = 0;
        while (shared < previous.size() && shared < path.size() &&
               previous[shared] == path[shared]) {
            ++shared;
        }
        PutU32(out, static_cast<uint32_t>(shared));
        PutU32(out, static_cast<uint32_t>(path.size() - shared));
        for (std::size_t k = shared; k < path.size(); ++k) {
            out.push_back(static_cast<char>(path[k] & 0xFF));
            out.push_back(static_cast<char>(path[k] >> 8));
        }
        const ReindexRecord& record = records_[i];
        PutU64(out, record.document.size);
        PutU64(out, static_cast<uint64_t>(record.document.modifiedNs));
        PutU64(out, static_cast<uint64_t>(record.document.changedNs));
        PutU64(out, record.document.device);
        PutU64(out, record.document.inode);
        PutU64(out, record.linesHash);
        out.push_back(record.readBack ? 1 : 0);
        PutStamp(out, record.copy);
        PutU64(out, record.wordsOffset);
        PutU32(out, record.wordsSize);
        PutU64(out, record.wordsHash);
        previous = path;
    }
    out.push_back(outputs_ ? 1 : 0);
    if (outputs_) {
        PutStamp(out, outputs_->database);
        PutStamp(out, outputs_->ansiList);
        PutStamp(out, outputs_->unicodeList);
        PutU64(out, static_cast<uint64_t>(outputs_->postings));
        PutU64(out, static_cast<uint64_t>(outputs_->chunkSize));
    }
    PutU64(out, platform::Hash64(out.data(), out.size()));
    textio::FileByteStream file(fileName, textio::FileOpenMode::CreateWrite);
    file.Write(out.data(), out.size());
    file.Close();
}

}  // namespace vx::indexing
