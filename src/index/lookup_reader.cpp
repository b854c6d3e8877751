// Reading the search lookup file: every page is checked against its hash before its bytes are
// used, and every number is checked against the bounds it must keep, so that a damaged file
// raises LookupDamaged instead of misleading the search.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <memory>
#include <type_traits>

#include "index/detail/lookup_format.h"
#include "index/detail/lookup_samples.h"
#include "index/lookup_file.h"
#include "platform/byte_reader.h"
#include "platform/hash64.h"
#include "platform/masked_find.h"
#include "platform/utf8.h"

namespace vx::index {

namespace {

using namespace lookup;

static_assert(std::is_trivially_copyable_v<LookupHead>);
static_assert(sizeof(LookupHead) <= kPageSize);

[[noreturn]] void Damaged() {
    throw LookupDamaged();
}

bool Within(const Range& range, uint64_t begin, uint64_t end) {
    return range.offset >= begin && range.size <= end - begin &&
           range.offset - begin <= end - begin - range.size;
}

// Reads varints from a byte string, never past its end: where the bytes end too soon, the file
// is damaged.
class VarintReader {
  public:
    explicit VarintReader(std::string_view bytes) : in_(bytes) {}
    uint64_t Next() {
        const uint64_t value = in_.Varint();
        if (in_.Failed()) Damaged();
        return value;
    }
    std::string_view Take(uint64_t count) {
        const std::string_view taken = in_.Bytes(count);
        if (in_.Failed()) Damaged();
        return taken;
    }
    std::size_t Left() const { return in_.Remaining(); }

  private:
    platform::ByteReader in_;
};

bool StartsWith(std::string_view text, std::string_view start) {
    return text.substr(0, start.size()) == start;
}

bool EndsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// -1, 0 or 1 as the reversed bytes of a compare to those of b.
int CompareReversed(std::string_view a, std::string_view b) {
    auto x = a.rbegin();
    auto y = b.rbegin();
    for (; x != a.rend() && y != b.rend(); ++x, ++y) {
        const auto cx = static_cast<unsigned char>(*x);
        const auto cy = static_cast<unsigned char>(*y);
        if (cx != cy) return cx < cy ? -1 : 1;
    }
    if (x == a.rend() && y == b.rend()) return 0;
    return x == a.rend() ? -1 : 1;
}

}  // namespace

struct LookupFile::Impl {
    platform::ReadOnlyFile file;
    LookupHead head{};
    std::vector<uint64_t> pageHashes;
    std::unique_ptr<char[]> bulk;  // the pages of the last long read
    uint64_t bulkSize = 0;

    // The checked pages of small reads, in one buffer of kCachedPages, the least recently used
    // giving way. The pages near the top of a table's binary search are read by every lookup;
    // the others seldom twice, and memory touched for the first time is dear.
    static constexpr std::size_t kCachedPages = 64;
    std::unique_ptr<char[]> cache;
    std::array<uint64_t, kCachedPages> cachedPage{};  // 0: an empty slot (page 0 is the head)
    std::array<uint64_t, kCachedPages> lastUse{};
    uint64_t uses = 0;
    std::size_t lastSlot = 0;

    explicit Impl(platform::ReadOnlyFile f) : file(std::move(f)) {}

    uint64_t BodyEnd() const { return head.pageTable.offset; }

    // Checks the page (numbered from 1 for the first body page) held in bytes.
    void CheckPage(uint64_t page, const char* bytes, std::size_t size) const {
        if (page == 0 || page > pageHashes.size() ||
            platform::Hash64(bytes, size, page) != pageHashes[page - 1]) {
            Damaged();
        }
    }
    std::size_t PageBytes(uint64_t page) const {
        return static_cast<std::size_t>(std::min(kPageSize, BodyEnd() - page * kPageSize));
    }

    // The bytes [offset, offset + size) of the body, after checking every page they touch.
    void Read(uint64_t offset, uint64_t size, std::string& out) {
        out.clear();
        if (size == 0) return;
        if (offset < kPageSize || offset > BodyEnd() || size > BodyEnd() - offset) Damaged();
        const uint64_t firstPage = offset / kPageSize;
        const uint64_t lastPage = (offset + size - 1) / kPageSize;
        if (lastPage - firstPage >= 4) {
            // A long read: whole pages into one buffer, each checked there.
            const uint64_t begin = firstPage * kPageSize;
            const uint64_t end = std::min(BodyEnd(), (lastPage + 1) * kPageSize);
            if (bulkSize < end - begin) {
                bulk = std::make_unique_for_overwrite<char[]>(end - begin);
                bulkSize = end - begin;
            }
            if (!file.ReadExactly(begin, bulk.get(), end - begin)) Damaged();
            for (uint64_t page = firstPage; page <= lastPage; ++page) {
                CheckPage(page, bulk.get() + (page - firstPage) * kPageSize, PageBytes(page));
            }
            out.assign(bulk.get() + (offset - begin), size);
            return;
        }
        for (uint64_t page = firstPage; page <= lastPage; ++page) {
            const char* const bytes = CachedPage(page);
            const uint64_t pageStart = page * kPageSize;
            const uint64_t from = std::max(offset, pageStart) - pageStart;
            const uint64_t to = std::min(offset + size, pageStart + PageBytes(page)) - pageStart;
            out.append(bytes + from, to - from);
        }
    }

    const char* CachedPage(uint64_t page) {
        // Reads come in runs on one page (a block's numbers, then its keys).
        if (cachedPage[lastSlot] == page) {
            lastUse[lastSlot] = ++uses;
            return cache.get() + lastSlot * kPageSize;
        }
        std::size_t slot = 0;
        for (std::size_t i = 0; i < kCachedPages; ++i) {
            if (cachedPage[i] == page) {
                lastUse[i] = ++uses;
                lastSlot = i;
                return cache.get() + i * kPageSize;
            }
            if (lastUse[i] < lastUse[slot]) slot = i;
        }
        if (!cache) cache = std::make_unique_for_overwrite<char[]>(kCachedPages * kPageSize);
        char* const bytes = cache.get() + slot * kPageSize;
        cachedPage[slot] = 0;  // until the page is read and checked
        const std::size_t size = PageBytes(page);
        if (!file.ReadExactly(page * kPageSize, bytes, size)) Damaged();
        CheckPage(page, bytes, size);
        cachedPage[slot] = page;
        lastUse[slot] = ++uses;
        lastSlot = slot;
        return bytes;
    }

    uint64_t Offset(uint64_t value) const {
        if (value >= head.databaseSize) Damaged();
        return value;
    }
};

namespace {

// Decodes the front-coded keys of one block from [p, stop) into text, each key followed by "="
// (which no key holds), and calls found(k) for every k-th key that contains part. text and
// starts are scratch space.
template <typename Found>
void SearchBlock(const char* p, const char* const stop, uint64_t keys, std::string_view part,
                 std::vector<char>& text, std::vector<std::size_t>& starts, Found found) {
    const auto number = [&]() -> uint64_t {
        if (p != stop && static_cast<unsigned char>(*p) < 0x80) return static_cast<uint64_t>(*p++);
        VarintReader slow(std::string_view(p, static_cast<std::size_t>(stop - p)));
        const uint64_t value = slow.Next();
        p = stop - slow.Left();
        return value;
    };
    starts.resize(keys + 1);
    std::size_t size = 0, previous = 0, previousLength = 0;
    for (uint64_t k = 0; k < keys; ++k) {
        const uint64_t shared = number();
        const uint64_t rest = number();
        if (shared > previousLength || rest > static_cast<uint64_t>(stop - p) ||
            (k == 0 && shared != 0)) {
            Damaged();
        }
        if (size + shared + rest + 1 > text.size()) text.resize(2 * (size + shared + rest + 1));
        char* const out = text.data() + size;
        std::memcpy(out, text.data() + previous, shared);
        std::memcpy(out + shared, p, rest);
        out[shared + rest] = '=';
        p += rest;
        starts[k] = previous = size;
        previousLength = shared + rest;
        size += previousLength + 1;
    }
    starts[keys] = size;
    const std::string_view decoded(text.data(), size);
    const std::string zeros(part.size(), '\0');
    uint64_t key = 0;
    for (std::size_t at = platform::FindMasked(decoded, 0, part, zeros); at != std::string::npos;
         at = platform::FindMasked(decoded, starts[key + 1], part, zeros)) {
        while (starts[key + 1] <= at) ++key;
        found(key);
    }
}

// One key table of the lookup file.
class KeyTable {
  public:
    KeyTable(LookupFile::Impl& file, const KeyTableHead& head)
        : file_(file), head_(head), blockCount_((head.keyCount + kBlockKeys - 1) / kBlockKeys) {
        if (head.blocks.size != blockCount_ * kBlockEntryBytes) Damaged();
    }

    uint64_t KeyCount() const { return head_.keyCount; }

    // A block's keys (and payloads), decoded one after the other.
    class Cursor {
      public:
        Cursor(KeyTable& table, uint64_t block, bool payloads) : table_(table), block_(block) {
            Load(payloads);
        }
        // Moves to the next key of the block; false after the last one.
        bool Next() {
            if (left_ == 0) return false;
            --left_;
            const uint64_t shared = keys_.Next();
            const uint64_t rest = keys_.Next();
            if (shared > key_.size() || (first_ && shared != 0)) Damaged();
            const std::string_view tail = keys_.Take(rest);
            // Keys ascend strictly: after the shared part the new key's rest is the greater.
            if (!first_ && tail <= std::string_view(key_).substr(shared)) Damaged();
            key_.resize(shared);
            key_.append(tail);
            first_ = false;
            if (withPayloads_) ReadPayload();
            return true;
        }
        const std::string& Key() const { return key_; }
        const std::vector<uint64_t>& Offsets() const { return offsets_; }

      private:
        void Load(bool payloads) {
            withPayloads_ = payloads;
            const KeyTableHead& head = table_.head_;
            const auto bound = [&](uint64_t number, const Range& range) {
                if (number > range.size) Damaged();
                return number;
            };
            // This block's entry and, but for the last block, the next one's: where its keys and
            // payloads begin and end.
            const bool last = block_ + 1 == table_.blockCount_;
            table_.file_.Read(head.blocks.offset + block_ * kBlockEntryBytes,
                              (last ? 1 : 2) * kBlockEntryBytes, entryBytes_);
            const auto number = [&](uint64_t at, const Range& range) {
                uint64_t value;
                std::memcpy(&value, entryBytes_.data() + at, kNumberBytes);
                return bound(value, range);
            };
            const uint64_t keyBegin = number(kBlockKeysAt, head.keys);
            const uint64_t payloadBegin = number(kBlockPayloadsAt, head.payloads);
            const uint64_t keyEnd =
                last ? head.keys.size : number(kBlockEntryBytes + kBlockKeysAt, head.keys);
            const uint64_t payloadEnd =
                last ? head.payloads.size
                     : number(kBlockEntryBytes + kBlockPayloadsAt, head.payloads);
            if (keyEnd < keyBegin || payloadEnd < payloadBegin) Damaged();
            table_.file_.Read(head.keys.offset + keyBegin, keyEnd - keyBegin, keyBytes_);
            keys_ = VarintReader(keyBytes_);
            if (payloads) {
                table_.file_.Read(head.payloads.offset + payloadBegin, payloadEnd - payloadBegin,
                                  payloadBytes_);
                payloads_ = VarintReader(payloadBytes_);
            }
            left_ = std::min(kBlockKeys, head.keyCount - block_ * kBlockKeys);
        }
        void ReadPayload() {
            const uint64_t count = payloads_.Next();
            if (count > payloads_.Left() + 1) Damaged();
            offsets_.clear();
            for (uint64_t i = 0; i < count; ++i) {
                if (i == 0) {
                    previousFirst_ += static_cast<uint64_t>(UnZigZag(payloads_.Next()));
                    offsets_.push_back(table_.file_.Offset(previousFirst_));
                } else {
                    const uint64_t step = payloads_.Next();
                    if (step == 0) Damaged();  // offsets ascend strictly
                    offsets_.push_back(table_.file_.Offset(offsets_.back() + step));
                }
            }
        }

        KeyTable& table_;
        uint64_t block_;
        bool withPayloads_ = false;
        std::string entryBytes_, keyBytes_, payloadBytes_;
        VarintReader keys_{{}}, payloads_{{}};
        uint64_t left_ = 0;
        bool first_ = true;
        std::string key_;
        uint64_t previousFirst_ = 0;
        std::vector<uint64_t> offsets_;
    };

    // Rank of the first key not less than key.
    uint64_t LowerBound(std::string_view key) {
        // The first block whose first key is not less than key; the answer lies in the block
        // before it or is that block's first key.
        uint64_t low = 0, high = blockCount_;
        while (low < high) {
            const uint64_t middle = (low + high) / 2;
            Cursor cursor(*this, middle, false);
            if (!cursor.Next()) Damaged();
            if (cursor.Key() < key) {
                low = middle + 1;
            } else {
                high = middle;
            }
        }
        if (low == 0) return 0;
        Cursor cursor(*this, low - 1, false);
        uint64_t rank = (low - 1) * kBlockKeys;
        while (cursor.Next() && cursor.Key() < key) ++rank;
        return rank;
    }

    // The key of a rank.
    std::string KeyAt(uint64_t rank) {
        if (rank >= head_.keyCount) Damaged();
        const uint64_t block = rank / kBlockKeys;
        if (!cachedKeys_.empty() && cachedBlock_ == block) return cachedKeys_[rank % kBlockKeys];
        cachedKeys_.clear();
        cachedBlock_ = block;
        Cursor cursor(*this, block, false);
        while (cursor.Next()) cachedKeys_.push_back(cursor.Key());
        if (rank % kBlockKeys >= cachedKeys_.size()) Damaged();
        return cachedKeys_[rank % kBlockKeys];
    }

    // Calls visit(key, offsets) from rank on, in key order, while visit returns true.
    template <typename Visit>
    void From(uint64_t rank, Visit visit) {
        for (uint64_t block = rank / kBlockKeys; block < blockCount_; ++block) {
            Cursor cursor(*this, block, true);
            for (uint64_t r = block * kBlockKeys; cursor.Next(); ++r) {
                if (r >= rank && !visit(cursor.Key(), cursor.Offsets())) return;
            }
        }
    }

    // Calls visit(key, offsets) for the keys of the ranks (ascending) while visit returns true.
    template <typename Visit>
    void ForRanks(const std::vector<uint64_t>& ranks, Visit visit) {
        std::size_t next = 0;
        while (next < ranks.size()) {
            const uint64_t block = ranks[next] / kBlockKeys;
            Cursor cursor(*this, block, true);
            for (uint64_t r = block * kBlockKeys; cursor.Next() && next < ranks.size(); ++r) {
                if (ranks[next] == r) {
                    if (!visit(cursor.Key(), cursor.Offsets())) return;
                    ++next;
                }
            }
            if (next < ranks.size() && ranks[next] / kBlockKeys == block) Damaged();
        }
    }

    // Ranks of the keys that contain the bytes, ascending. The keys section is read in large
    // pieces. Every byte of a key of a block is stored in that block (its first key whole, the
    // others front-coded), so a block that lacks a byte of part is passed over; the others are
    // decoded and searched as one text.
    std::vector<uint64_t> Containing(std::string_view part) {
        std::vector<uint64_t> ranks;
        if (part.empty() || head_.keyCount == 0) return ranks;
        std::string distinct;
        for (const char c : part) {
            if (distinct.find(c) == std::string::npos) distinct.push_back(c);
        }
        constexpr uint64_t kBlocksPerRead = 256;
        std::string index, bytes;
        // Room for the decoded keys of a block to begin with; it grows for longer ones.
        constexpr std::size_t kFirstTextSize = 4096;
        std::vector<char> text(kFirstTextSize);
        std::vector<std::size_t> keyStarts;
        for (uint64_t block = 0; block < blockCount_; block += kBlocksPerRead) {
            const uint64_t blocks = std::min(kBlocksPerRead, blockCount_ - block);
            file_.Read(head_.blocks.offset + block * kBlockEntryBytes, blocks * kBlockEntryBytes,
                       index);
            std::vector<uint64_t> starts(blocks + 1, head_.keys.size);
            for (uint64_t i = 0; i < blocks; ++i) {
                std::memcpy(&starts[i], index.data() + i * kBlockEntryBytes + kBlockKeysAt,
                            kNumberBytes);
            }
            if (block + blocks < blockCount_) {
                file_.Read(head_.blocks.offset + (block + blocks) * kBlockEntryBytes + kBlockKeysAt,
                           kNumberBytes, index);
                std::memcpy(&starts[blocks], index.data(), kNumberBytes);
            }
            for (uint64_t i = 0; i < blocks; ++i) {
                if (starts[i] > starts[i + 1] || starts[i + 1] > head_.keys.size) Damaged();
            }
            file_.Read(head_.keys.offset + starts[0], starts[blocks] - starts[0], bytes);
            for (uint64_t i = 0; i < blocks; ++i) {
                const char* p = bytes.data() + (starts[i] - starts[0]);
                const char* const stop = bytes.data() + (starts[i + 1] - starts[0]);
                const auto holds = [&](char c) {
                    return std::memchr(p, c, static_cast<std::size_t>(stop - p)) != nullptr;
                };
                if (!std::all_of(distinct.begin(), distinct.end(), holds)) continue;
                const uint64_t firstRank = (block + i) * kBlockKeys;
                const uint64_t keys = std::min(kBlockKeys, head_.keyCount - firstRank);
                SearchBlock(p, stop, keys, part, text, keyStarts,
                            [&](uint64_t k) { ranks.push_back(firstRank + k); });
            }
        }
        return ranks;
    }

  private:
    LookupFile::Impl& file_;
    const KeyTableHead& head_;
    uint64_t blockCount_;
    uint64_t cachedBlock_ = 0;
    std::vector<std::string> cachedKeys_;
};

}  // namespace

LookupFile::LookupFile(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
LookupFile::~LookupFile() = default;

std::unique_ptr<LookupFile> LookupFile::Open(std::u16string_view lookupFile,
                                             const platform::ReadOnlyFile& database) {
    std::optional<platform::ReadOnlyFile> file = platform::ReadOnlyFile::Open(lookupFile);
    if (!file || file->Size() < kPageSize) return nullptr;
    auto impl = std::make_unique<Impl>(std::move(*file));
    LookupHead& head = impl->head;
    if (!impl->file.ReadExactly(0, &head, sizeof head)) return nullptr;
    if (std::memcmp(head.magic, kMagic, sizeof kMagic) != 0 || head.version != kVersion ||
        head.pageSize != kPageSize || head.fileSize != impl->file.Size() ||
        head.headHash != platform::Hash64(&head, offsetof(LookupHead, headHash), 0)) {
        return nullptr;
    }
    if (head.databaseSize != database.Size() || head.databaseModifiedNs != database.ModifiedNs() ||
        head.databaseSamples != DatabaseSamples(database)) {
        return nullptr;
    }
    // The page table follows the body and ends the file; every section lies in the body.
    const uint64_t bodyEnd = head.pageTable.offset;
    if (bodyEnd < kPageSize || bodyEnd > head.fileSize ||
        head.pageTable.size != (bodyEnd - kPageSize + kPageSize - 1) / kPageSize * kNumberBytes ||
        head.pageTable.size != head.fileSize - bodyEnd) {
        return nullptr;
    }
    for (const Range* range :
         {&head.words.keys, &head.words.payloads, &head.words.blocks, &head.reversed, &head.odd,
          &head.documents.keys, &head.documents.payloads, &head.documents.blocks, &head.paths.keys,
          &head.paths.payloads, &head.paths.blocks}) {
        if (!Within(*range, kPageSize, bodyEnd)) return nullptr;
    }
    if (head.reversedBits == 0 || head.reversedBits > 32 ||
        head.reversed.size < (head.words.keyCount * head.reversedBits + 7) / 8 + kNumberBytes ||
        (head.markerOffset != kNoMarker && head.markerOffset >= head.databaseSize)) {
        return nullptr;
    }
    impl->pageHashes.resize(head.pageTable.size / kNumberBytes);
    if (!impl->file.ReadExactly(bodyEnd, impl->pageHashes.data(), head.pageTable.size) ||
        platform::Hash64(impl->pageHashes.data(), head.pageTable.size, 0) != head.pageTableHash) {
        return nullptr;
    }
    return std::unique_ptr<LookupFile>(new LookupFile(std::move(impl)));
}

std::optional<uint64_t> LookupFile::MarkerOffset() const {
    if (impl_->head.markerOffset == kNoMarker) return std::nullopt;
    return impl_->head.markerOffset;
}

bool LookupFile::FindLines(Match match, std::string_view key, Lines& out, std::size_t maxLines) {
    KeyTable table(*impl_, impl_->head.words);
    bool tooMany = false;
    const auto add = [&](const std::string& found, const std::vector<uint64_t>& offsets) {
        if (out.lines.size() + offsets.size() > maxLines) {
            tooMany = true;
            return false;
        }
        const auto index = static_cast<uint32_t>(out.keys.size());
        out.keys.push_back(found);
        for (const uint64_t offset : offsets) out.lines.push_back({offset, index});
        return true;
    };
    switch (match) {
        case Match::Equal:
        case Match::Prefix:
            table.From(table.LowerBound(key), [&](const std::string& k, const auto& offsets) {
                const bool matches = match == Match::Equal ? k == key : StartsWith(k, key);
                return matches && add(k, offsets) && match == Match::Prefix;
            });
            break;
        case Match::Contains: {
            const std::vector<uint64_t> ranks = table.Containing(key);
            if (ranks.size() > maxLines) return false;
            table.ForRanks(ranks, add);
            break;
        }
        case Match::Suffix: {
            const uint64_t bits = impl_->head.reversedBits;
            std::string word;
            const auto rankAt = [&](uint64_t i) {
                const uint64_t at = i * bits;
                impl_->Read(impl_->head.reversed.offset + at / 8, kNumberBytes, word);
                uint64_t value;
                std::memcpy(&value, word.data(), kNumberBytes);
                return (value >> (at % 8)) & ((uint64_t{1} << bits) - 1);
            };
            // The keys ending with key form one run in the order of the reversed keys: its first
            // position, then the first position after it.
            const auto firstWhere = [&](auto beyond) {
                uint64_t low = 0, high = table.KeyCount();
                while (low < high) {
                    const uint64_t middle = (low + high) / 2;
                    if (beyond(table.KeyAt(rankAt(middle)))) {
                        high = middle;
                    } else {
                        low = middle + 1;
                    }
                }
                return low;
            };
            const uint64_t begin =
                firstWhere([&](const std::string& k) { return CompareReversed(k, key) >= 0; });
            const uint64_t end = firstWhere([&](const std::string& k) {
                return CompareReversed(k, key) > 0 && !EndsWith(k, key);
            });
            if (end < begin) Damaged();
            if (end - begin > maxLines) return false;
            std::vector<uint64_t> ranks;
            for (uint64_t i = begin; i < end; ++i) ranks.push_back(rankAt(i));
            std::sort(ranks.begin(), ranks.end());
            if (std::adjacent_find(ranks.begin(), ranks.end()) != ranks.end()) Damaged();
            table.ForRanks(ranks, add);
            break;
        }
    }
    return !tooMany;
}

std::vector<uint64_t> LookupFile::OddLines() {
    std::string bytes;
    impl_->Read(impl_->head.odd.offset, impl_->head.odd.size, bytes);
    VarintReader reader(bytes);
    std::vector<uint64_t> offsets;
    uint64_t offset = 0;
    for (uint64_t i = 0; i < impl_->head.oddCount; ++i) {
        const uint64_t step = reader.Next();
        if (i > 0 && step == 0) Damaged();
        offset = impl_->Offset(offset + step);
        offsets.push_back(offset);
    }
    return offsets;
}

std::optional<uint64_t> LookupFile::DocumentLine(std::u16string_view key) {
    KeyTable table(*impl_, impl_->head.documents);
    const std::string wanted = platform::EncodeUtf8(key, platform::LoneSurrogates::Keep);
    std::optional<uint64_t> line;
    table.From(table.LowerBound(wanted), [&](const std::string& k, const auto& offsets) {
        if (k == wanted) {
            if (offsets.size() != 1) Damaged();
            line = offsets[0];
        }
        return false;
    });
    return line;
}

LookupFile::PathEntry LookupFile::PathLine(std::u16string_view key) {
    KeyTable table(*impl_, impl_->head.paths);
    const std::string wanted = platform::EncodeUtf8(key, platform::LoneSurrogates::Keep);
    PathEntry entry;
    table.From(table.LowerBound(wanted), [&](const std::string& k, const auto& offsets) {
        if (k == wanted) {
            if (offsets.size() > 1) Damaged();
            entry.found = true;
            if (!offsets.empty()) entry.folderLine = offsets[0];
        }
        return false;
    });
    return entry;
}

}  // namespace vx::index
