#include "platform/detail/name_spellings.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <vector>

#include "platform/text.h"
#include "platform/utf8.h"

namespace vx::platform::detail {

namespace {

// The code units that upper-case to each ASCII character, in ascending order (which is their
// UTF-8 byte order): the character, its lower-case letter, and the few others, such as the
// dotless i for "I" and the long s for "S".
const std::array<std::vector<char16_t>, 0x80>& SpellingsOfAscii() {
    static const auto spellings = [] {
        std::array<std::vector<char16_t>, 0x80> s;
        const char16_t* const upper = UpperCaseTable();
        for (uint32_t c = 0; c < 0x10000; ++c) {
            if (upper[c] < 0x80) s[upper[c]].push_back(static_cast<char16_t>(c));
        }
        return s;
    }();
    return spellings;
}

}  // namespace

SpelledName FindBySpellings(const std::string& hostFolder, std::u16string_view upper,
                            std::size_t maxSpellings) {
    const auto& spellings = SpellingsOfAscii();
    std::vector<const std::vector<char16_t>*> choices;
    choices.reserve(upper.size());
    std::size_t count = 1;
    for (const char16_t c : upper) {
        // A NUL never stands in a name; a unit that is not ASCII has no table here.
        if (c == 0 || c >= 0x80) return {};
        choices.push_back(&spellings[c]);
        count *= choices.back()->size();
        if (count > maxSpellings) return {};
    }
    SpelledName result{true, std::nullopt};
    if (upper.empty()) return result;
    // O_RDONLY, not O_PATH: a folder that cannot be read answers nothing, as its reading would.
    const int folder = open(hostFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) return result;
    // The spellings in byte order: the choices counted up like the digits of a number, the last
    // character's fastest.
    std::vector<std::size_t> digits(choices.size(), 0);
    std::u16string spelled(choices.size(), u'\0');
    for (;;) {
        for (std::size_t i = 0; i < choices.size(); ++i) spelled[i] = (*choices[i])[digits[i]];
        const std::string name = EncodeUtf8(spelled);
        struct stat st {};
        if (fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
            result.name = name;
            break;
        }
        std::size_t i = digits.size();
        while (i > 0 && ++digits[i - 1] == choices[i - 1]->size()) digits[--i] = 0;
        if (i == 0) break;
    }
    close(folder);
    return result;
}

}  // namespace vx::platform::detail
