#include "platform/working_folders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/paths.h"

namespace vx::platform {

namespace {

// The user's data folder: $XDG_DATA_HOME when it is an absolute path, else $HOME/.local/share.
std::string DataHome() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg != nullptr && xdg[0] == '/') return xdg;
    std::string home;
    if (const char* h = std::getenv("HOME"); h != nullptr && h[0] == '/') {
        home = h;
    } else if (const passwd* pw = getpwuid(getuid()); pw != nullptr && pw->pw_dir != nullptr) {
        home = pw->pw_dir;
    }
    if (home.empty()) return "/tmp";
    return home + "/.local/share";
}

}  // namespace

WorkingFolders WorkingFolders::From(std::u16string_view workingFolder,
                                    std::u16string_view zipTemp) {
    WorkingFolders f;
    f.working = WithTrailingBackslash(workingFolder);
    f.database = f.working + u"Datenbank";
    f.chunk = f.working + u"Datenbank\\Temp";
    f.textCopy = f.working + u"XML_Texte\\";
    f.zipTemp = WithTrailingBackslash(zipTemp);
    return f;
}

WorkingFolders WorkingFolders::FromEnvironment() {
    std::u16string data = ToWindowsPath(DataHome());
    while (data.size() > 3 && data.back() == u'\\') data.pop_back();
    return From(CurrentDirectory(), WithTrailingBackslash(data) + u"ZipTemp\\");
}

}  // namespace vx::platform
