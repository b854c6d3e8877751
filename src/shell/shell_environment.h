// What the windows take from outside: the dialog runner, the browser opener and the start-up
// checks. Tests pass their own to answer dialogs and to keep a browser from opening.
#pragma once

#include <QString>
#include <functional>
#include <string>

namespace vx::shell {

class DialogRunner;

struct ShellEnvironment {
    DialogRunner* runner = nullptr;
    // Opens a local file (host path) in the desktop's default program.
    std::function<void(const QString& hostPath)> openFile;
    // The working folder lies on a CD/DVD (the file-system type of the host folder).
    std::function<bool(const std::string& hostFolder)> isOpticalDrive;
    std::function<bool()> xmlParserAvailable;
    std::function<bool()> isAdministrator;
    // Ends the process at once (the refusal to run from a CD/DVD).
    std::function<void(int exitCode)> terminate;
};

// The environment of the real program: QDesktopServices, statfs, uid 0, std::exit.
ShellEnvironment DesktopEnvironment(DialogRunner& runner);

}  // namespace vx::shell
