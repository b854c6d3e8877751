// The order in which the merge of a run's passes takes the lines of their index sections: the
// platform collation of whole lines (platform::SortByCollation, so equal lines keep their order),
// worked out from one key per word instead of one per line.
//
// Why one key per word orders the lines exactly. An entry line is WORD + "=" + digits and commas.
// The collation compares the base-letter (primary) weights of two strings first and looks at
// accents, width and case only when those are all equal; its keys are written weight after
// weight, and no character joins with "=" into one weight, so the primary part of the key of
// "WORD=" is the beginning of the primary part of the key of every line that begins with it.
// Hence:
// - Two lines whose primary keys of the text up to the first "=" differ at some byte within both
//   are ordered by those keys.
// - Lines with equal primary keys there whose rests are digits and commas are ordered by those
//   rests, compared code unit by code unit (the comma weighs less than every digit, and every
//   digit weighs differently); equal rests of different words need the lines' own keys.
// - Where one primary key is a proper beginning of another (a word holding a character that
//   weighs like "="), the lines are ordered by their own keys.
// The collator's treatment of commas, digits and "=" is checked once; where it does not hold,
// every line is ordered by its own key.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vx::index {

// A line of an index section as the file holds it (upper-cased), with the key that orders it.
struct OrderedLine {
    OrderedLine() = default;
    // key = MergeKey(MergeKeyText(text)).
    OrderedLine(std::u16string_view text, std::string_view key);

    std::u16string_view text;
    std::string_view key;
    std::size_t rest = 0;  // where the text after the first "=" begins (0 without "=")
    bool numbers = false;  // a "=" is followed by digits and commas only
};

// The part of a line whose key orders it: up to and including the first "=", the whole line
// without one.
std::u16string_view MergeKeyText(std::u16string_view line);
// The primary part of the collation key of a MergeKeyText; empty where the collator does not keep
// to the rules above.
std::string MergeKey(std::u16string_view keyText);

// <0, 0 or >0 as the collation keys of the two lines compare (platform::CollationKey).
int CompareInMergeOrder(const OrderedLine& a, const OrderedLine& b);

// Lines in merge order, one after the other.
class OrderedLines {
  public:
    virtual ~OrderedLines() = default;
    // Moves to the next line; false at the end. Line() is valid until the next call.
    virtual bool Next() = 0;
    virtual const OrderedLine& Line() const = 0;
};

// Lines held whole, sorted into merge order as a stable sort would sort them.
class SortedLines : public OrderedLines {
  public:
    explicit SortedLines(std::vector<std::u16string> lines);
    bool Next() override;
    const OrderedLine& Line() const override { return lines_[order_[position_ - 1]]; }

  private:
    std::vector<std::u16string> texts_;
    std::vector<std::string> keys_;
    std::vector<OrderedLine> lines_;
    std::vector<std::size_t> order_;
    std::size_t position_ = 0;
};

// Calls sink with the lines of all sources in merge order: what a stable sort of the sources'
// lines, one source after the other, gives.
void MergeInOrder(const std::vector<OrderedLines*>& sources,
                  const std::function<void(const OrderedLine&)>& sink);

// The line as it reads back from a file that the engine wrote it to: every surrogate half without
// its partner becomes U+FFFD.
void AsReadBack(std::u16string& line);

}  // namespace vx::index
