// vantor-xml: the window program of the search engine, in the current folder (the working folder).
// --help and --version print and end; other arguments are ignored.
#include <QApplication>
#include <QIcon>
#include <QStyleFactory>
#include <cstdio>
#include <cstring>

#include "shell/app_windows.h"
#include "shell/dialog_runner.h"
#include "shell/main_window.h"
#include "shell/qt_translations.h"

#ifndef VX_VERSION
#define VX_VERSION "0"
#endif

namespace {

// Answers --help and --version before any window (or display) is needed; true when one was
// answered.
bool AnswerInformationOptions(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("vantor-xml (Vantor-XML) %s\n", VX_VERSION);
            return true;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::printf(
                "Aufruf: vantor-xml\n"
                "Vantor-XML - Die lokale Suchmaschine für XML-Dokumente. Das Programm arbeitet im\n"
                "aktuellen Verzeichnis: Dort liegen Datenbank/, XML_Texte/, die Ergebnisseite\n"
                "VT_Ergebnis.htm und das Handbuch Vantor_XML.pdf (Schalter \"?\").\n"
                "Für Skripte: vantor-xml-cli --help. Kurzbeschreibung: man vantor-xml.\n");
            return true;
        }
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (AnswerInformationOptions(argc, argv)) return 0;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantor-XML"));
    QApplication::setApplicationVersion(QStringLiteral(VX_VERSION));
    // Matches the installed vantor-xml.desktop, so desktops show its name and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("vantor-xml"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/vantor-xml.png")));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    vx::shell::InstallGermanQtTranslations(app);
    vx::shell::InteractiveDialogRunner runner;
    vx::shell::AppWindows windows =
        vx::shell::CreateAppWindows(vx::shell::DesktopEnvironment(runner));
    if (windows.main->Refused()) return 0;
    windows.main->show();
    const int code = QApplication::exec();
    windows.main.reset();  // stores the selection and the sizes
    return code;
}
