// A file as the walks of a folder tree meet it.
#pragma once

#include <string>

#include "platform/folder_listing.h"

namespace vx::indexing {

struct WalkItem {
    std::u16string folder;    // without trailing "\"
    std::u16string fullPath;  // folder + "\" + name
    platform::FolderEntry entry;
    // The folder and path as the database stores them (index/stored_names.h): names that
    // upper-casing would merge with an earlier one are escaped. Empty for a name that cannot be
    // stored (entry.nameReadable false, or not HoldableName).
    std::u16string storedFolder;
    std::u16string storedPath;
    bool prefetched = false;  // its extraction was started ahead
};

}  // namespace vx::indexing
