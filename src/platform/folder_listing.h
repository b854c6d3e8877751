// Folder listing with Windows wildcard masks, in a fixed order.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vx::platform {

struct FolderEntry {
    std::u16string name;       // as on disk (UTF-8 decoded)
    bool nameReadable = true;  // the name's bytes are UTF-8, so the name leads back to the entry
    bool isDirectory = false;  // a folder, or a symbolic link to one
    bool isSymlink = false;    // the entry itself is a symbolic link
    uint64_t size = 0;
    int32_t dosTime = 0;  // last-write time, packed DOS date/time in local time
    // Identity of the folder the entry leads to (after following links), to detect loops.
    uint64_t device = 0;
    uint64_t inode = 0;
};

// Matches a name against a mask with "*" and "?" without regard to letter case.
bool MatchesMask(std::u16string_view name, std::u16string_view mask);

// True when Windows would also select the name through the short (8.3) alias it gives a long
// name: a mask "*.abc" (three characters, no wildcard) also selects names whose extension is
// longer and begins with "abc" without regard to case ("daten.xmlx" for "*.xml", whose alias is
// "DATEN~1.XML").
bool MatchesShortNameMask(std::u16string_view name, std::u16string_view mask);

// Entries of the folder whose names match the mask ("*.xml", "*.txt", "*.*", "*"), except "."
// and "..". Files and folders both come; callers pick. Sorted by the upper-cased name, code unit
// by code unit, so the order is the same on every run and machine. A folder that cannot be read
// yields an empty list. A name matches by MatchesMask or by MatchesShortNameMask. A symbolic
// link is reported with what it leads to; a broken one as a file of size 0 with the link's own
// time. Entries that are neither files nor folders (pipes, sockets, devices) are left out, since
// opening them could block.
std::vector<FolderEntry> ListFolder(std::u16string_view folder, std::u16string_view mask);

// Identity (device, inode) of an existing folder; false when it does not exist.
bool FolderIdentity(std::u16string_view folder, uint64_t& device, uint64_t& inode);

}  // namespace vx::platform
