// Writes PNG pictures of the windows for the documentation and for a look at the layout:
// creates two databases in the current folder through the window program (the dialogs answered in
// code), then grabs the main window, the search dialog with a loaded word list, the
// new-database dialog and the settings dialog; then starts a third database over the folder
// "viele" of the documents folder and grabs the notice window and the main window while that
// run works. Usage: shell_screenshots <documents folder> <output folder>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyleFactory>
#include <QTimer>
#include <cstdio>
#include <functional>

#include "indexing/commands.h"
#include "platform/paths.h"
#include "shell/app_windows.h"
#include "shell/database_list_box.h"
#include "shell/dialog_runner.h"
#include "shell/main_window.h"
#include "shell/new_database_dialog.h"
#include "shell/notice_window.h"
#include "shell/qt_translations.h"
#include "shell/search_dialog.h"
#include "shell/settings_dialog.h"
#include "shell/word_list_view.h"
#include "test_support.h"

namespace {

bool Save(QWidget& widget, const QString& file) {
    QApplication::processEvents();
    const bool ok = widget.grab().save(file, "PNG");
    std::fprintf(stderr, "%s %s\n", ok ? "wrote" : "could not write", qPrintable(file));
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    vx::shell::InstallGermanQtTranslations(app);
    if (argc != 3) {
        std::fprintf(stderr, "usage: shell_screenshots <documents folder> <output folder>\n");
        return 2;
    }
    const QString documents = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    const QString output = QDir(QString::fromLocal8Bit(argv[2])).absolutePath();
    QDir().mkpath(output);

    vx::shell::test::ScriptedRunner runner;
    runner.echoMessages = true;
    vx::shell::ShellEnvironment environment = vx::shell::DesktopEnvironment(runner);
    environment.openFile = [](const QString&, const std::function<void()>&) {};
    vx::shell::AppWindows windows = vx::shell::CreateAppWindows(environment);
    vx::shell::MainWindow& main = *windows.main;
    main.show();
    while (!main.FirstPaintDone()) QApplication::processEvents(QEventLoop::AllEvents, 50);

    // Two databases over the documents folder (without its bulk folder "viele").
    QSignalSpy finished(&main, &vx::shell::MainWindow::CommandFinished);
    auto fillDialog = [&](const QString& name, const QString& folder) {
        runner.dialogs.push_back([&, name, folder](QDialog&) {
            windows.newDatabase->SetNameText(name.toStdU16String());
            windows.newDatabase->SetFolderText(vx::platform::ToWindowsPath(folder.toStdString()));
            windows.newDatabase->OkButton()->click();
            return windows.newDatabase->result();
        });
    };
    for (const QString& name : {QStringLiteral("Handbuch"), QStringLiteral("Projekte")}) {
        fillDialog(name,
                   documents + (name == QStringLiteral("Handbuch") ? QStringLiteral("/handbuch")
                                                                   : QStringLiteral("/berichte")));
        runner.dialogs.push_back([&](QDialog&) {
            windows.notice->YesButton()->click();
            return windows.notice->result();
        });
        main.NeuErstellenBtnClick();
        if (!finished.wait(600000)) return 1;
    }
    bool ok = Save(main, output + QStringLiteral("/main-window.png"));

    windows.search->SetSearchText(u"haus baum");
    windows.search->show();
    windows.search->SuchbegriffeLaden();
    windows.search->FilterField()->setText(QStringLiteral("Ha"));
    ok = Save(*windows.search, output + QStringLiteral("/search-dialog.png")) && ok;
    windows.search->hide();

    // The tree shows the documents folder (not the machine's temporary folders).
    windows.newDatabase->ShowDrive(documents.toStdString());
    windows.newDatabase->SetNameText(u"Neue Sammlung");
    windows.newDatabase->SetFolderText(u"/srv/akten/2024");  // a Linux path, as typed
    windows.newDatabase->show();
    ok = Save(*windows.newDatabase, output + QStringLiteral("/new-database-dialog.png")) && ok;
    windows.newDatabase->hide();

    windows.settings->PrepareShow();
    windows.settings->show();
    ok = Save(*windows.settings, output + QStringLiteral("/settings-dialog.png")) && ok;
    windows.settings->hide();

    // A long run: the notice before it, and the main window while it works; then cancelled.
    fillDialog(QStringLiteral("Archiv"), documents + QStringLiteral("/viele"));
    runner.dialogs.push_back([&](QDialog&) {
        windows.notice->show();
        ok = Save(*windows.notice, output + QStringLiteral("/notice-window.png")) && ok;
        windows.notice->YesButton()->click();
        return windows.notice->result();
    });
    main.IndexingEngine().SetOptions({vx::indexing::kDefaultChunkSize, 0});
    main.NeuErstellenBtnClick();
    // Caught at work: a document in the current-file field and the elapsed time ticking.
    const QDeadlineTimer deadline(120000);
    while (!deadline.hasExpired() && main.CommandBusy() &&
           (!main.CurrentFileField()->isVisible() || main.CurrentFileField()->text().isEmpty() ||
            main.ElapsedText().empty() || main.ElapsedText() == u"0:0:0")) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    const bool working = main.Flags().running;
    if (!working) std::fprintf(stderr, "the run ended before its picture\n");
    ok = Save(main, output + QStringLiteral("/main-window-running.png")) && working && ok;
    if (main.Flags().running) main.BitBtn2Click();  // cancels; the run saves what it has
    if (main.CommandBusy() && !finished.wait(600000)) return 1;

    windows.main.reset();
    return ok ? 0 : 1;
}
