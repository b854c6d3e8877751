#include "shell/shell_environment.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <cstdlib>
#include <thread>

#include "indexing/xml_text.h"
#include "platform/desktop_open.h"
#include "shell/startup_checks.h"

namespace vx::shell {

QString InstalledManual() {
    const QString programFolder = QCoreApplication::applicationDirPath();
    for (const QString& relative : {QStringLiteral("/../share/vantor-xml/Vantor_XML.pdf"),
                                    QStringLiteral("/../../doc/Vantor_XML.pdf")}) {
        const QFileInfo manual(programFolder + relative);
        if (manual.isFile()) return manual.canonicalFilePath();
    }
    return {};
}

ShellEnvironment DesktopEnvironment(DialogRunner& runner) {
    ShellEnvironment environment;
    environment.runner = &runner;
    environment.openFile = [](const QString& hostPath, std::function<void()> failed) {
        // The opener may take seconds to fail (or never end): it is watched off the window's
        // thread.
        std::thread([path = QFile::encodeName(hostPath).toStdString(), failed = std::move(failed)] {
            if (platform::OpenWithDesktop(path)) return;
            if (QCoreApplication* app = QCoreApplication::instance()) {
                QMetaObject::invokeMethod(app, failed, Qt::QueuedConnection);
            }
        }).detach();
    };
    environment.manualFile = InstalledManual();
    environment.isOpticalDrive = IsOnOpticalDrive;
    environment.xmlParserAvailable = indexing::XmlParserAvailable;
    environment.isAdministrator = IsAdministratorUser;
    environment.terminate = [](int code) { std::exit(code); };
    return environment;
}

}  // namespace vx::shell
