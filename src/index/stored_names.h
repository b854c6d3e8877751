// How the names of a document's folders and file are written into a database, whose lines are
// upper-cased: names that the plain form cannot hold are written escaped, and readers turn them
// back into the names on disk.
//
// A name is escaped when the upper-cased form would lose it: the second and every further name of
// one folder that differs from an earlier one only in letter case ("bericht.xml" beside
// "Bericht.xml"), and a name that begins with the escape mark "|". The escaped form is "|", then
// the name with every code unit that upper-casing would change, and "%" and "|", written as "%"
// and four upper-case hexadecimal digits; a file name gets ".XML" appended, so that the text copy
// and the search find their ".XML" where they expect it. The escaped form has nothing that
// upper-casing changes, so the database holds it exactly, and the text copy of such a document
// has a name of its own. Example: "bericht.xml" ->
// "|%0062%0065%0072%0069%0063%0068%0074.%0078%006D%006C.XML".
//
// The escaped form also names the text copy (or its folder), so it must fit a file name of the
// host: where it would be longer than kMaxStoredNameBytes, it keeps the beginning of the escaped
// form and ends in "%%" and the 16 hexadecimal digits of a hash of the name (before ".XML"). Such
// a form cannot be turned back by itself ("%%" never stands in a full escaped form); a reader
// finds the name on disk among the names of its folder.
//
// A folder is also escaped when its upper-cased name is that of a text copy of a document beside
// it ("d.txt" beside "d.xml"), so that the copy and the copies below the folder never meet.
//
// Names that cannot be written at all (a line break, a backslash inside a name of the host, or
// the document line's size marker, where a reader ends the path of a document line) are not
// indexed; see HoldableName.
#pragma once

#include <string>
#include <string_view>

namespace vx::index {

inline constexpr char16_t kEscapeMark = u'|';

// The longest escaped form, in UTF-8 bytes: a file name of the host holds 255.
inline constexpr std::size_t kMaxStoredNameBytes = 240;

// The escaped form of a folder name (isFile false) or file name (isFile true).
std::u16string EscapeName(std::u16string_view name, bool isFile);
// Whether a name must be escaped by itself (it begins with the escape mark).
bool NeedsEscapeByItself(std::u16string_view name);
// The name on disk of a name as stored (escaped or not; an escaped one read back upper-cased).
std::u16string UnescapeName(std::u16string_view stored);
// The name in the folder whose escaped form is stored (a shortened form compared after
// upper-casing, as a reader of a database has it); stored itself when there is none.
std::u16string OnDiskName(std::u16string_view folder, std::u16string_view stored, bool isFile);
// Every escaped component of a Windows-form path turned back into its name on disk (a shortened
// form by looking for it in its folder; it stays as it is when none is found there).
std::u16string UnescapePath(std::u16string_view path);

// The name of a document's text copy, which the search rebuilds from the stored name: the file
// name with the first occurrence of its extension (as written) removed, plus ".txt"
// ("a.xml.xml" -> "a.xml.txt").
std::u16string TextCopyName(std::u16string_view fileName);

// Whether a name can stand in a database line: no line break, no backslash, and no size marker of
// the document line (letter case ignored; database_lines.h).
bool HoldableName(std::u16string_view name);

}  // namespace vx::index
