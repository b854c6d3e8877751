#include "shell/word_list_texts.h"

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
        std::u16string count = line.substr(gap + kGap.size(), 10);
        const std::size_t blank = count.rfind(u' ');
        if (blank != std::u16string::npos) count.erase(blank + 1);
        note = count + u"Einträge verlinkt.";
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
