// Entry numbers as text, and what the orders of index lines built from one key per word rely on
// (see merge_order.h).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vx::index {

// Appends the number and "," (an entry's number as the index files write it).
void AppendNumber(std::u16string& out, int32_t number);

// The primary part of the collation key of the text.
std::string PrimaryKey(std::u16string_view text);

// Orders non-negative numbers as their texts "n," compare: digit by digit, a number before the
// longer ones it begins.
uint64_t NumberTextOrder(int32_t number);

// Whether the collator in use weighs the comma below every digit and the digits in their order,
// and writes the primary key of "WORD=" as the beginning of that of each "WORD=n,".
bool MergeRulesHold();

}  // namespace vx::index
