// The three commands of the main window. The dialogs run on this thread; the engine part of a
// command runs on the worker thread and reports through the host.
#include <QCoreApplication>
#include <QDialog>
#include <QPushButton>

#include "indexing/commands.h"
#include "search/search_run.h"
#include "shell/background_task.h"
#include "shell/button_captions.h"
#include "shell/database_list_box.h"
#include "shell/dialog_runner.h"
#include "shell/main_window.h"
#include "shell/new_database_dialog.h"
#include "shell/qt_host.h"
#include "shell/qt_text.h"
#include "shell/search_dialog.h"

namespace vx::shell {

indexing::IndexingCommands& MainWindow::Commands() {
    if (!commands_)
        commands_ = std::make_unique<indexing::IndexingCommands>(*host_, flags_, folders_);
    return *commands_;
}

bool MainWindow::CommandBusy() const {
    return task_->Busy();
}

void MainWindow::RunInBackground(std::function<void()> work, std::function<void()> then) {
    task_->Start(std::move(work), [this, then = std::move(then)](const std::string& error) {
        if (!error.empty()) ReportCommandError(error);
        then();
        emit CommandFinished();
    });
}

void MainWindow::ReportCommandError(const std::string& error) {
    // The command ends; the window returns to idle.
    SetPatienceIndicator(false);
    StopElapsedDisplay();
    ShowRunControls(RunControls::Idle);
    RunSwitch(flags_).EndAfterFailure();
    Message(MessageKind::Error, QStringLiteral("Fehler"), QString::fromStdString(error));
}

void MainWindow::RefreshDatabaseListAfterRun() {
    LiesNamenDatenbanken(updateMode_, newDatabase_ != nullptr ? newDatabase_->NameText() : u"");
}

void MainWindow::PrepareCreate() {
    RunSwitch(flags_).ClearRequests();
    if (search_ != nullptr) search_->ClearWordList();
    if (newDatabase_ != nullptr) newDatabase_->SetFolderText({});
    SetStatusLine({});
    SetTotalsLine({});
    SetProgressLine({});
    if (newDatabase_ != nullptr) {
        newDatabase_->SetNameText({});
        newDatabase_->SetMaskText(u"*.xml");
    }
}

bool MainWindow::RunNewDatabaseDialog(bool updateMode) {
    if (newDatabase_ == nullptr) return false;
    newDatabase_->SetUpdateMode(updateMode);
    return Runner().RunModal(*newDatabase_) == QDialog::Accepted;
}

void MainWindow::FinishCommand(bool updateMode, const std::u16string& name,
                               indexing::CommandOutcome outcome) {
    switch (outcome) {
        case indexing::CommandOutcome::Done:
        case indexing::CommandOutcome::Failed:
            // The files on disk changed (or may have): the list is read again.
            LiesNamenDatenbanken(updateMode, name);
            break;
        case indexing::CommandOutcome::Refused:
            // Nothing was written; the selection stays (a create re-selects the current row).
            if (!updateMode) ListBox1Click();
            break;
        case indexing::CommandOutcome::Declined:
        case indexing::CommandOutcome::Busy:
            break;
    }
    updateMode_ = false;
}

void MainWindow::NeuErstellenBtnClick() {
    if (task_->Busy()) return;  // one command at a time
    PrepareCreate();
    updateMode_ = false;
    if (!RunNewDatabaseDialog(false)) return;
    const std::u16string name = newDatabase_->NameText();
    const std::u16string folder = newDatabase_->FolderText();
    auto result = std::make_shared<indexing::CommandResult>();
    RunInBackground([this, name, folder, result] { *result = Commands().Create(name, folder); },
                    [this, name, result] { FinishCommand(false, name, result->outcome); });
}

void MainWindow::ErneutIndiziereBtnClick() {
    if (task_->Busy()) return;
    RunSwitch(flags_).ClearRequests();
    updateMode_ = true;
    const int row = databaseList_->SelectedRow();
    const std::u16string selected = row >= 0 ? databaseList_->RowText(row) : std::u16string();
    const int rows = databaseList_->count();
    // The dialog of the re-index command, asked from the worker thread.
    indexing::ReindexDialog dialog = [this](const std::u16string& name, std::u16string& folder) {
        bool accepted = false;
        QMetaObject::invokeMethod(
            this,
            [this, &name, &folder, &accepted] {
                // Only a command that goes on to the dialog resets the window.
                PrepareCreate();
                newDatabase_->SetNameText(name);
                newDatabase_->SetFolderText(folder);
                newDatabase_->SetMaskText(u"*.xml");
                accepted = RunNewDatabaseDialog(true);
                if (accepted) folder = newDatabase_->FolderText();
            },
            Qt::BlockingQueuedConnection);
        return accepted;
    };
    auto result = std::make_shared<indexing::CommandResult>();
    RunInBackground([this, selected, rows, dialog,
                     result] { *result = Commands().Reindex(selected, rows, dialog); },
                    [this, selected, result] {
                        SetCloseButton(kCloseCaption, closeButton_->isEnabled());
                        FinishCommand(true, selected, result->outcome);
                    });
}

void MainWindow::SuchenBtnClick() {
    if (task_->Busy() || search_ == nullptr) return;
    SetStatusLine({});
    SetTotalsLine({});
    SetProgressLine({});
    SetCurrentFile({});
    RunSwitch(flags_).StartSearch();
    const int row = databaseList_->SelectedRow();
    if (row < 0) {
        Message(MessageKind::Information, QStringLiteral("Information"),
                databaseList_->count() > 0
                    ? QStringLiteral("Markieren Sie eine Datenbank und betätigen Sie dann "
                                     "nochmal den Suchen Schalter!")
                    : QStringLiteral("Es existiert noch keine Datenbank! "));
        RunSwitch(flags_).EndSearch();
        return;
    }
    const std::u16string database = databaseList_->RowText(row);
    search_->SetSearchText({});
    if (selectedIndex_ != searchedIndex_) {
        search_->ClearWordList();
        searchedIndex_ = selectedIndex_;
    }
    search_->HideHistory();
    if (Runner().RunModal(*search_) != QDialog::Accepted) {
        RunSwitch(flags_).EndSearch();
        return;
    }
    RunSwitch(flags_).StartSearch();
    browserFailureShown_ = false;
    if (!searchRun_) {
        searchRun_ =
            std::make_unique<search::SearchRun>(*host_, flags_, folders_, search_->History());
    }
    const std::u16string text = search_->SearchText();
    const search::SearchOptions options = search_->Options();
    auto result = std::make_shared<search::SearchResult>();
    RunInBackground([this, text, options, database,
                     result] { *result = searchRun_->Run(text, options, database); },
                    [this, result] {
                        search_->RefreshHistoryList();
                        SetCloseButton(kCloseCaption, true);
                        if (result->outcome == search::SearchOutcome::DamagedDatabase) {
                            Message(MessageKind::Warning, Q(search::kDamagedDatabaseCaption),
                                    Q(search::kDamagedDatabaseMessage));
                            shutDown_ = true;  // the program ends at once, without storing anything
                            if (environment_.terminate) environment_.terminate(0);
                        }
                    });
}

}  // namespace vx::shell
