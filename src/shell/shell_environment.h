// What the window program takes from outside: the dialog runner, the browser opener and the
// start-up checks. Tests pass their own to answer dialogs and to keep a browser from opening.
#pragma once

#include <QString>
#include <functional>
#include <string>

namespace vx::shell {

class DialogRunner;

struct ShellEnvironment {
    DialogRunner* runner = nullptr;
    // Opens a local file (host path) in the desktop's default program without waiting for it;
    // calls failed on the user-interface thread when no program could open it.
    std::function<void(const QString& hostPath, std::function<void()> failed)> openFile;
    // The installed manual, which the program copies into a working folder without one; empty
    // when none is installed.
    QString manualFile;
    // The working folder lies on a CD/DVD (the file-system type of the host folder).
    std::function<bool(const std::string& hostFolder)> isOpticalDrive;
    std::function<bool()> xmlParserAvailable;
    std::function<bool()> isAdministrator;
    // Ends the process at once (the refusal to run from a CD/DVD).
    std::function<void(int exitCode)> terminate;
};

// The environment of the real program: xdg-open, the manual beside the program, statfs, uid 0,
// std::exit.
ShellEnvironment DesktopEnvironment(DialogRunner& runner);

// The manual installed with the program: <prefix>/share/vantor-xml/Vantor_XML.pdf for the
// program in <prefix>/bin, or the one of the build folder; empty when there is none.
QString InstalledManual();

}  // namespace vx::shell
