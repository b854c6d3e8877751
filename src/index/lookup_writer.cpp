// Building the search lookup file from the bytes of a database file.
#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <unordered_map>

#include "index/database_file.h"
#include "index/database_lines.h"
#include "index/detail/lookup_format.h"
#include "index/detail/lookup_samples.h"
#include "index/lookup_file.h"
#include "platform/hash64.h"
#include "platform/utf8.h"
#include "platform/varint.h"
#include "textio/byte_lines.h"
#include "textio/file_byte_stream.h"
#include "textio/text_file.h"

namespace vx::index {

namespace {

using namespace lookup;

bool IsNumberByte(char c) {
    return (c >= '0' && c <= '9') || c == ',';
}

// The 8 first bytes of a key as a big-endian number: comparing these first orders keys as the
// byte comparison does and decides most comparisons without touching the keys.
uint64_t LeadingBytes(std::string_view key) {
    uint64_t value = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        value = (value << 8) | (i < key.size() ? static_cast<unsigned char>(key[i]) : 0u);
    }
    return value;
}

// The same for the last 8 bytes, read backwards (for the order of the reversed keys).
uint64_t TrailingBytes(std::string_view key) {
    uint64_t value = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        value = (value << 8) |
                (i < key.size() ? static_cast<unsigned char>(key[key.size() - 1 - i]) : 0u);
    }
    return value;
}

// True when x read from its end comes before y read from its end (bytes without sign).
bool BackwardsLess(std::string_view x, std::string_view y) {
    static_assert(std::endian::native == std::endian::little);
    std::size_t i = x.size();
    std::size_t j = y.size();
    // Eight bytes at a time: loaded little-endian, the byte read first is the most significant.
    while (i >= 8 && j >= 8) {
        uint64_t a;
        uint64_t b;
        std::memcpy(&a, x.data() + i - 8, 8);
        std::memcpy(&b, y.data() + j - 8, 8);
        if (a != b) return a < b;
        i -= 8;
        j -= 8;
    }
    while (i > 0 && j > 0) {
        const auto a = static_cast<unsigned char>(x[--i]);
        const auto b = static_cast<unsigned char>(y[--j]);
        if (a != b) return a < b;
    }
    return i == 0 && j > 0;
}

// Sorts the items by the 64-bit number of each, keeping the order of equal numbers: four passes
// over 16-bit digits (a pass whose digit is the same for all items is left out).
template <typename T, typename NumberOf>
void RadixSort(std::vector<T>& items, NumberOf numberOf) {
    // For few items the digit counts cost more than the sorting.
    if (items.size() < 0x10000) {
        std::stable_sort(items.begin(), items.end(),
                         [&](const T& a, const T& b) { return numberOf(a) < numberOf(b); });
        return;
    }
    std::vector<T> sorted(items.size());
    std::vector<std::size_t> start(0x10001);
    for (int shift = 0; shift < 64; shift += 16) {
        std::fill(start.begin(), start.end(), 0);
        for (const T& item : items) ++start[((numberOf(item) >> shift) & 0xFFFF) + 1];
        if (std::find(start.begin(), start.end(), items.size()) != start.end()) continue;
        for (std::size_t d = 1; d < start.size(); ++d) start[d] += start[d - 1];
        for (const T& item : items) sorted[start[(numberOf(item) >> shift) & 0xFFFF]++] = item;
        items.swap(sorted);
    }
}

// Sorts each run of items with equal numbers (after RadixSort) by the given order.
template <typename T, typename NumberOf, typename Less>
void SortRuns(std::vector<T>& items, NumberOf numberOf, Less less) {
    for (std::size_t i = 0; i < items.size();) {
        std::size_t j = i + 1;
        while (j < items.size() && numberOf(items[j]) == numberOf(items[i])) ++j;
        if (j - i > 1) {
            std::stable_sort(items.begin() + static_cast<std::ptrdiff_t>(i),
                             items.begin() + static_cast<std::ptrdiff_t>(j), less);
        }
        i = j;
    }
}

// Appends a key front-coded against the key before it: the bytes they share, the number of the
// other bytes, and those bytes.
void PutFrontCoded(std::string& out, std::string_view previous, std::string_view key) {
    std::size_t shared = 0;
    const std::size_t common = std::min(previous.size(), key.size());
    while (shared < common && previous[shared] == key[shared]) ++shared;
    PutVarint(out, shared);
    PutVarint(out, key.size() - shared);
    out.append(key.substr(shared));
}

// Keys with the offsets of their lines, taken in file order in batches. A full batch is sorted
// at once, while the database file may still be written, and kept front-coded (a sorted run);
// the runs are merged at the end. The keys then go to one arena, each key once.
class KeyedLines {
  public:
    static constexpr std::size_t kBatchLines = std::size_t{1} << 16;
    // Where a key lies in the arena.
    struct Place {
        uint32_t at;
        uint32_t size;
    };

    void Add(std::string_view key, uint64_t offset) {
        if (entries_.size() == kBatchLines) EndBatch();
        if (keyBytes_ + key.size() > UINT32_MAX) {
            overflow_ = true;
            return;
        }
        entries_.push_back({LeadingBytes(key), static_cast<uint32_t>(batchKeys_.size()),
                            static_cast<uint32_t>(key.size()), offset});
        batchKeys_.append(key);
        keyBytes_ += key.size();
    }
    // Calls visit(key, place, offsets) for each key once, in key order, with the offsets of its
    // lines in file order. The key lies in the arena from then on.
    template <typename Visit>
    void ForEachKey(Visit visit) {
        EndBatch();
        std::vector<Entry>().swap(entries_);
        std::string().swap(batchKeys_);
        arena_.reserve(keyBytes_);  // never moves: the keys handed out stay where they are
        // The run heads in a heap, the least on top.
        std::vector<RunReader> heads;
        for (const std::string& run : runs_) {
            heads.emplace_back(run);
            if (!heads.back().Next()) heads.pop_back();
        }
        const auto greater = [](const RunReader& a, const RunReader& b) { return b.Less(a); };
        std::make_heap(heads.begin(), heads.end(), greater);
        std::vector<uint64_t> offsets;
        std::string key;
        while (!heads.empty()) {
            key = heads.front().Key();
            offsets.clear();
            while (!heads.empty() && heads.front().Key() == key) {
                offsets.push_back(heads.front().Offset());
                std::pop_heap(heads.begin(), heads.end(), greater);
                if (heads.back().Next()) {
                    std::push_heap(heads.begin(), heads.end(), greater);
                } else {
                    heads.pop_back();
                }
            }
            const Place place{static_cast<uint32_t>(arena_.size()),
                              static_cast<uint32_t>(key.size())};
            arena_.append(key);
            visit(KeyAt(place), place, offsets);
        }
        std::vector<std::string>().swap(runs_);
    }
    std::string_view KeyAt(const Place& place) const {
        return std::string_view(arena_).substr(place.at, place.size);
    }
    // How many keys ForEachKey can give at most.
    std::size_t LineCount() const { return lines_ + entries_.size(); }
    // True when the keys did not fit (more than 4 GB of them).
    bool Overflow() const { return overflow_; }

  private:
    struct Entry {
        uint64_t leading;
        uint32_t at;
        uint32_t size;
        uint64_t offset;
    };

    // Reads a sorted run: for each line the bytes its key shares with the key before, the rest
    // of the key and the offset, as varints.
    class RunReader {
      public:
        explicit RunReader(std::string_view run) : run_(run) {}
        bool Next() {
            if (at_ == run_.size()) return false;
            const uint64_t shared = Get();
            const uint64_t added = Get();
            key_.resize(static_cast<std::size_t>(shared));
            key_.append(run_.substr(at_, static_cast<std::size_t>(added)));
            at_ += static_cast<std::size_t>(added);
            offset_ = Get();
            leading_ = LeadingBytes(key_);
            return true;
        }
        const std::string& Key() const { return key_; }
        uint64_t Offset() const { return offset_; }
        // By key, then by place in the file (the lines of one key stay in file order).
        bool Less(const RunReader& other) const {
            if (leading_ != other.leading_) return leading_ < other.leading_;
            const int order = key_.compare(other.key_);
            return order != 0 ? order < 0 : offset_ < other.offset_;
        }

      private:
        // The runs are this builder's own: a number never runs past their end.
        uint64_t Get() {
            uint64_t value = 0;
            platform::GetVarint(run_, at_, value);
            return value;
        }
        std::string_view run_;
        std::size_t at_ = 0;
        std::string key_;
        uint64_t offset_ = 0;
        uint64_t leading_ = 0;
    };

    std::string_view KeyOf(const Entry& e) const { return {batchKeys_.data() + e.at, e.size}; }

    // Sorts the batch and keeps it as a run; the batch's arrays are kept for the next one.
    void EndBatch() {
        if (entries_.empty()) return;
        std::sort(entries_.begin(), entries_.end(), [this](const Entry& x, const Entry& y) {
            if (x.leading != y.leading) return x.leading < y.leading;
            const int order = KeyOf(x).compare(KeyOf(y));
            return order != 0 ? order < 0 : x.offset < y.offset;
        });
        std::string run;
        std::string_view previous;
        for (const Entry& e : entries_) {
            const std::string_view key = KeyOf(e);
            PutFrontCoded(run, previous, key);
            PutVarint(run, e.offset);
            previous = key;
        }
        run.shrink_to_fit();
        runs_.push_back(std::move(run));
        lines_ += entries_.size();
        entries_.clear();
        batchKeys_.clear();
    }

    std::vector<Entry> entries_;  // the batch being taken
    std::string batchKeys_;       // its keys
    std::vector<std::string> runs_;
    std::string arena_;
    uint64_t keyBytes_ = 0;
    std::size_t lines_ = 0;  // lines in the runs
    bool overflow_ = false;
};

// The body of the lookup file, written as it is appended; every full page is hashed on the way.
class BodyWriter {
  public:
    explicit BodyWriter(textio::FileByteStream& out) : out_(out) { page_.reserve(kPageSize); }
    // Appends a section; returns where it lies in the file.
    Range Append(std::string_view bytes) {
        const Range range{End(), bytes.size()};
        size_ += bytes.size();
        while (!bytes.empty()) {
            const std::size_t take = std::min<std::size_t>(kPageSize - page_.size(), bytes.size());
            page_.append(bytes.substr(0, take));
            bytes.remove_prefix(take);
            if (page_.size() == kPageSize) Flush();
        }
        return range;
    }
    // Writes the last page; returns the page table.
    std::string Finish() {
        if (!page_.empty()) Flush();
        return std::move(pageTable_);
    }
    // The file offset after the body.
    uint64_t End() const { return kPageSize + size_; }

  private:
    void Flush() {
        const uint64_t hash = platform::Hash64(page_.data(), page_.size(), ++pages_);
        platform::PutFixed(pageTable_, hash, kNumberBytes);
        out_.Write(page_.data(), page_.size());
        page_.clear();
    }
    textio::FileByteStream& out_;
    std::string page_;
    std::string pageTable_;
    uint64_t size_ = 0;
    uint64_t pages_ = 0;
};

// Writes a key table (see lookup_format.h) from keys given in ascending order.
class KeyTableWriter {
  public:
    void Add(std::string_view key, const std::vector<uint64_t>& offsets) {
        if (count_ % kBlockKeys == 0) {
            platform::PutFixed(blocks_, keys_.size(), kNumberBytes);
            platform::PutFixed(blocks_, payloads_.size(), kNumberBytes);
            previousKey_ = {};
            previousFirst_ = 0;
        }
        PutFrontCoded(keys_, previousKey_, key);
        previousKey_ = key;

        PutVarint(payloads_, offsets.size());
        for (std::size_t i = 0; i < offsets.size(); ++i) {
            if (i == 0) {
                PutVarint(payloads_, ZigZag(static_cast<int64_t>(offsets[0] - previousFirst_)));
                previousFirst_ = offsets[0];
            } else {
                PutVarint(payloads_, offsets[i] - offsets[i - 1]);
            }
        }
        ++count_;
    }
    // Appends the three sections to the body.
    KeyTableHead AppendTo(BodyWriter& body) const {
        KeyTableHead head;
        head.keys = body.Append(keys_);
        head.payloads = body.Append(payloads_);
        head.blocks = body.Append(blocks_);
        head.keyCount = count_;
        return head;
    }

  private:
    std::string keys_, payloads_, blocks_;
    std::string_view previousKey_;  // the keys stay where they are until the table is written
    uint64_t previousFirst_ = 0;
    uint64_t count_ = 0;
};

// A table of header-line keys (each key once, with the offset it maps to, if any).
KeyTableHead AppendHeaderTable(BodyWriter& body,
                               const std::unordered_map<std::u16string, uint64_t>& map,
                               uint64_t none) {
    std::vector<std::pair<std::string, uint64_t>> keys;
    keys.reserve(map.size());
    for (const auto& [key, offset] : map) {
        keys.emplace_back(platform::EncodeUtf8(key, platform::LoneSurrogates::Keep), offset);
    }
    std::sort(keys.begin(), keys.end());
    KeyTableWriter writer;
    std::vector<uint64_t> offsets;
    for (const auto& [key, offset] : keys) {
        offsets.clear();
        if (offset != none) offsets.push_back(offset);
        writer.Add(key, offsets);
    }
    return writer.AppendTo(body);
}

// Everything the lookup file records, gathered line by line.
struct Gathered {
    uint64_t marker = kNoMarker;
    KeyedLines words;
    std::vector<uint64_t> odd;
    std::unordered_map<std::u16string, uint64_t> documents;  // key -> first line
    std::unordered_map<std::u16string, uint64_t> paths;      // key -> folder line or kNoMarker
    // A line longer than a database holds: the search finds the file damaged by reading it all,
    // so it gets no lookup file.
    bool overlong = false;
};

// A line of the header part (up to and including the marker line): the document and path keys
// as DatabaseFile maps them. True for the marker line.
bool TakeHeaderLine(std::string_view bytes, uint64_t offset, uint64_t& folderLine,
                    Gathered& gathered) {
    const std::u16string line = platform::DecodeUtf8(bytes);
    if (line.size() > kMaxHeaderLineUnits) gathered.overlong = true;
    MapHeaderLine(line, offset, folderLine, gathered.documents, gathered.paths);
    return IsIndexMarkerLine(line);
}

// Scratch space of the key conversion, kept from line to line.
struct KeyBuffers {
    std::string key;
    std::u16string units;
};

void TakeIndexLine(std::string_view bytes, uint64_t offset, KeyBuffers& buffers,
                   Gathered& gathered) {
    if (bytes.empty()) return;
    const std::size_t eq = bytes.find('=');
    const std::string_view keyBytes = bytes.substr(0, eq);
    const std::string_view valueBytes =
        eq == std::string_view::npos ? std::string_view() : bytes.substr(eq + 1);
    const auto numbersOnly = [](std::string_view part) {
        for (const char c : part) {
            if (!IsNumberByte(c)) return false;
        }
        return true;
    };
    if (eq == std::string_view::npos) {
        if (numbersOnly(bytes)) return;
    } else if (!numbersOnly(valueBytes)) {
        gathered.odd.push_back(offset);
    }
    std::string& key = buffers.key;
    if (!platform::UpperCaseUsualUtf8(keyBytes, key)) {
        std::u16string& units = buffers.units;
        units.clear();
        platform::AppendDecodedUtf8(keyBytes, units);
        key = LookupKey(units);
    }
    gathered.words.Add(key, offset);
}

// Takes the lines of a database file one after the other.
class LineGatherer {
  public:
    explicit LineGatherer(Gathered& gathered) : gathered_(gathered) {}
    void Take(std::string_view line, uint64_t offset) {
        if (gathered_.marker == kNoMarker) {
            // The marker line belongs to both parts: the last header line, the first index line.
            if (!TakeHeaderLine(line, offset, folderLine_, gathered_)) return;
            gathered_.marker = offset;
        }
        TakeIndexLine(line, offset, key_, gathered_);
    }

  private:
    Gathered& gathered_;
    uint64_t folderLine_ = kNoMarker;
    KeyBuffers key_;
};

// Writes the lookup file: an empty head page, the body and the page table, then the head with
// the database file's stamp.
void WriteGathered(Gathered& gathered, const platform::ReadOnlyFile& database,
                   std::u16string_view lookupFile) {
    LookupHead head{};
    std::memcpy(head.magic, kMagic, sizeof kMagic);
    head.version = kVersion;
    head.pageSize = kPageSize;
    head.databaseSize = database.Size();
    head.databaseModifiedNs = database.ModifiedNs();
    head.databaseSamples = DatabaseSamples(database);
    head.markerOffset = gathered.marker;

    // The head page is written last, once the sections and the page table are known.
    textio::FileByteStream out(lookupFile, textio::FileOpenMode::CreateWrite);
    out.Write(std::string(kPageSize, '\0').data(), kPageSize);
    BodyWriter body(out);
    // Each key once, in key order, with the order of the keys read backwards. The keys stay in
    // the arenas of the lines; a key is named by where it lies there.
    std::vector<KeyedLines::Place> places;
    std::vector<std::pair<uint64_t, uint32_t>> reversed;
    {
        // Room for a key per line: pages that stay unused cost no memory.
        places.reserve(gathered.words.LineCount());
        reversed.reserve(gathered.words.LineCount());
        KeyTableWriter words;
        gathered.words.ForEachKey([&](std::string_view k, const KeyedLines::Place& place,
                                      const std::vector<uint64_t>& offsets) {
            words.Add(k, offsets);
            reversed.emplace_back(TrailingBytes(k), static_cast<uint32_t>(places.size()));
            places.push_back(place);
        });
        head.words = words.AppendTo(body);
    }
    {
        // Ranks in the order of the reversed keys, packed reversedBits each (plus 8 zero bytes,
        // so that every value can be read as one 64-bit number).
        const auto backwardsLess = [&](const auto& a, const auto& b) {
            return BackwardsLess(gathered.words.KeyAt(places[a.second]),
                                 gathered.words.KeyAt(places[b.second]));
        };
        const auto trailing = [](const auto& item) { return item.first; };
        RadixSort(reversed, trailing);
        SortRuns(reversed, trailing, backwardsLess);
        const std::size_t keyCount = reversed.size();
        const uint64_t bits = std::max<uint64_t>(1, std::bit_width(keyCount));
        std::string packed((keyCount * bits + 7) / 8 + kNumberBytes, '\0');
        for (std::size_t i = 0; i < reversed.size(); ++i) {
            const uint64_t bit = i * bits;
            uint64_t word;
            std::memcpy(&word, packed.data() + bit / 8, kNumberBytes);
            word |= static_cast<uint64_t>(reversed[i].second) << (bit % 8);
            std::memcpy(packed.data() + bit / 8, &word, kNumberBytes);
        }
        head.reversed = body.Append(packed);
        head.reversedBits = bits;
    }
    {
        std::string odd;
        uint64_t previous = 0;
        for (const uint64_t offset : gathered.odd) {
            PutVarint(odd, offset - previous);
            previous = offset;
        }
        head.odd = body.Append(odd);
        head.oddCount = gathered.odd.size();
    }
    head.documents = AppendHeaderTable(body, gathered.documents, kNoMarker);
    head.paths = AppendHeaderTable(body, gathered.paths, kNoMarker);

    const std::string pageTable = body.Finish();
    head.pageTable = {body.End(), pageTable.size()};
    out.Write(pageTable.data(), pageTable.size());
    head.pageTableHash = platform::Hash64(pageTable.data(), pageTable.size(), 0);
    head.fileSize = head.pageTable.offset + pageTable.size();
    head.headHash = platform::Hash64(&head, offsetof(LookupHead, headHash), 0);
    out.Seek(0, textio::SeekOrigin::Begin);
    out.Write(&head, sizeof head);
    out.Close();
}

}  // namespace

struct LookupFileBuilder::Impl {
    std::u16string databaseFile;
    std::u16string lookupFile;
    std::optional<platform::ReadOnlyFile> file;  // opened by TakeWritten, while it is written
    std::string buffer;             // bytes read and not taken yet: the start of an unfinished line
    uint64_t bufferOffset = 0;      // file offset of buffer[0]
    uint64_t readOffset = 0;        // file offset of the next byte to read
    std::optional<uint64_t> start;  // where the text begins, once known
    bool unusable = false;          // no lookup file: not UTF-8, or a line longer than a database's
    Gathered gathered;
    LineGatherer gatherer{gathered};

    // Takes the lines whose end is known (at the end of the file: all).
    void TakeLines(bool atEnd) {
        if (!start) {
            if (!atEnd && buffer.size() < 4) return;
            start = textio::Utf8TextStart(buffer);
            if (!start) {
                unusable = true;
                return;
            }
            buffer.erase(0, static_cast<std::size_t>(*start));
            bufferOffset = *start;
        }
        // Up to the last line break whose kind is known (a CR at the very end may still be
        // followed by its LF).
        std::size_t cut = atEnd ? buffer.size() : 0;
        for (std::size_t at = buffer.size(); cut == 0 && at-- > 0;) {
            if (buffer[at] == '\n' || (buffer[at] == '\r' && at + 1 < buffer.size())) cut = at + 1;
        }
        const char* const first = buffer.data();
        const char* const last = first + cut;
        for (const char* p = first; p != last;) {
            const char* const lineEnd = textio::FindByteLineBreak(p, last);
            if (static_cast<std::size_t>(lineEnd - p) > kMaxIndexLineUnits) {
                unusable = true;
                return;
            }
            gatherer.Take(std::string_view(p, static_cast<std::size_t>(lineEnd - p)),
                          bufferOffset + static_cast<uint64_t>(p - first));
            p = textio::SkipByteLineBreak(lineEnd, last);
        }
        buffer.erase(0, cut);
        bufferOffset += cut;
        if (buffer.size() > kMaxIndexLineUnits) unusable = true;
    }

    // Reads and takes what the file holds beyond what was read.
    void ReadOn(const platform::ReadOnlyFile& from) {
        constexpr std::size_t kPiece = std::size_t{1} << 20;
        while (!unusable) {
            const std::size_t kept = buffer.size();
            buffer.resize(kept + kPiece);
            const std::size_t got = from.ReadAt(readOffset, buffer.data() + kept, kPiece);
            buffer.resize(kept + got);
            readOffset += got;
            if (got == 0) return;
            TakeLines(false);
        }
    }
};

LookupFileBuilder::LookupFileBuilder(std::u16string_view databaseFile,
                                     std::u16string_view lookupFile)
    : impl_(std::make_unique<Impl>()) {
    impl_->databaseFile = databaseFile;
    impl_->lookupFile = lookupFile;
}

LookupFileBuilder::~LookupFileBuilder() = default;

void LookupFileBuilder::TakeWritten() {
    Impl& m = *impl_;
    if (!m.file) m.file = platform::ReadOnlyFile::Open(m.databaseFile);
    if (m.file) m.ReadOn(*m.file);
}

bool LookupFileBuilder::Finish() {
    Impl& m = *impl_;
    // The complete file; it must stay as it is while the rest is read.
    const std::optional<platform::ReadOnlyFile> database =
        platform::ReadOnlyFile::Open(m.databaseFile);
    if (!database) {
        throw textio::FileError::About(m.databaseFile, u"kann nicht gelesen werden", errno);
    }
    m.ReadOn(m.file ? *m.file : *database);
    if (!m.unusable) m.TakeLines(true);
    // A database file changed while it was read gets no lookup file now.
    if (m.unusable || m.gathered.overlong || m.gathered.words.Overflow() ||
        m.readOffset != database->Size() ||
        platform::StampOf(m.databaseFile) !=
            platform::FileStamp{database->Size(), database->ModifiedNs()}) {
        return false;
    }
    WriteGathered(m.gathered, *database, m.lookupFile);
    return true;
}

bool WriteLookupFile(std::u16string_view databaseFile, std::u16string_view lookupFile) {
    return LookupFileBuilder(databaseFile, lookupFile).Finish();
}

}  // namespace vx::index
