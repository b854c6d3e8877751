#include "indexing/size_text.h"

#include <vector>

#include "platform/text.h"

namespace vx::indexing {

using platform::IntText;

std::u16string SizeText(int64_t n) {
    constexpr int64_t kKb = 1024;
    constexpr int64_t kMb = 1024 * kKb;
    constexpr int64_t kGb = 1024 * kMb;
    if (n > kGb) return IntText(n / kGb) + u" GB";
    if (n > kMb) return IntText(n / kMb) + u" MB";
    if (n > kKb) return IntText(n / kKb) + u" KB";
    return IntText(n) + u" Bytes";
}

std::u16string ElapsedText(int64_t seconds) {
    const int64_t hours = seconds / 3600;
    const int64_t minutes = (seconds - hours * 3600) / 60;
    const int64_t rest = seconds - hours * 3600 - minutes * 60;
    return IntText(hours) + u":" + IntText(minutes) + u":" + IntText(rest);
}

std::u16string ElapsedSince(int64_t startTickMs, int64_t nowTickMs) {
    return ElapsedText(nowTickMs / 1000 - startTickMs / 1000);
}

std::u16string ShortenPath(std::u16string_view path, int budget) {
    std::u16string result(path);
    int separators = 0;
    for (char16_t c : result) separators += c == u'\\';
    while (static_cast<int64_t>(result.size()) > budget && separators > 2) {
        // Components with their trailing backslash (the last one without).
        std::vector<std::u16string_view> parts;
        std::u16string_view rest(result);
        for (auto pos = rest.find(u'\\'); pos != std::u16string_view::npos;
             pos = rest.find(u'\\')) {
            parts.push_back(rest.substr(0, pos + 1));
            rest.remove_prefix(pos + 1);
        }
        parts.push_back(rest);
        const auto keep = static_cast<std::size_t>(separators / 2);
        std::u16string shortened;
        for (std::size_t i = 0; i < keep && i < parts.size(); ++i) shortened += parts[i];
        shortened += u"...\\";
        for (std::size_t i = keep + 2; i < parts.size(); ++i) shortened += parts[i];
        result = std::move(shortened);
        --separators;
    }
    return result;
}

std::u16string TotalsText(std::u16string_view sizeText, std::u16string_view elapsed) {
    return u"XML-Dateien-Gesamtgröße: " + std::u16string(sizeText) + u"     Zeit: " +
           std::u16string(elapsed);
}

std::u16string TotalsText(int64_t bytes, std::u16string_view elapsed) {
    return TotalsText(SizeText(bytes), elapsed);
}

std::u16string WordsTakenText(int64_t postings, int32_t documents) {
    return platform::GroupedIntText(postings) + u" Wörter in Datenbank aufgenommen (aus " +
           IntText(documents) + u" Dateien).";
}

std::u16string IndexedSoFarText(int32_t documents, int32_t reused) {
    std::u16string text = platform::IntText(documents) + u" XML-Dateien wurden bisher indiziert. ";
    if (reused > 0) text += u"(" + platform::IntText(reused) + u" unverändert übernommen) ";
    return text;
}

}  // namespace vx::indexing
