// Windows-form paths on the Linux host. The engine builds and stores paths exactly as on Windows
// (drive letter, backslashes); drive Z: is the Linux root "/". A path that does not exist as
// written is resolved component by component without regard to letter case.
#pragma once

#include <string>
#include <string_view>

namespace vx::platform {

// "Z:\home\a\x.xml" -> "/home/a/x.xml" (UTF-8), with the letter case found on disk for every
// component that exists only in another case. Doubled separators count as one; "/" is accepted
// as a separator too. A path on another drive letter, or one that is not absolute, yields "".
std::string ToHostPath(std::u16string_view windowsPath);
// The host form of the path with every component exactly as written, also where an entry of
// another letter case exists (for files the engine names itself); "" as for ToHostPath.
std::string ToHostPathAsWritten(std::u16string_view windowsPath);
// "/home/a/x.xml" -> "Z:\home\a\x.xml". Bytes that are not UTF-8 decode as U+FFFD.
std::u16string ToWindowsPath(std::string_view hostPath);
// The process's current directory in Windows form, without a trailing backslash ("Z:\work").
std::u16string CurrentDirectory();
// Forgets the cached folder listings used for case-insensitive resolution (after the engine
// created, renamed or deleted entries the cache may hold stale listings; it re-reads a folder
// whose modification time changed, so calling this is only needed in tests).
void ClearPathCache();

// File-name helpers on Windows-form paths (the separator is "\").
// Folder part without the trailing backslash ("C:\a\b.xml" -> "C:\a").
std::u16string_view FolderOf(std::u16string_view path);
// Name after the last backslash.
std::u16string_view NameOf(std::u16string_view path);
// Extension with its dot as written in the name ("a.xml.Xml" -> ".Xml"), "" when none.
std::u16string_view ExtensionOf(std::u16string_view path);
// Appends a backslash unless the text already ends with one.
std::u16string WithTrailingBackslash(std::u16string_view path);

}  // namespace vx::platform
