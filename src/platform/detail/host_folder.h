// Reading a folder by its host path, for the walks of the tree watch.
#pragma once

#include <dirent.h>

#include <memory>
#include <string>
#include <vector>

namespace vx::platform::detail {

struct HostEntry {
    std::string name;
    bool isDirectory = false;  // a folder, or a symbolic link to one
};

// An open folder, closed with the pointer.
using HostFolderStream = std::unique_ptr<DIR, int (*)(DIR*)>;
// Opens the folder for reading its entries; nullptr when it cannot be opened (errno tells why).
inline HostFolderStream OpenHostFolder(const std::string& folder) {
    return HostFolderStream(opendir(folder.c_str()), closedir);
}

// The files and folders of a folder except "." and "..", in the order the system gives them. A
// symbolic link comes as what it leads to (a broken one is left out), and so do pipes, sockets
// and devices. False when the folder cannot be read (errno tells why).
bool ReadHostFolder(const std::string& folder, std::vector<HostEntry>& entries);

// "/a/b" + "c" -> "/a/b/c" (the root "/" takes no second slash).
std::string HostChild(const std::string& folder, const std::string& name);

}  // namespace vx::platform::detail
