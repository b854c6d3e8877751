// What the window reads again when another program changes the database folder.
#include <QFileSystemWatcher>
#include <QTimer>

#include "platform/paths.h"
#include "shell/database_list_box.h"
#include "shell/database_rows.h"
#include "shell/main_window.h"
#include "shell/search_dialog.h"

namespace vx::shell {

namespace {

// A run replaces several files; the window reads them once the folder has been quiet this long.
constexpr int kQuietMs = 300;

}  // namespace

void MainWindow::WatchDatabaseFolder() {
    auto* const quiet = new QTimer(this);
    quiet->setSingleShot(true);
    quiet->setInterval(kQuietMs);
    connect(quiet, &QTimer::timeout, this, &MainWindow::DatabaseFilesChanged);
    auto* const watch = new QFileSystemWatcher(this);
    watch->addPath(QString::fromStdString(platform::ToHostPath(folders_.database)));
    connect(watch, &QFileSystemWatcher::directoryChanged, quiet, qOverload<>(&QTimer::start));
}

void MainWindow::DatabaseFilesChanged() {
    // The window's own runs show what they changed when they end.
    if (CommandBusy() || flags_.running || flags_.updateRunning) return;
    // While the search dialog is open its database stays selected.
    if (!flags_.searchActive) {
        std::vector<std::u16string> shown;
        shown.reserve(static_cast<std::size_t>(databaseList_->count()));
        for (int row = 0; row < databaseList_->count(); ++row) {
            shown.push_back(databaseList_->RowText(row));
        }
        if (ReadDatabaseRows(folders_.database) != shown) {
            LiesNamenDatenbanken(false, selectedDatabaseName_);
        }
    }
    if (search_ != nullptr) search_->ReloadChangedWordList();
}

}  // namespace vx::shell
