// The database list of the main window: reading it and the selection rules.
#include "indexing/database_names.h"
#include "platform/ansi.h"
#include "platform/text.h"
#include "shell/database_list_box.h"
#include "shell/database_rows.h"
#include "shell/main_window.h"
#include "shell/settings_store.h"

namespace vx::shell {

void MainWindow::LiesNamenDatenbanken(bool updateMode, const std::u16string& nameToSelect) {
    const std::vector<std::u16string> rows = ReadDatabaseRows(folders_.database);
    databaseList_->SetRows(rows);
    std::u16string stored = LeseRegKey(kRegKey, kSelectedDatabase);
    if (stored.empty()) stored = u"0";
    if (updateMode) {
        int64_t index = -1;
        if (!rows.empty() && platform::ParseInt(stored, index) && index >= 0 &&
            index < static_cast<int64_t>(rows.size())) {
            databaseList_->SelectRow(static_cast<int>(index));
        }
        return;
    }
    // After a create run: the row of the database just created.
    // The rows hold ANSI text, so the name is compared in that form too.
    const int row = indexing::RowToSelectAfterCreate(
        rows, platform::AnsiToWide(platform::WideToAnsi(nameToSelect)));
    if (row >= 0) {
        databaseList_->SelectRow(row);
        ListBox1Click();
    }
}

void MainWindow::ListBox1Click() {
    if (RunSwitch(flags_).Busy()) {
        // The selection is held during a run.
        databaseList_->SelectRow(searchedIndex_);
        return;
    }
    const int row = databaseList_->SelectedRow();
    if (row < 0) return;
    selectedIndex_ = row;
    selectedDatabaseName_ = databaseList_->RowText(row);
    WriteSetting(kSelectedDatabase, platform::IntText(selectedIndex_));
}

}  // namespace vx::shell
