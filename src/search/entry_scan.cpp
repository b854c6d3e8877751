#include "search/entry_scan.h"

#include <algorithm>
#include <vector>

#include "index/database_file.h"
#include "index/database_lines.h"
#include "index/lookup_file.h"
#include "platform/utf8.h"
#include "search/detail/byte_anchor.h"
#include "search/detail/line_cursor.h"
#include "textio/byte_lines.h"
#include "textio/text_file.h"

namespace vx::search {

namespace {

// A line of the index section longer than the byte scan holds: only the decoding scan, which
// reads past it, tells whether it stays within the bounds of a database.
struct LongLine {};

[[noreturn]] void TooLong() {
    throw DamagedDatabaseError("a line of the database file is longer than any can be");
}

// The continuation text below a line, read from the offset after it once it is first needed.
class ContinuationAt {
  public:
    ContinuationAt(FileWindow& window, uint64_t offset) : window_(window), offset_(offset) {}
    const std::u16string& operator()() {
        if (!read_) {
            LineCursor cursor(window_, offset_);
            text_ = ContinuationText([&](std::u16string& line) {
                if (!cursor.Next(line, kMaxIndexLineUnits)) return false;
                if (cursor.Cut()) throw LongLine();
                return true;
            });
            read_ = true;
        }
        return text_;
    }

  private:
    FileWindow& window_;
    uint64_t offset_;
    bool read_ = false;
    std::u16string text_;
};

// Every line decoded, as the text stream reads the file; lines before the marker skipped.
void ScanDecoding(SearchDatabase& database, EntryMatcher& matcher) {
    textio::LineReader reader(database.FileName());
    reader.SetLineLimit(kMaxHeaderLineUnits);
    std::u16string line;
    bool inIndex = false;
    while (!inIndex && reader.Next(line)) {
        if (reader.LastLineCut()) TooLong();
        inIndex = index::IsIndexMarkerLine(line);
    }
    if (!inIndex) return;
    reader.SetLineLimit(kMaxIndexLineUnits);
    // The current line and the lines read ahead as its continuation lines.
    constexpr std::size_t kWindow = 128;
    static_assert(kWindow > kMaxContinuationLines);
    std::vector<std::u16string> window(kWindow);
    window[0] = line;
    std::size_t head = 0, count = 1;
    bool atEnd = false;
    const auto have = [&](std::size_t lines) {
        while (count < lines && !atEnd) {
            if (reader.Next(window[(head + count) % kWindow])) {
                if (reader.LastLineCut()) TooLong();
                ++count;
            } else {
                atEnd = true;
            }
        }
        return count >= lines;
    };
    for (; have(1); head = (head + 1) % kWindow, --count) {
        bool continuationRead = false;
        std::u16string continuation;
        matcher.Test(window[head], [&]() -> const std::u16string& {
            if (!continuationRead) {
                std::size_t j = 1;
                continuation = ContinuationText([&](std::u16string& next) {
                    if (!have(j + 1)) return false;
                    next = window[(head + j++) % kWindow];
                    return true;
                });
                continuationRead = true;
            }
            return continuation;
        });
    }
}

// The byte scan: the blocks of the index section are searched for the anchors of the words;
// a line is decoded and tested only where an anchor stands in it (every line when a word has
// no anchor). Throws LongLine at a line longer than kMaxIndexLineUnits bytes.
void ScanBytes(SearchDatabase& database, EntryMatcher& matcher) {
    const std::optional<uint64_t> marker = database.MarkerOffset();
    if (!marker) return;
    struct Word {
        ByteAnchor anchor;
        bool lineStart;  // the anchor can only stand at a line start
        std::size_t next = 0;
    };
    std::vector<Word> words;
    bool everyLine = false;
    for (const SearchWord& word : matcher.Query().words) {
        if (word.text.empty()) continue;
        const AnchorChoice choice = AnchorOf(word.text);
        if (choice.never) continue;
        if (!choice.anchor) {
            everyLine = true;
            break;
        }
        words.push_back({*choice.anchor, choice.anchor->atWordStart && !word.leading});
    }
    // Every block is read even without a word to look for: a line too long is found as the
    // decoding scan finds it.

    const platform::ReadOnlyFile& file = database.File();
    textio::ByteBlockReader reader(file, *marker, std::size_t{1} << 20, kMaxIndexLineUnits);
    std::string_view block;
    uint64_t blockOffset = 0;
    std::u16string line;
    // Tests the line [begin, end) of the block; returns where the next line begins.
    const auto test = [&](std::size_t begin, std::size_t end) {
        line.clear();
        platform::AppendDecodedUtf8(block.substr(begin, end - begin), line);
        const char* const after =
            textio::SkipByteLineBreak(block.data() + end, block.data() + block.size());
        ContinuationAt continuation(database.Window(),
                                    blockOffset + static_cast<uint64_t>(after - block.data()));
        matcher.Test(line, continuation);
        return static_cast<std::size_t>(after - block.data());
    };
    const auto isLineStart = [&](std::size_t at) {
        return at == 0 || block[at - 1] == '\n' || block[at - 1] == '\r';
    };
    // The word's next anchor at or after from (at a line start when it must stand there).
    const auto findNext = [&](const Word& word, std::size_t from) {
        std::size_t at = FindAnchor(block, from, word.anchor);
        while (word.lineStart && at != std::string_view::npos && !isLineStart(at)) {
            at = FindAnchor(block, at + 1, word.anchor);
        }
        return at;
    };
    while (reader.Next(block, blockOffset)) {
        const char* const data = block.data();
        const char* const blockEnd = data + block.size();
        if (everyLine) {
            for (std::size_t at = 0; at < block.size();) {
                at = test(at, static_cast<std::size_t>(
                                  textio::FindByteLineBreak(data + at, blockEnd) - data));
            }
            continue;
        }
        for (Word& word : words) word.next = findNext(word, 0);
        for (;;) {
            std::size_t nearest = std::string_view::npos;
            for (const Word& word : words) nearest = std::min(nearest, word.next);
            if (nearest == std::string_view::npos) break;
            std::size_t begin = nearest;
            while (!isLineStart(begin)) --begin;
            const std::size_t after =
                test(begin, static_cast<std::size_t>(
                                textio::FindByteLineBreak(data + nearest, blockEnd) - data));
            for (Word& word : words) {
                if (word.next != std::string_view::npos && word.next < after) {
                    word.next = findNext(word, after);
                }
            }
        }
    }
    if (reader.TooLong()) throw LongLine();
}

// How the lookup file finds the candidates of a word, or false when only a scan can: a word
// that may stand in a line of digits and commas, one that a leading wildcard lets stand across
// the "=", and one with a lone surrogate half, whose bytes do not order as its code units.
struct KeyQuery {
    index::LookupFile::Match match;
    std::string key;
    bool oddLines = false;  // also every odd line
};

bool HasLoneSurrogate(std::u16string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            return true;
        }
    }
    return false;
}

std::optional<KeyQuery> KeyQueryOf(const SearchWord& word) {
    using Match = index::LookupFile::Match;
    const std::u16string& text = word.text;
    if (HasLoneSurrogate(text)) return std::nullopt;
    const std::size_t eq = text.find(u'=');
    const auto bytes = [](std::u16string_view part) { return platform::EncodeUtf8(part); };
    if (!word.leading) {
        // At the line start: a word with "=" is the key before it, one without begins the key
        // (or a line of digits and commas).
        if (eq != std::u16string::npos) return KeyQuery{Match::Equal, bytes(text.substr(0, eq))};
        if (index::IsNumbersLine(text)) return std::nullopt;
        return KeyQuery{Match::Prefix, bytes(text)};
    }
    if (!word.trailing) {
        // The word ends with "=": either that "=" is the line's first one (the key ends with the
        // part before it), or the line has "=" after its first one (an odd line).
        return KeyQuery{Match::Suffix, bytes(text.substr(0, eq)), true};
    }
    if (eq != std::u16string::npos || index::IsNumbersLine(text)) return std::nullopt;
    // Anywhere without "=" and with more than digits and commas: inside the key, or in the
    // text after the "=" of an odd line.
    return KeyQuery{Match::Contains, bytes(text), true};
}

// The lines through the lookup file: the candidates of every word, in file order, each checked
// to begin a line and to have the key the lookup file names. False when a word needs a scan.
bool ScanWithLookup(SearchDatabase& database, EntryMatcher& matcher) {
    const std::optional<uint64_t> marker = database.MarkerOffset();
    if (database.Lookup() == nullptr) return false;  // found not to fit the file
    index::LookupFile& lookup = *database.Lookup();
    std::vector<KeyQuery> queries;
    for (const SearchWord& word : matcher.Query().words) {
        if (word.text.empty()) continue;
        std::optional<KeyQuery> query = KeyQueryOf(word);
        if (!query) return false;
        queries.push_back(std::move(*query));
    }
    if (!marker) return true;  // no index section

    // Lines read one by one cost more than a scan once they are many (a random read each, where
    // the scan reads about a gigabyte a second): at the most one line per this many bytes of the
    // file, and never fewer lines than this.
    constexpr uint64_t kFileBytesPerLine = 8192;
    constexpr std::size_t kMinLines = 1024;
    const std::size_t maxLines = std::max<std::size_t>(
        kMinLines, static_cast<std::size_t>(database.File().Size() / kFileBytesPerLine));
    index::LookupFile::Lines found;
    bool oddLines = false;
    for (const KeyQuery& query : queries) {
        if (!lookup.FindLines(query.match, query.key, found, maxLines)) return false;
        oddLines = oddLines || query.oddLines;
    }
    constexpr uint32_t kOdd = UINT32_MAX;
    if (oddLines) {
        for (const uint64_t offset : lookup.OddLines()) found.lines.push_back({offset, kOdd});
        if (found.lines.size() > maxLines) return false;
    }
    std::sort(found.lines.begin(), found.lines.end(),
              [](const auto& a, const auto& b) { return a.offset < b.offset; });

    FileWindow& window = database.Window();
    std::u16string line;
    for (std::size_t i = 0; i < found.lines.size(); ++i) {
        const uint64_t offset = found.lines[i].offset;
        if (i > 0 && offset == found.lines[i - 1].offset) continue;
        LineCursor cursor(window, offset);
        if (offset < *marker || !StartsLine(window, offset, *database.TextStart()) ||
            !cursor.Next(line, kMaxIndexLineUnits)) {
            throw index::LookupDamaged();
        }
        if (cursor.Cut()) throw LongLine();
        const uint32_t key = found.lines[i].key;
        if (key == kOdd ? !index::IsOddLine(line) : index::LookupKey(line) != found.keys[key]) {
            throw index::LookupDamaged();
        }
        ContinuationAt continuation(window, cursor.Offset());
        matcher.Test(line, continuation);
    }
    return true;
}

}  // namespace

ScanPath ScanIndexSection(SearchDatabase& database, EntryMatcher& matcher, ScanMode mode) {
    bool longLine = false;
    if (mode == ScanMode::Auto && database.Lookup() != nullptr) {
        try {
            if (ScanWithLookup(database, matcher)) return ScanPath::Lookup;
        } catch (const index::LookupDamaged&) {
            // A damaged lookup file is dropped; the scans below read the database file.
            database.DropLookup();
            matcher.Reset();
        } catch (const LongLine&) {
            // Only the decoding scan reads past the line and tells whether it is damaged.
            matcher.Reset();
            longLine = true;
        }
    }
    if (!longLine && mode != ScanMode::Decoding && database.TextStart()) {
        try {
            ScanBytes(database, matcher);
            return ScanPath::Bytes;
        } catch (const LongLine&) {
            // The decoding scan below reads past the line.
            matcher.Reset();
        }
    }
    ScanDecoding(database, matcher);
    return ScanPath::Decoding;
}

}  // namespace vx::search
