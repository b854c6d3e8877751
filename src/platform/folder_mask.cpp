#include "platform/folder_listing.h"
#include "platform/text.h"

namespace vx::platform {

namespace {

bool Glob(std::u16string_view name, std::u16string_view mask) {
    std::size_t n = 0;
    std::size_t m = 0;
    std::size_t starMask = std::u16string_view::npos;
    std::size_t starName = 0;
    while (n < name.size()) {
        if (m < mask.size() && mask[m] == u'*') {
            starMask = m++;
            starName = n;
        } else if (m < mask.size() &&
                   (mask[m] == u'?' || UpperChar(mask[m]) == UpperChar(name[n]))) {
            ++m;
            ++n;
        } else if (starMask != std::u16string_view::npos) {
            // Let the last star take one more character and retry from there.
            m = starMask + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == u'*') ++m;
    return m == mask.size();
}

}  // namespace

bool MatchesMask(std::u16string_view name, std::u16string_view mask) {
    if (Glob(name, mask)) return true;
    // As on Windows, a mask ending in ".*" also selects names without that dot ("*.*" selects
    // every name).
    if (mask.size() >= 2 && mask.substr(mask.size() - 2) == u".*") {
        return Glob(name, mask.substr(0, mask.size() - 2));
    }
    return false;
}

bool MatchesShortNameMask(std::u16string_view name, std::u16string_view mask) {
    if (mask.size() != 5 || mask.substr(0, 2) != u"*.") return false;
    const std::u16string_view ext = mask.substr(2);
    if (ext.find_first_of(u"*?.") != std::u16string_view::npos) return false;
    const std::size_t dot = name.rfind(u'.');
    if (dot == std::u16string_view::npos) return false;
    const std::u16string_view nameExt = name.substr(dot + 1);
    return nameExt.size() > 3 && UpperCase(nameExt.substr(0, 3)) == UpperCase(ext);
}

}  // namespace vx::platform
