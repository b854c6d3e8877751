#include "shell/word_list_texts.h"

#include <algorithm>

#include "platform/text.h"

namespace vx::shell {

std::optional<std::u16string> LinkedEntriesNote(const std::vector<std::u16string>& logLines) {
    static constexpr std::u16string_view kTaken = u"Wörter in Datenbank aufgenommen.";
    static constexpr std::u16string_view kGap = u".    ";
    std::optional<std::u16string> note;
    for (const auto& line : logLines) {
        if (line.find(kTaken) == std::u16string::npos) continue;
        const std::size_t gap = line.rfind(kGap);
        if (gap == std::u16string::npos) continue;
        // The count is the number in front of the next blank, however many digits it has
        // (a fixed ten-character window would keep part of "Wörter" for short counts and
        // lose the blank for long ones).
        std::u16string count = line.substr(gap + kGap.size());
        count.erase(std::min(count.find(u' '), count.size()));
        note = count + u" Einträge verlinkt.";
    }
    return note;
}

int FirstLineStartingWith(const std::vector<std::u16string>& lines, const std::u16string& filter) {
    if (filter.empty()) return -1;
    const std::u16string upper = platform::UpperCase(filter);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].compare(0, upper.size(), upper) == 0) return static_cast<int>(i);
    }
    return -1;
}

}  // namespace vx::shell
