#include "index/database_lines.h"

#include <algorithm>

#include "platform/text.h"

namespace vx::index {

namespace {

constexpr std::u16string_view kScanMaskLineKey = u"TEXTDATEIENPFAD=";
constexpr std::u16string_view kMaskStart = u"*.";
constexpr char16_t kPathKeyStart = u'P';
constexpr std::u16string_view kSizeMarker = u"SIZE:";
constexpr std::u16string_view kSizeLineStart = u"GESAMTGRÖßE DER INDIZIERTEN DATEIEN";
constexpr std::u16string_view kSizeLineRest = u" IN BYTE: ";

bool Contains(std::u16string_view line, std::u16string_view marker) {
    return line.find(marker) != std::u16string_view::npos;
}

// The text before the first "=" (all of it without one), and the text after it (all of it
// without one).
std::u16string_view BeforeEquals(std::u16string_view line) {
    return line.substr(0, line.find(u'='));
}
std::u16string_view AfterEquals(std::u16string_view line) {
    const std::size_t equals = line.find(u'=');
    return equals == std::u16string_view::npos ? line : line.substr(equals + 1);
}

}  // namespace

std::u16string BuildScanMaskLine(std::u16string_view folder, std::u16string_view mask) {
    std::u16string line(kScanMaskLineKey);
    line += folder;
    line += mask;
    return line;
}

std::u16string_view FolderOfScanMaskValue(std::u16string_view value) {
    return value.substr(0, value.find(kMaskStart));
}

bool IsScanHeaderLine(std::u16string_view upperLine) {
    return Contains(upperLine, kScanMaskSectionLine) || Contains(upperLine, kScanMaskLineKey) ||
           Contains(upperLine, kPathListSectionLine);
}

std::u16string BuildPathLine(int32_t entry, std::u16string_view folder) {
    std::u16string line(1, kPathKeyStart);
    line.append(platform::IntText(entry)).append(u"=").append(folder).append(u" ");
    return line;
}

std::u16string_view PathLineKey(std::u16string_view line) {
    return BeforeEquals(line);
}

std::u16string_view PathLineFolder(std::u16string_view line) {
    return AfterEquals(line);
}

std::u16string_view SameFolderPathLine(std::u16string_view line) {
    return line.substr(0, line.find(u'=') + 1);
}

bool NamesFolder(std::u16string_view line) {
    const std::size_t eq = line.find(u'=');
    return eq != std::u16string_view::npos && eq + 1 != line.size();
}

bool StartsLikePathLine(std::u16string_view line) {
    return line.starts_with(kPathKeyStart);
}

std::u16string BuildDocumentLine(int32_t number, int32_t pathEntry, std::u16string_view name,
                                 int64_t size, int32_t dosTime) {
    return platform::IntText(number) + u" P" + platform::IntText(pathEntry) + u" \\" +
           std::u16string(name) + u" Size:" + platform::IntText(size) + u" Date:" +
           platform::IntText(dosTime);
}

std::size_t DocumentKeyEnd(std::u16string_view line) {
    return line.find(u' ');
}

bool HoldsSizeMarker(std::u16string_view upperText) {
    return Contains(upperText, kSizeMarker);
}

DocumentLineParts SplitDocumentLine(std::u16string_view number, const std::u16string* line) {
    DocumentLineParts parts{std::u16string(number), std::u16string(number)};
    std::u16string& rest = parts.rest;
    if (line != nullptr) {
        const std::size_t blank = line->find(u' ');
        rest = platform::Trim(blank == std::u16string::npos
                                  ? std::u16string_view()
                                  : std::u16string_view(*line).substr(blank + 1));
    }
    const std::size_t backslash = rest.find(u'\\');
    if (backslash != std::u16string::npos) {
        // "P3 \BERICHT.XML SIZE:..." -> key "P3", rest "\BERICHT.XML SIZE:..."
        parts.key = rest.substr(0, backslash >= 1 ? backslash - 1 : 0);
        const std::size_t blank = rest.find(u' ');
        if (blank != std::u16string::npos) rest.erase(0, blank + 1);
    }
    return parts;
}

std::u16string DocumentPath(std::u16string_view folderLine, std::u16string_view rest) {
    std::u16string s(folderLine);
    s += rest;
    const std::size_t equals = s.find(u'=');
    if (equals != std::u16string::npos) s.erase(0, equals + 1);
    const std::size_t size = s.find(kSizeMarker);
    if (size != std::u16string::npos) s.erase(size);
    return platform::Trim(s);
}

std::u16string BuildSizeLine(std::u16string_view sizeText) {
    std::u16string line(kSizeLineStart);
    line += kSizeLineRest;
    line += sizeText;
    return line;
}

bool IsSizeLine(std::u16string_view line) {
    const std::u16string_view head = platform::TrimView(line).substr(0, kSizeLineStart.size());
    return head.size() == kSizeLineStart.size() &&
           std::equal(head.begin(), head.end(), kSizeLineStart.begin(),
                      [](char16_t c, char16_t upper) { return platform::UpperChar(c) == upper; });
}

bool IsIndexMarkerLine(std::u16string_view line) {
    return platform::TrimView(line) == kIndexSectionLine;
}

std::u16string_view EntryWord(std::u16string_view trimmedLine) {
    return BeforeEquals(trimmedLine);
}

std::u16string_view EntryNumberList(std::u16string_view line) {
    return AfterEquals(line);
}

}  // namespace vx::index
