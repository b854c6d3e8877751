// Texts of the search dialog's word-list browser.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vx::shell {

// The linked-entries note from the lines of a database's log: for the last line holding
// "Wörter in Datenbank aufgenommen." and ".    ", the 10 characters after the last ".    ",
// cut after their last blank, + "Einträge verlinkt.". Nothing when no line qualifies.
std::optional<std::u16string> LinkedEntriesNote(const std::vector<std::u16string>& logLines);

// Index of the first line that begins with the upper-cased filter, -1 when none (or the
// filter is empty).
int FirstLineStartingWith(const std::vector<std::u16string>& lines, const std::u16string& filter);

}  // namespace vx::shell
