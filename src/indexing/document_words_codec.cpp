// The compact form of a document's words: the counts, the distinct ANSI words (bytes), the
// distinct Unicode words (code units, little-endian), then one byte per filing step. A step that
// files the next word of its kind not filed before (nearly every step) needs no word number;
// only a repeat carries one. The hashes are worked out again when the form is read.
#include "indexing/detail/word_rules.h"
#include "indexing/document_words.h"
#include "platform/byte_reader.h"
#include "platform/varint.h"

namespace vx::indexing {

namespace {

constexpr uint8_t kAnsiStep = 1;
constexpr uint8_t kAdmittedStep = 2;
constexpr uint8_t kRepeatStep = 4;

using platform::PutVarint;

// A count of items that take at least minBytes each; one the rest of the form cannot hold fails
// the reader.
uint32_t GetCount(platform::ByteReader& in, std::size_t minBytes) {
    const uint64_t n = in.Varint();
    if (n > in.Remaining() / minBytes) in.Fail();
    return in.Failed() ? 0 : static_cast<uint32_t>(n);
}

}  // namespace

void DocumentWords::AppendEncoded(std::string& out) const {
    PutVarint(out, ansiWords_.size());
    PutVarint(out, unicodeWords_.size());
    PutVarint(out, steps_.size());
    for (const Word& word : ansiWords_) {
        PutVarint(out, word.length);
        out.append(ansiText_, word.offset, word.length);
    }
    for (const Word& word : unicodeWords_) {
        PutVarint(out, word.length);
        for (uint32_t i = 0; i < word.length; ++i) {
            const char16_t unit = unicodeText_[word.offset + i];
            out.push_back(static_cast<char>(unit & 0xFF));
            out.push_back(static_cast<char>(unit >> 8));
        }
    }
    uint32_t nextAnsi = 0, nextUnicode = 0;
    for (const Step& step : steps_) {
        uint32_t& next = step.ansi ? nextAnsi : nextUnicode;
        const bool repeat = step.word != next;
        out.push_back(static_cast<char>((step.ansi ? kAnsiStep : 0) |
                                        (step.admitted ? kAdmittedStep : 0) |
                                        (repeat ? kRepeatStep : 0)));
        if (repeat) {
            PutVarint(out, step.word);
        } else {
            ++next;
        }
    }
}

std::optional<DocumentWords> DocumentWords::Decode(std::string_view bytes) {
    platform::ByteReader in(bytes);
    DocumentWords words;
    const uint32_t ansiCount = GetCount(in, 2);
    const uint32_t unicodeCount = GetCount(in, 2);
    const uint32_t stepCount = GetCount(in, 1);
    words.ansiWords_.reserve(ansiCount);
    for (uint32_t i = 0; i < ansiCount && !in.Failed(); ++i) {
        const uint64_t length = in.Varint();
        if (length < kMinAnsiWordLength || length > kMaxWordLength) return std::nullopt;
        const std::string_view text = in.Bytes(length);
        words.ansiWords_.push_back({static_cast<uint32_t>(words.ansiText_.size()),
                                    static_cast<uint32_t>(text.size()),
                                    index::WordIndex::WordHash(text)});
        words.ansiText_.append(text);
    }
    words.unicodeWords_.reserve(unicodeCount);
    for (uint32_t i = 0; i < unicodeCount && !in.Failed(); ++i) {
        const uint64_t length = in.Varint();
        if (length < kMinUnicodeWordLength || length > kMaxWordLength ||
            length > in.Remaining() / 2)
            return std::nullopt;
        const std::string_view units = in.Bytes(length * 2);
        const auto offset = static_cast<uint32_t>(words.unicodeText_.size());
        for (std::size_t k = 0; k + 1 < units.size(); k += 2) {
            words.unicodeText_.push_back(static_cast<char16_t>(
                static_cast<uint8_t>(units[k]) | static_cast<uint8_t>(units[k + 1]) << 8));
        }
        const std::u16string_view text = std::u16string_view(words.unicodeText_).substr(offset);
        words.unicodeWords_.push_back(
            {offset, static_cast<uint32_t>(text.size()), index::WordIndex::UnicodeWordHash(text)});
    }
    words.steps_.reserve(stepCount);
    uint32_t nextAnsi = 0, nextUnicode = 0;
    for (uint32_t i = 0; i < stepCount && !in.Failed(); ++i) {
        const uint8_t flags = in.Byte();
        const bool ansi = (flags & kAnsiStep) != 0;
        uint32_t& next = ansi ? nextAnsi : nextUnicode;
        const uint64_t word = (flags & kRepeatStep) != 0 ? in.Varint() : next++;
        if (word >= (ansi ? ansiCount : unicodeCount) || flags > 7) return std::nullopt;
        words.steps_.push_back({static_cast<uint32_t>(word), ansi, (flags & kAdmittedStep) != 0});
    }
    if (in.Failed() || in.Remaining() != 0) return std::nullopt;
    return words;
}

}  // namespace vx::indexing
