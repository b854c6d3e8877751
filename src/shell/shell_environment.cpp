#include "shell/shell_environment.h"

#include <QDesktopServices>
#include <QUrl>
#include <cstdlib>

#include "indexing/xml_text.h"
#include "shell/startup_checks.h"

namespace vx::shell {

ShellEnvironment DesktopEnvironment(DialogRunner& runner) {
    ShellEnvironment environment;
    environment.runner = &runner;
    environment.openFile = [](const QString& hostPath) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(hostPath));
    };
    environment.isOpticalDrive = IsOnOpticalDrive;
    environment.xmlParserAvailable = indexing::XmlParserAvailable;
    environment.isAdministrator = IsAdministratorUser;
    environment.terminate = [](int code) { std::exit(code); };
    return environment;
}

}  // namespace vx::shell
