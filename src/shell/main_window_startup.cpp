// Start-up (window creation and first paint) and shutdown of the main window.
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include "indexing/data_folders.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "shell/background_task.h"
#include "shell/button_captions.h"
#include "shell/database_list_box.h"
#include "shell/database_rows.h"
#include "shell/main_window.h"
#include "shell/qt_host.h"
#include "shell/search_dialog.h"
#include "shell/settings_dialog.h"
#include "shell/settings_store.h"

namespace vx::shell {
namespace {

std::u16string Setting(const std::u16string& name) {
    return LeseRegKey(kRegKey, name);
}

// A stored size; the default when it is absent or not a whole number.
int StoredSize(const std::u16string& name, int fallback) {
    int64_t value = 0;
    const std::u16string text = Setting(name);
    if (text.empty() || !platform::ParseInt(text, value) || value < 0 || value > 100000) {
        return fallback;
    }
    return static_cast<int>(value);
}

}  // namespace

void MainWindow::RunCreationSteps() {
    // First start: the stored values a new installation begins with.
    if (Setting(kSelectedDatabase).empty()) {
        WriteSetting(kSelectedDatabase, u"-1");
        WriteSetting(kBackgroundColour, u"$00400080");
        WriteSetting(kNoticeColour, u"clWhite");
        WriteSetting(kHeight, u"535");
        WriteSetting(kWidth, u"1024");
        WriteSetting(kSearchHeight, u"535");
        WriteSetting(kSearchWidth, u"1024");
    }
    // The default width: 1024 pixels, or the screen's when it is narrower.
    defaultWidth_ = 1024;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        if (screen->geometry().width() <= 1024) defaultWidth_ = screen->geometry().width();
    }
    selectedIndex_ = 0;
    searchedIndex_ = 0;
    // The status fields start empty; the current-file field is hidden until a run shows it.
    SetCurrentFileVisible(false);
    SetCurrentFile({});
    SetStatusLine({});
    SetTotalsLine({});
    SetProgressLine({});
    // The working folder and its data folders (the word index belongs to the indexing commands).
    folders_ = platform::WorkingFolders::FromEnvironment();
    // A working folder on an optical drive cannot hold databases.
    const std::string hostFolder = platform::ToHostPath(folders_.working);
    if (environment_.isOpticalDrive && environment_.isOpticalDrive(hostFolder)) {
        Message(MessageKind::Plain, QStringLiteral("Vantor-XML"),
                QStringLiteral("Das Indizierungs-Programm Vantor kann nicht von CD/DVD gestartet "
                               "werden, sondern nur von Festplatte, Wechseldatenträger, "
                               "Speicherstick ...!"));
        refused_ = true;
        firstPaintPending_ = false;
        shutDown_ = true;  // nothing is stored when the start is refused
        if (environment_.terminate) environment_.terminate(0);
        return;
    }
    indexing::EnsureDataFolders(*host_, folders_);
    PlaceManual();
    // The window sizes stored by the last session.
    height_ = StoredSize(kHeight, 534);
    width_ = StoredSize(kWidth, defaultWidth_);
    searchHeight_ = StoredSize(kSearchHeight, 535);
    searchWidth_ = StoredSize(kSearchWidth, defaultWidth_);
}

void MainWindow::AttachDialogs(NewDatabaseDialog* newDatabase, SearchDialog* search,
                               SettingsDialog* settings, NoticeWindow* notice) {
    newDatabase_ = newDatabase;
    search_ = search;
    settings_ = settings;
    notice_ = notice;
}

void MainWindow::FirstPaint() {
    if (!firstPaintPending_) return;
    firstPaintPending_ = false;
    patienceLabel_->clear();
    // Colours and the clipboard option from the settings.
    const std::u16string farbe = Setting(kBackgroundColour);
    const std::optional<Colour> background = farbe.empty() ? std::nullopt : TextToColour(farbe);
    if (background) {
        backgroundText_ = farbe;
        ApplyBackground(
            *background, true,
            *background != kDefaultBackground ? std::optional<bool>(true) : std::nullopt);
    } else {
        ApplyBackground(kDefaultBackground, true, std::nullopt);
    }
    std::u16string notice = Setting(kNoticeColour);
    if (notice.empty()) notice = u"ClBlack";
    noticeColourText_ = notice;
    ApplyNoticeColour(TextToColour(notice).value_or(kBlack));
    const std::u16string clipboard = Setting(kCopyToClipboard);
    int64_t clipboardValue = 0;
    if (!clipboard.empty() && settings_ != nullptr) {
        settings_->SetCopyToClipboard(platform::ParseInt(clipboard, clipboardValue) &&
                                      clipboardValue == 1);
    }
    // The stored size: the height first, then the width.
    resize(width(), height_);
    resize(width_, height());
    // The database list, with the row selected last time.
    LiesNamenDatenbanken(false, {});
    WatchDatabaseFolder();
    const int rows = databaseList_->count();
    const int row = FirstPaintRow(Setting(kSelectedDatabase), rows);
    if (row >= 0) {
        databaseList_->SelectRow(row);
        selectedDatabaseName_ = databaseList_->RowText(row);
        selectedIndex_ = row;
        searchedIndex_ = row;
    }
    // The search dialog: its history and size.
    if (search_ != nullptr) {
        search_->LoadHistory(folders_.working + u"Suchwoerterliste.txt");
        search_->resize(search_->width(), searchHeight_);
        search_->resize(searchWidth_, search_->height());
    }
    closeButton_->setText(kCloseCaption);
    // Without an XML parser nothing can be indexed: the user is told at once.
    if (environment_.xmlParserAvailable && !environment_.xmlParserAvailable()) {
        Message(MessageKind::Information, QStringLiteral("Information"),
                QStringLiteral("Auf Ihrem System ist leider kein MSXML6 installiert.\r\n"
                               "MSXML6 ist normalerweise bei Windows ab XP SP3 mit dabei!"));
    }
    isAdministrator_ = environment_.isAdministrator && environment_.isAdministrator();
}

void MainWindow::Shutdown() {
    if (shutDown_) return;
    shutDown_ = true;
    if (task_->Busy()) {
        // The run stops at its next step and saves what it has.
        RunSwitch(flags_).StopForExit();
        task_->WaitProcessingEvents();
    }
    const int rows = databaseList_->count();
    int selected = databaseList_->SelectedRow();
    if (rows == 0) {
        selected = -1;
    } else if (selected < 0) {
        selected = 0;
    }
    WriteSetting(kSelectedDatabase, platform::IntText(selected));
    if (Setting(kBackgroundColour).empty()) WriteSetting(kBackgroundColour, u"$00400080");
    WriteSetting(kHeight, platform::IntText(height()));
    WriteSetting(kWidth, platform::IntText(width()));
    if (search_ != nullptr) {
        WriteSetting(kSearchHeight, platform::IntText(search_->height()));
        WriteSetting(kSearchWidth, platform::IntText(search_->width()));
    }
}

}  // namespace vx::shell
