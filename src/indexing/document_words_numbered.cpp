// The numbered form of a document's words, which the words file keeps: its words are numbers into
// the file's table. A varint with the number of filing steps, then one varint per step: a step that
// files the next word of its kind not filed before gives (the zig-zag difference of the word's
// table number to the previous such number + 1) << 2; a repeat gives (its place among the
// document's words of its kind << 1 | ANSI) << 2 | 1. Bit 1 is the step's admitted flag. Words that
// one document after the other meets in the same order (documents of one kind, copies) give
// differences of 0: one byte a step.
#include <bit>
#include <cstring>

#include "indexing/document_words.h"
#include "platform/varint.h"

namespace vx::indexing {

namespace {

static_assert(std::endian::native == std::endian::little, "code units are kept little-endian");

constexpr uint64_t kRepeat = 1;
constexpr uint64_t kAdmitted = 2;

// Walks a numbered form: first(number, admitted) for each first step of a word,
// repeat(place, ansi, admitted) for each repeat; false when the bytes are not of the form or a
// callback says no.
template <typename First, typename Repeat>
bool Walk(std::string_view bytes, const First& first, const Repeat& repeat) {
    std::size_t position = 0;
    uint64_t steps = 0;
    if (!platform::GetVarint(bytes, position, steps) || steps > bytes.size() - position) {
        return false;
    }
    uint64_t previous = ~uint64_t{0};  // -1: the first number is its own difference to -1 + 1
    for (; steps > 0; --steps) {
        uint64_t value = 0;
        if (!platform::GetVarint(bytes, position, value)) return false;
        const bool admitted = (value & kAdmitted) != 0;
        if ((value & kRepeat) != 0) {
            if (!repeat(value >> 3, ((value >> 2) & 1) != 0, admitted)) return false;
        } else {
            // Differences that leave the table wrap around to numbers that no table holds.
            previous += 1 + static_cast<uint64_t>(platform::UnZigZag(value >> 2));
            if (!first(previous, admitted)) return false;
        }
    }
    return position == bytes.size();
}

}  // namespace

void DocumentWords::AppendNumbered(std::string& out, WordNumbering& table) const {
    const auto isFirst = [](const Step& step, uint32_t& nextAnsi, uint32_t& nextUnicode) {
        uint32_t& next = step.ansi ? nextAnsi : nextUnicode;
        if (step.word != next) return false;
        ++next;
        return true;
    };
    // The words in the order the steps first file them, numbered at once.
    thread_local std::vector<WordNumbering::Word> words;
    thread_local std::vector<uint32_t> numbers;
    words.clear();
    uint32_t nextAnsi = 0, nextUnicode = 0;
    for (const Step& step : steps_) {
        if (!isFirst(step, nextAnsi, nextUnicode)) continue;
        const Word& word = (step.ansi ? ansiWords_ : unicodeWords_)[step.word];
        words.push_back({step.ansi,
                         step.ansi
                             ? std::string_view(ansiText_).substr(word.offset, word.length)
                             : std::string_view(reinterpret_cast<const char*>(unicodeText_.data()) +
                                                    std::size_t{word.offset} * sizeof(char16_t),
                                                std::size_t{word.length} * sizeof(char16_t)),
                         word.hash});
    }
    table.NumberAll(words, numbers);

    platform::PutVarint(out, steps_.size());
    nextAnsi = nextUnicode = 0;
    std::size_t first = 0;
    int64_t previous = -1;
    for (const Step& step : steps_) {
        const uint64_t admitted = step.admitted ? kAdmitted : 0;
        if (!isFirst(step, nextAnsi, nextUnicode)) {
            platform::PutVarint(
                out, (uint64_t{step.word} << 1 | (step.ansi ? 1 : 0)) << 2 | admitted | kRepeat);
            continue;
        }
        const int64_t number = numbers[first++];
        platform::PutVarint(out, platform::ZigZag(number - previous - 1) << 2 | admitted);
        previous = number;
    }
}

std::optional<DocumentWords> DocumentWords::DecodeNumbered(std::string_view bytes,
                                                           const WordNumbering& table) {
    DocumentWords words;
    const bool ok = Walk(
        bytes,
        [&](uint64_t number, bool admitted) {
            const std::optional<WordNumbering::Word> word = table.At(number);
            if (!word) return false;
            std::vector<Word>& list = word->ansi ? words.ansiWords_ : words.unicodeWords_;
            const auto place = static_cast<uint32_t>(list.size());
            if (word->ansi) {
                list.push_back({static_cast<uint32_t>(words.ansiText_.size()),
                                static_cast<uint32_t>(word->bytes.size()), word->hash});
                words.ansiText_.append(word->bytes);
            } else {
                const std::size_t offset = words.unicodeText_.size();
                const std::size_t length = word->bytes.size() / sizeof(char16_t);
                words.unicodeText_.resize(offset + length);
                std::memcpy(words.unicodeText_.data() + offset, word->bytes.data(),
                            length * sizeof(char16_t));
                list.push_back(
                    {static_cast<uint32_t>(offset), static_cast<uint32_t>(length), word->hash});
            }
            words.steps_.push_back({place, word->ansi, admitted});
            return true;
        },
        [&](uint64_t place, bool ansi, bool admitted) {
            if (place >= (ansi ? words.ansiWords_.size() : words.unicodeWords_.size())) {
                return false;
            }
            words.steps_.push_back({static_cast<uint32_t>(place), ansi, admitted});
            return true;
        });
    if (!ok) return std::nullopt;
    return words;
}

bool DocumentWords::ForEachNumber(std::string_view bytes, const std::function<void(uint64_t)>& f) {
    return Walk(
        bytes,
        [&](uint64_t number, bool) {
            f(number);
            return true;
        },
        [](uint64_t, bool, bool) { return true; });
}

}  // namespace vx::indexing
