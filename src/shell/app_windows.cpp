#include "shell/app_windows.h"

#include "shell/main_window.h"
#include "shell/new_database_dialog.h"
#include "shell/notice_window.h"
#include "shell/search_dialog.h"
#include "shell/settings_dialog.h"

namespace vx::shell {

AppWindows CreateAppWindows(const ShellEnvironment& environment) {
    AppWindows windows;
    windows.main = std::make_unique<MainWindow>(environment);
    if (windows.main->Refused()) return windows;
    MainWindow& main = *windows.main;
    windows.newDatabase = new NewDatabaseDialog(main);
    windows.search = new SearchDialog(main);
    windows.settings = new SettingsDialog(main);
    windows.notice = new NoticeWindow(&main, environment.runner);
    main.AttachDialogs(windows.newDatabase, windows.search, windows.settings, windows.notice);
    return windows;
}

}  // namespace vx::shell
