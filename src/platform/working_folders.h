// The data folders of the program, all in Windows form.
#pragma once

#include <string>

namespace vx::platform {

struct WorkingFolders {
    std::u16string working;   // the current directory at start-up, ending with "\"
    std::u16string database;  // working + "Datenbank" (no trailing backslash)
    std::u16string chunk;     // working + "Datenbank\Temp" (no trailing backslash)
    std::u16string textCopy;  // working + "XML_Texte\" (ending with "\")
    std::u16string zipTemp;   // $XDG_DATA_HOME (default ~/.local/share) + "\ZipTemp\"

    // Derives every folder from the working folder (creates nothing).
    static WorkingFolders From(std::u16string_view workingFolder, std::u16string_view zipTemp);
    // From the process's current directory and the user's data folder.
    static WorkingFolders FromEnvironment();
};

}  // namespace vx::platform
