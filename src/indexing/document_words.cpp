#include "indexing/document_words.h"

#include <cstring>
#include <limits>

#include "indexing/detail/word_rules.h"
#include "indexing/detail/word_separators.h"
#include "platform/ansi.h"
#include "platform/text.h"

namespace vx::indexing {

namespace {

constexpr uint32_t kNone = std::numeric_limits<uint32_t>::max();
// Filing steps between two calls of the caller's tick.
constexpr std::size_t kStepsPerTick = 4096;
constexpr uint64_t kFactor = 0x9E3779B97F4A7C15ull;

char AnsiByteOf(char16_t c) {
    return c < 0x80 ? static_cast<char>(c) : platform::AnsiByte(c);
}

// Every code unit's upper-case form (high 16 bits) and whether that form separates words in the
// first split (bit 0) and in the second (bit 1): a line is upper-cased and split in one pass.
const std::vector<uint32_t>& UnitTable() {
    static const std::vector<uint32_t> table = [] {
        std::vector<uint32_t> t(0x10000);
        for (uint32_t c = 0; c < 0x10000; ++c) {
            const char16_t upper = platform::UpperChar(static_cast<char16_t>(c));
            t[c] = static_cast<uint32_t>(upper) << 16 | (kFirstSplit.Contains(upper) ? 1u : 0u) |
                   (kSecondSplit.Contains(upper) ? 2u : 0u);
        }
        return t;
    }();
    return table;
}

uint32_t Finalize(uint64_t h) {
    h *= kFactor;
    return static_cast<uint32_t>(h ^ (h >> 32));
}

// Up to four code units packed into one number.
uint64_t PackUnits(const char16_t* p, std::size_t n) {
    uint64_t units = 0;
    uint32_t pair = 0;
    switch (n) {
        case 4:
            std::memcpy(&units, p, 8);
            break;
        case 3:
            std::memcpy(&pair, p, 4);
            units = pair | static_cast<uint64_t>(p[2]) << 32;
            break;
        case 2:
            std::memcpy(&pair, p, 4);
            units = pair;
            break;
        case 1:
            units = p[0];
            break;
        default:
            break;
    }
    return units;
}

uint32_t LongPieceHash(std::u16string_view piece) {
    uint64_t h = piece.size();
    const char16_t* p = piece.data();
    std::size_t n = piece.size();
    for (; n >= 4; n -= 4, p += 4) h = (h ^ PackUnits(p, 4)) * kFactor;
    return Finalize(h ^ PackUnits(p, n));
}

// An open-addressing table from hashes to indices that empties in one step: every slot carries
// the generation it was filled in.
class GenerationTable {
  public:
    template <typename Equal>
    uint32_t Find(uint32_t hash, const Equal& equal) const {
        if (slots_.empty()) return kNone;
        for (std::size_t i = hash & mask_;; i = (i + 1) & mask_) {
            const Slot& slot = slots_[i];
            if (slot.generation != generation_) return kNone;
            if (slot.hash == hash && equal(slot.id)) return slot.id;
        }
    }
    void Insert(uint32_t hash, uint32_t id) {
        if ((count_ + 1) * 2 > slots_.size()) Grow();
        Place(hash, id);
        ++count_;
    }
    void Clear() {
        // A table grown for a large document would spread the next small one over memory the
        // processor does not keep in its cache: it starts small again.
        if (slots_.size() > kSmall && count_ * 8 < slots_.size()) {
            std::vector<Slot>(kSmall).swap(slots_);
            mask_ = kSmall - 1;
            generation_ = 1;
        } else if (++generation_ == 0) {  // the counter went round: old generations remain
            std::fill(slots_.begin(), slots_.end(), Slot{});
            generation_ = 1;
        }
        count_ = 0;
    }

  private:
    static constexpr std::size_t kSmall = 4096;
    struct Slot {
        uint32_t generation = 0;
        uint32_t hash = 0;
        uint32_t id = 0;
    };
    void Place(uint32_t hash, uint32_t id) {
        std::size_t i = hash & mask_;
        while (slots_[i].generation == generation_) i = (i + 1) & mask_;
        slots_[i] = {generation_, hash, id};
    }
    void Grow() {
        std::vector<Slot> old(slots_.empty() ? 256 : slots_.size() * 2);
        old.swap(slots_);
        mask_ = slots_.size() - 1;
        for (const Slot& slot : old) {
            if (slot.generation == generation_) Place(slot.hash, slot.id);
        }
    }

    std::vector<Slot> slots_;
    std::size_t mask_ = 0;
    std::size_t count_ = 0;
    uint32_t generation_ = 1;
};

}  // namespace

struct DocumentWordsBuilder::Impl {
    // What a piece of a split line gives after the word rules (the same piece always gives the
    // same): nothing, a Unicode word, or an ANSI word that may or may not add an entry.
    struct Outcome {
        enum Kind : uint8_t { None, Unicode, Ansi } kind = None;
        bool admitted = false;
        uint32_t word = 0;
    };
    struct Piece {
        uint64_t units;  // a piece of up to four code units, packed
        uint32_t offset;
        uint32_t length;
        Outcome outcome;
    };
    // How earlier occurrences of an ANSI word of this document were filed.
    struct AnsiState {
        bool refiles;   // every occurrence can add entries (see WordIndex)
        bool admitted;  // an occurrence that may add an entry was kept already
    };

    DocumentWords doc;
    std::u16string upper;  // the line upper-cased
    // A piece of the second split, and whether the first split gave the same piece (then its
    // outcome is known).
    struct SecondPiece {
        uint32_t start;
        uint32_t length;
        bool same;
        Outcome outcome;
    };
    std::vector<SecondPiece> secondSplit;
    std::u16string pieceText;
    std::vector<Piece> pieces;
    GenerationTable pieceTable;
    GenerationTable ansiTable;
    GenerationTable unicodeTable;
    std::vector<AnsiState> ansiStates;
    std::string key;  // the word being converted

    std::u16string_view PieceText(uint32_t i) const {
        return std::u16string_view(pieceText).substr(pieces[i].offset, pieces[i].length);
    }
    std::string_view AnsiText(uint32_t i) const {
        const DocumentWords::Word& w = doc.ansiWords_[i];
        return std::string_view(doc.ansiText_).substr(w.offset, w.length);
    }
    std::u16string_view UnicodeText(uint32_t i) const {
        const DocumentWords::Word& w = doc.unicodeWords_[i];
        return std::u16string_view(doc.unicodeText_).substr(w.offset, w.length);
    }

    void AddLine(std::u16string_view line);
    Outcome AddPiece(std::u16string_view piece);
    [[gnu::noinline]] Outcome AddNewPiece(std::u16string_view piece, uint64_t units, uint32_t hash);
    void AddAnsiRepeat(const Outcome& outcome);
    Outcome Examine(std::u16string_view piece);
    void Reset();
};

void DocumentWordsBuilder::Impl::AddLine(std::u16string_view line) {
    // The line is split as " " + upper-case(line) + " ": the blanks only end the first and the
    // last piece, as the end of the line does here.
    const std::vector<uint32_t>& table = UnitTable();
    const std::size_t n = line.size();
    upper.resize(n);
    secondSplit.clear();
    std::size_t first = kNone, second = kNone;  // start of the current piece of each split
    // The piece of the first split that ended last.
    std::size_t firstStart = kNone, firstEnd = kNone;
    Outcome firstOutcome;
    const auto endFirst = [&](std::size_t end) {
        firstOutcome = AddPiece(std::u16string_view(upper).substr(first, end - first));
        firstStart = first;
        firstEnd = end;
    };
    const auto endSecond = [&](std::size_t end) {
        const bool same = second == firstStart && end == firstEnd;
        secondSplit.push_back({static_cast<uint32_t>(second), static_cast<uint32_t>(end - second),
                               same, same ? firstOutcome : Outcome()});
    };
    for (std::size_t i = 0; i < n; ++i) {
        const uint32_t entry = table[line[i]];
        upper[i] = static_cast<char16_t>(entry >> 16);
        if (entry & 1) {
            if (first != kNone) endFirst(i);
            first = kNone;
        } else if (first == kNone) {
            first = i;
        }
        if (entry & 2) {
            if (second != kNone) endSecond(i);
            second = kNone;
        } else if (second == kNone) {
            second = i;
        }
    }
    if (first != kNone) endFirst(n);
    if (second != kNone) endSecond(n);
    for (const SecondPiece& piece : secondSplit) {
        if (!piece.same) {
            AddPiece(std::u16string_view(upper).substr(piece.start, piece.length));
        } else if (piece.outcome.kind == Outcome::Ansi) {
            // The piece met again: only its repeat can matter.
            AddAnsiRepeat(piece.outcome);
        }
    }
}

DocumentWordsBuilder::Impl::Outcome DocumentWordsBuilder::Impl::Examine(std::u16string_view word) {
    Outcome outcome;
    bool ansi = false;
    if (!ApplyWordRules(word, ansi)) return outcome;
    if (!ansi) {
        const uint32_t hash = index::WordIndex::UnicodeWordHash(word);
        uint32_t id = unicodeTable.Find(hash, [&](uint32_t i) { return UnicodeText(i) == word; });
        if (id == kNone) {
            id = static_cast<uint32_t>(doc.unicodeWords_.size());
            doc.unicodeWords_.push_back({static_cast<uint32_t>(doc.unicodeText_.size()),
                                         static_cast<uint32_t>(word.size()), hash});
            doc.unicodeText_.append(word);
            unicodeTable.Insert(hash, id);
            // A Unicode word is recorded once per document; its repeats find their entry.
            doc.steps_.push_back({id, false, false});
        }
        outcome.kind = Outcome::Unicode;
        outcome.word = id;
        return outcome;
    }
    if (word.size() < 2) return outcome;

    key.resize(word.size());
    for (std::size_t i = 0; i < word.size(); ++i) key[i] = AnsiByteOf(word[i]);
    // Different texts can share one ANSI form; repeats are judged by that form, as the index
    // sees it.
    const uint32_t hash = index::WordIndex::WordHash(key);
    uint32_t id = ansiTable.Find(hash, [&](uint32_t i) { return AnsiText(i) == key; });
    if (id == kNone) {
        id = static_cast<uint32_t>(doc.ansiWords_.size());
        doc.ansiWords_.push_back(
            {static_cast<uint32_t>(doc.ansiText_.size()), static_cast<uint32_t>(key.size()), hash});
        doc.ansiText_ += key;
        ansiStates.push_back({index::WordIndex::RefilesEveryOccurrence(key), false});
        ansiTable.Insert(hash, id);
    }
    outcome.kind = Outcome::Ansi;
    outcome.admitted = AdmitsNewEntry(word);
    outcome.word = id;
    return outcome;
}

DocumentWordsBuilder::Impl::Outcome DocumentWordsBuilder::Impl::AddPiece(
    std::u16string_view piece) {
    // A single character below U+0080 is an ANSI word of one character, which is never filed.
    if (piece.size() == 1 && piece[0] < 0x80) return Outcome();
    // The word rules depend on the piece alone: a piece met before gives what it gave then.
    const bool isShort = piece.size() <= 4;
    const uint64_t units = isShort ? PackUnits(piece.data(), piece.size()) : 0;
    const uint32_t hash = isShort ? Finalize(units ^ (static_cast<uint64_t>(piece.size()) << 61))
                                  : LongPieceHash(piece);
    const uint32_t known = pieceTable.Find(hash, [&](uint32_t i) {
        const Piece& p = pieces[i];
        return p.length == piece.size() &&
               (isShort ? p.units == units
                        : std::memcmp(pieceText.data() + p.offset, piece.data(),
                                      piece.size() * sizeof(char16_t)) == 0);
    });
    if (known == kNone) return AddNewPiece(piece, units, hash);
    const Outcome outcome = pieces[known].outcome;
    if (outcome.kind == Outcome::Ansi) AddAnsiRepeat(outcome);
    return outcome;
}

DocumentWordsBuilder::Impl::Outcome DocumentWordsBuilder::Impl::AddNewPiece(
    std::u16string_view piece, uint64_t units, uint32_t hash) {
    const std::size_t ansiCount = doc.ansiWords_.size();
    const Outcome outcome = Examine(piece);
    const auto id = static_cast<uint32_t>(pieces.size());
    pieces.push_back({units, static_cast<uint32_t>(pieceText.size()),
                      static_cast<uint32_t>(piece.size()), outcome});
    if (piece.size() > 4) pieceText.append(piece);
    pieceTable.Insert(hash, id);
    if (outcome.kind != Outcome::Ansi) return outcome;
    if (doc.ansiWords_.size() == ansiCount) {
        AddAnsiRepeat(outcome);
        return outcome;
    }
    // The first occurrence of its ANSI form.
    ansiStates[outcome.word].admitted = outcome.admitted;
    doc.steps_.push_back({outcome.word, true, outcome.admitted});
    return outcome;
}

void DocumentWordsBuilder::Impl::AddAnsiRepeat(const Outcome& outcome) {
    // A repeat changes the index only when it may add an entry and either the word is never
    // found by lookup or no earlier occurrence could add one: an occurrence after one that found
    // or added a visible entry finds the document already filed.
    AnsiState& state = ansiStates[outcome.word];
    if (!outcome.admitted || (state.admitted && !state.refiles)) return;
    state.admitted = true;
    doc.steps_.push_back({outcome.word, true, true});
}

void DocumentWordsBuilder::Impl::Reset() {
    doc = DocumentWords();
    pieceText.clear();
    pieces.clear();
    ansiStates.clear();
    pieceTable.Clear();
    ansiTable.Clear();
    unicodeTable.Clear();
}

DocumentWordsBuilder::DocumentWordsBuilder() : impl_(new Impl) {}

DocumentWordsBuilder::~DocumentWordsBuilder() {
    delete impl_;
}

void DocumentWordsBuilder::AddLine(std::u16string_view line) {
    impl_->AddLine(line);
}

DocumentWords DocumentWordsBuilder::Finish() {
    DocumentWords words = std::move(impl_->doc);
    impl_->Reset();
    return words;
}

bool DocumentWords::File(int32_t documentNumber, index::WordIndex& index,
                         const std::atomic<bool>& cancel, const std::function<void()>& tick) const {
    if (cancel.load(std::memory_order_relaxed)) return false;
    FileUnicodeWords(documentNumber, index);
    return FileAnsiWords(documentNumber, index, cancel, tick);
}

bool DocumentWords::FileAnsiWords(int32_t documentNumber, index::WordIndex& index,
                                  const std::atomic<bool>& cancel,
                                  const std::function<void()>& tick) const {
    std::size_t count = 0;
    for (const Step& step : steps_) {
        if (!step.ansi) continue;
        if (cancel.load(std::memory_order_relaxed)) return false;
        if (tick && ++count % kStepsPerTick == 0) tick();
        const Word& word = ansiWords_[step.word];
        index.FileOccurrence(std::string_view(ansiText_).substr(word.offset, word.length),
                             word.hash, documentNumber, step.admitted);
    }
    return true;
}

void DocumentWords::FileUnicodeWords(int32_t documentNumber, index::WordIndex& index) const {
    for (const Step& step : steps_) {
        if (step.ansi) continue;
        const Word& word = unicodeWords_[step.word];
        index.AddUnicodePosting(std::u16string_view(unicodeText_).substr(word.offset, word.length),
                                word.hash, documentNumber);
    }
}

}  // namespace vx::indexing
