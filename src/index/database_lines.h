// Every line form of a database file, built and read in one place: the section lines, the scan-mask
// line, the path lines, the document lines, the size line and the index lines. Nobody else spells
// a marker of these lines.
//
// The lines as they stand in a file of one pass (each line upper-cased when written), with what
// each holds:
//   [SCANMASKE]
//   TEXTDATEIENPFAD=C:\DATEN\*.XML           the scanned folder and the mask
//   (two empty lines)
//   [PFADLISTE]
//   (an empty line)
//   P1=C:\DATEN   P2=   P3=C:\DATEN\SUB     "P" + entry + "=" + folder ("" for the one above)
//   17 P3 \BERICHT.XML SIZE:20480 DATE:1234  number, path entry, name, size, time
//   (two lines of one blank)
//   GESAMTGRÖßE DER INDIZIERTEN DATEIEN IN BYTE: 12 MB
//   (a line of one blank)
//   [DATENBANK]                               the index section follows
//   (a line of one blank)
//   HAUS=1,4,17,                              word + "=" + numbers, each followed by ","
// A merged file has no blank lines and no size line, and may continue an index line on lines of
// numbers alone.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vx::index {

// The section lines.
inline constexpr std::u16string_view kScanMaskSectionLine = u"[SCANMASKE]";
inline constexpr std::u16string_view kPathListSectionLine = u"[PFADLISTE]";
inline constexpr std::u16string_view kIndexSectionLine = u"[DATENBANK]";

// Where a profile reader finds the scanned folder: the scan-mask section, its key as written, and
// a key that only an edited file holds.
inline constexpr std::u16string_view kScanMaskSection = u"Scanmaske";
inline constexpr std::u16string_view kScanMaskKey = u"TextdateienPfad";
inline constexpr std::u16string_view kFolderKey = u"Pfad";

// The scan-mask line: folder (with its trailing backslash) and mask after the key.
std::u16string BuildScanMaskLine(std::u16string_view folder, std::u16string_view mask);
// The folder of a scan-mask value: the value up to the mask's "*." (all of it without one).
std::u16string_view FolderOfScanMaskValue(std::u16string_view value);
// The section lines and the scan-mask line of an upper-cased line, found anywhere in it (the
// lines only the first pass writes).
bool IsScanHeaderLine(std::u16string_view upperLine);

// The path line of the run's path list: "P" + entry + "=" + folder + " ".
std::u16string BuildPathLine(int32_t entry, std::u16string_view folder);
// The key of a path line ("P3"): the text before its "="; the whole line without one.
std::u16string_view PathLineKey(std::u16string_view line);
// The folder of a path line: the text after its first "=" (the whole line without one).
std::u16string_view PathLineFolder(std::u16string_view line);
// A path line that names the folder of the line before it: its key and "=" alone.
std::u16string_view SameFolderPathLine(std::u16string_view line);
// Whether a line names a folder: it holds "=" that is not its last character.
bool NamesFolder(std::u16string_view line);
// Whether a header line goes with the path lines: it begins with the path key's "P".
bool StartsLikePathLine(std::u16string_view line);

// The document line: "17 P3 \BERICHT.XML Size:20480 Date:1234" (upper-cased when written).
std::u16string BuildDocumentLine(int32_t number, int32_t pathEntry, std::u16string_view name,
                                 int64_t size, int32_t dosTime);
// The key a document line is found by: the text before its first blank; npos without one.
std::size_t DocumentKeyEnd(std::u16string_view line);
// Files a line of the header part under the keys the lookups find it by: its document key
// (DocumentKeyEnd) with at, and its path key (PathLineKey; a line with "=") with folderLine,
// which becomes at first when the line names a folder (NamesFolder). The first line of a key
// stays.
template <typename Position, typename DocumentMap, typename PathMap>
void MapHeaderLine(std::u16string_view line, Position at, Position& folderLine,
                   DocumentMap& documents, PathMap& paths) {
    const std::size_t keyEnd = DocumentKeyEnd(line);
    if (keyEnd != std::u16string_view::npos) {
        documents.try_emplace(std::u16string(line.substr(0, keyEnd)), at);
    }
    const std::size_t equals = line.find(u'=');
    if (equals == std::u16string_view::npos) return;
    if (equals + 1 != line.size()) folderLine = at;
    paths.try_emplace(std::u16string(line.substr(0, equals)), folderLine);
}
// Whether an upper-cased text holds the document line's size marker, which ends the stored path
// of a document (a name holding it cannot be stored).
bool HoldsSizeMarker(std::u16string_view upperText);
// The parts of a document line that lead to the stored path: the path key ("P3") and the rest
// ("\BERICHT.XML SIZE:20480 DATE:1234"); for a number without a document line, the number as the
// key and the rest.
struct DocumentLineParts {
    std::u16string key;
    std::u16string rest;
};
DocumentLineParts SplitDocumentLine(std::u16string_view number, const std::u16string* line);
// The stored path of a document from the folder its key leads to (the path line, or the key
// itself when no path line has it) and the rest of its document line.
std::u16string DocumentPath(std::u16string_view folderLine, std::u16string_view rest);

// The size line, which ends the header part of a pass's file: the total size of the documents
// indexed so far, as size text.
std::u16string BuildSizeLine(std::u16string_view sizeText);
// The size line, recognised by its beginning (a folder of that name does not end the header).
bool IsSizeLine(std::u16string_view line);

// The line that opens the index section: its section line alone (blanks around it allowed). A
// line that merely contains the text, such as the document line of a file named that way, does
// not count: it would move the start of the index section and hide later documents.
bool IsIndexMarkerLine(std::u16string_view line);
// The word of an index line: the trimmed line up to its first "=" (the whole line without "=").
std::u16string_view EntryWord(std::u16string_view trimmedLine);
// The number list of an index line: the text after its first "=" (the whole line without one, as
// a continuation line is); the numbers are the non-empty pieces between its ",".
std::u16string_view EntryNumberList(std::u16string_view line);

}  // namespace vx::index
