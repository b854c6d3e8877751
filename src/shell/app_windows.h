// The windows of the program, created in their start-up order.
#pragma once

#include <memory>

#include "shell/shell_environment.h"

namespace vx::shell {

class MainWindow;
class NewDatabaseDialog;
class NoticeWindow;
class SearchDialog;
class SettingsDialog;

struct AppWindows {
    std::unique_ptr<MainWindow> main;
    // Owned by the main window.
    NewDatabaseDialog* newDatabase = nullptr;
    SearchDialog* search = nullptr;
    SettingsDialog* settings = nullptr;
    NoticeWindow* notice = nullptr;
};

// The main window (its creation steps run now), then the hidden dialogs. When the start was
// refused (CD/DVD) only the main window exists.
AppWindows CreateAppWindows(const ShellEnvironment& environment);

}  // namespace vx::shell
