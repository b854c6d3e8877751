// vantor-xml: the windows of the search engine. No command-line arguments.
#include <QApplication>
#include <QStyleFactory>

#include "shell/app_windows.h"
#include "shell/dialog_runner.h"
#include "shell/main_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantor-XML"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    vx::shell::InteractiveDialogRunner runner;
    vx::shell::AppWindows windows =
        vx::shell::CreateAppWindows(vx::shell::DesktopEnvironment(runner));
    if (windows.main->Refused()) return 0;
    windows.main->show();
    const int code = QApplication::exec();
    windows.main.reset();  // stores the selection and the sizes
    return code;
}
