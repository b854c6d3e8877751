#include "indexing/detail/kept_word_table.h"

#include <cstring>

#include "indexing/detail/word_rules.h"
#include "platform/varint.h"

namespace vx::indexing {

namespace {

constexpr uint8_t kAnsiBit = 0x80;
constexpr uint8_t kLengthBits = 0x7F;

uint32_t GetU32(const char* p) {
    uint32_t value = 0;
    std::memcpy(&value, p, sizeof value);
    return value;
}

}  // namespace

bool KeptWordTable::Holds(uint32_t entry, const Word& word) const {
    const char* p = Entry(entry);
    const auto length = static_cast<uint8_t>(p[8]);
    return ((length & kAnsiBit) != 0) == word.ansi && (length & kLengthBits) == word.bytes.size() &&
           std::memcmp(p + kHead, word.bytes.data(), word.bytes.size()) == 0;
}

uint32_t KeptWordTable::Find(const Word& word, uint32_t hash) const {
    if (slots_.empty()) return kEmpty;
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot& slot = slots_[i];
        if (slot.entry == kEmpty) return kEmpty;
        if (slot.hash == hash && Holds(slot.entry, word)) return GetU32(Entry(slot.entry));
    }
}

uint32_t KeptWordTable::Add(const Word& word, uint32_t hash) {
    constexpr std::size_t kPageSize = std::size_t{1} << kPageBits;
    const auto number = static_cast<uint32_t>(Size());
    const std::size_t size = kHead + word.bytes.size();
    if (pages_.empty() || pageUsed_ + size > kPageSize) {
        pages_.push_back(std::make_unique<char[]>(kPageSize));
        pageUsed_ = 0;
    }
    const auto entry = static_cast<uint32_t>((pages_.size() - 1) << kPageBits | pageUsed_);
    char* p = pages_.back().get() + pageUsed_;
    std::memcpy(p, &number, 4);
    std::memcpy(p + 4, &word.hash, 4);
    p[8] = static_cast<char>(static_cast<uint8_t>(word.bytes.size()) | (word.ansi ? kAnsiBit : 0));
    std::memcpy(p + kHead, word.bytes.data(), word.bytes.size());
    pageUsed_ += size;
    offsets_.push_back(entry);
    used_.push_back(false);
    if (!numbering_) return number;
    if ((offsets_.size() + 1) * 4 > slots_.size() * 3) Grow();
    Place(hash, entry);
    return number;
}

void KeptWordTable::Place(uint32_t hash, uint32_t entry) {
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = hash & mask;
    while (slots_[i].entry != kEmpty) i = (i + 1) & mask;
    slots_[i] = {hash, entry};
}

void KeptWordTable::Grow() {
    std::vector<Slot> old(slots_.empty() ? 1024 : slots_.size() * 2);
    old.swap(slots_);
    for (const Slot& slot : old) {
        if (slot.entry != kEmpty) Place(slot.hash, slot.entry);
    }
}

void KeptWordTable::NumberAll(const std::vector<Word>& words, std::vector<uint32_t>& numbers) {
    // Nearly every look-up misses the processor's caches twice, in the slots and in the entries:
    // the slots of later words are fetched ahead, and once a slot is near, its entry.
    constexpr std::size_t kSlotsAhead = 8, kEntriesAhead = 4;
    numbers.resize(words.size());
    if (slots_.empty()) Grow();
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::size_t mask = slots_.size() - 1;
        if (i + kSlotsAhead < words.size()) {
            __builtin_prefetch(&slots_[SlotHash(words[i + kSlotsAhead]) & mask]);
        }
        if (i + kEntriesAhead < words.size()) {
            const uint32_t hash = SlotHash(words[i + kEntriesAhead]);
            const Slot& slot = slots_[hash & mask];
            if (slot.hash == hash && slot.entry != kEmpty) __builtin_prefetch(Entry(slot.entry));
        }
        const uint32_t hash = SlotHash(words[i]);
        uint32_t number = Find(words[i], hash);
        if (number == kEmpty) number = Add(words[i], hash);
        MarkUsed(number);
        numbers[i] = number;
    }
}

std::optional<WordNumbering::Word> KeptWordTable::At(uint64_t n) const {
    if (n < BaseSize()) return base_->At(n);
    if (n >= Size()) return std::nullopt;
    const char* p = Entry(offsets_[n - BaseSize()]);
    const auto length = static_cast<uint8_t>(p[8]);
    return Word{(length & kAnsiBit) != 0, std::string_view(p + kHead, length & kLengthBits),
                GetU32(p + 4)};
}

void KeptWordTable::MarkUsed(uint64_t n) {
    if (n >= used_.size() || used_[n]) return;
    used_[n] = true;
    ++usedCount_;
}

void KeptWordTable::WriteTo(const std::function<void(std::string_view)>& sink) const {
    constexpr std::size_t kPiece = std::size_t{1} << 16;
    std::string out;
    for (uint64_t n = 0; n < Size(); ++n) {
        const Word word = *At(n);
        platform::PutVarint(out, word.bytes.size() << 1 | (word.ansi ? 1 : 0));
        out.append(word.bytes);
        if (out.size() >= kPiece) {
            sink(out);
            out.clear();
        }
    }
    sink(out);
}

std::optional<KeptWordTable> KeptWordTable::Parse(std::string_view bytes, uint64_t count) {
    KeptWordTable table;
    table.numbering_ = false;
    std::size_t position = 0;
    std::u16string units;
    for (uint64_t i = 0; i < count; ++i) {
        uint64_t head = 0;
        if (!platform::GetVarint(bytes, position, head)) return std::nullopt;
        const bool ansi = (head & 1) != 0;
        const uint64_t size = head >> 1;
        const bool fits =
            ansi ? size >= kMinAnsiWordLength && size <= kMaxWordLength
                 : size % 2 == 0 && size >= 2 * kMinUnicodeWordLength && size <= 2 * kMaxWordLength;
        if (!fits || size > bytes.size() - position) return std::nullopt;
        const std::string_view text = bytes.substr(position, static_cast<std::size_t>(size));
        position += text.size();
        Word word{ansi, text, 0};
        if (ansi) {
            word.hash = index::WordIndex::WordHash(text);
        } else {
            units.resize(text.size() / 2);
            std::memcpy(units.data(), text.data(), text.size());
            word.hash = index::WordIndex::UnicodeWordHash(units);
        }
        table.Add(word, SlotHash(word));
    }
    if (position != bytes.size()) return std::nullopt;
    return table;
}

KeptWordTable KeptWordTable::Continued() const {
    KeptWordTable table;
    table.base_ = this;
    table.used_.assign(Size(), false);
    return table;
}

}  // namespace vx::indexing
