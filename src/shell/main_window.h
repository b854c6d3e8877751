// The main window: the database list, the three commands, the close/cancel button and the
// status area with its patience indicator and elapsed-time display.
#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/host.h"
#include "platform/working_folders.h"
#include "shell/anchored_layout.h"
#include "shell/colour_text.h"
#include "shell/shell_environment.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QFrame;
class QTimer;

namespace vx::indexing {
class IndexingCommands;
enum class CommandOutcome;
}  // namespace vx::indexing
namespace vx::search {
class SearchRun;
}

namespace vx::shell {

class DatabaseListBox;
class DialogRunner;
class NewDatabaseDialog;
class NoticeWindow;
class QtHost;
class SearchDialog;
class SettingsDialog;
class BackgroundTask;

class MainWindow : public QWidget {
    Q_OBJECT

  public:
    // Window creation: the first-run settings, the working folders and the stored sizes.
    explicit MainWindow(ShellEnvironment environment, QWidget* parent = nullptr);
    // Waits for a running command, then stores the selection and the sizes.
    ~MainWindow() override;

    // The hidden dialogs, created after the main window.
    void AttachDialogs(NewDatabaseDialog* newDatabase, SearchDialog* search,
                       SettingsDialog* settings, NoticeWindow* notice);
    // Start-up ended at the refusal to run from a CD/DVD.
    bool Refused() const { return refused_; }

    // The steps of the first paint; runs once (the first paint calls it).
    void FirstPaint();
    bool FirstPaintDone() const { return !firstPaintPending_; }

    // The window changes them only through RunSwitch; the engine's commands take them whole.
    RunFlags& Flags() { return flags_; }
    const platform::WorkingFolders& Folders() const { return folders_; }
    const ShellEnvironment& Environment() const { return environment_; }
    QtHost& Host() { return *host_; }
    int DefaultWidth() const { return defaultWidth_; }
    bool IsAdministrator() const { return isAdministrator_; }
    NewDatabaseDialog* NewDatabase() const { return newDatabase_; }
    SearchDialog* Search() const { return search_; }
    SettingsDialog* Settings() const { return settings_; }
    NoticeWindow* Notice() const { return notice_; }

    // Selection state of the database list.
    int SelectedIndex() const { return selectedIndex_; }
    int SearchedIndex() const { return searchedIndex_; }
    void SetSearchedIndex(int index) { searchedIndex_ = index; }
    std::u16string SelectedDatabaseName() const { return selectedDatabaseName_; }
    DatabaseListBox* List() const { return databaseList_; }
    // Rebuilds the list from the database files in the database folder, then selects a row. In
    // update mode: the row stored in the settings, when the list has it (no click action).
    // Otherwise: the row of `nameToSelect` (letter case ignored; without one, the last row that
    // contains it) followed by the click action, which makes it the selected database.
    void LiesNamenDatenbanken(bool updateMode, const std::u16string& nameToSelect);
    void ListBox1Click();
    // The engine's list refresh at the end of an indexing run.
    void RefreshDatabaseListAfterRun();
    // Another program changed the database folder (the watcher of the command-line tool): while
    // no command of the window runs, the list and the search dialog's word list are read again.
    void DatabaseFilesChanged();

    // The status area, on the user-interface thread (engines go through Host()).
    void SetStatusLine(const std::u16string& text);
    std::u16string StatusLine() const;
    void SetTotalsLine(const std::u16string& text);
    void SetProgressLine(const std::u16string& text);
    void SetCurrentFile(const std::u16string& text);
    void SetCurrentFileVisible(bool visible);
    void SetPatienceIndicator(bool on);
    void StartElapsedDisplay(int64_t startTickMs, std::function<std::u16string()> sizeText);
    void StopElapsedDisplay();
    // The timer of the elapsed-time display (the host keeps the size text).
    void StartElapsedTimer(int64_t startTickMs);
    void StopElapsedTimer();
    std::u16string ElapsedText() const { return elapsedText_; }
    void SetCommandsEnabled(bool enabled);
    void SetCloseButton(const QString& caption, bool enabled);
    QString CloseButtonCaption() const;
    // The commands and the close/cancel button for what the user may do now.
    void ShowRunControls(RunControls controls);

    // Timer handlers (public so the tests can tick them).
    void GedultTimerTimer();
    void Timer1Timer();
    int PatienceCounter() const { return patienceCounter_; }

    // The colour groups.
    Colour Background() const { return background_; }
    void ApplyBackground(Colour colour, bool includeCurrentFileField,
                         std::optional<bool> logoTransparent);
    void ApplyNoticeColour(Colour colour);
    bool LogoTransparent() const { return logoTransparent_; }
    std::u16string NoticeColourText() const { return noticeColourText_; }
    void SetNoticeColourText(const std::u16string& text) { noticeColourText_ = text; }
    std::u16string BackgroundText() const { return backgroundText_; }
    void SetBackgroundText(const std::u16string& text) { backgroundText_ = text; }

    // Writes a setting; a failure is reported to the user. False when it failed.
    bool WriteSetting(const std::u16string& name, const std::u16string& value);
    // Shows the modal windows: the environment's runner, or the interactive one.
    DialogRunner& Runner();
    // A message box on the user-interface thread.
    MessageAnswer Message(MessageKind kind, const QString& caption, const QString& text,
                          MessageButtons buttons = MessageButtons::Ok);

    // The commands.
    void SuchenBtnClick();
    void NeuErstellenBtnClick();
    void ErneutIndiziereBtnClick();
    void BitBtn2Click();
    void SpeedButton1Click();
    void SpeedButton2Click();
    // Opens the result page in the browser; when none starts, a message gives its path (once
    // per search, which may open its page several times).
    void OpenResultPage(const QString& hostPath);
    // Copies the installed manual into the working folder when it has none.
    void PlaceManual();
    QString ManualPath() const;
    // A command's engine part runs on a worker thread.
    bool CommandBusy() const;
    // Runs the work on the worker thread and `then` on this thread when it has ended.
    void RunInBackground(std::function<void()> work, std::function<void()> then);

    // The engine of the indexing commands (for the tests' run options).
    indexing::IndexingCommands& IndexingEngine() { return Commands(); }

    // Test access to the controls.
    QPushButton* CloseButton() const { return closeButton_; }
    QPushButton* SearchButton() const { return searchButton_; }
    QPushButton* CreateButton() const { return createButton_; }
    QPushButton* ReindexButton() const { return reindexButton_; }
    QWidget* Separator() const { return toolBarSpacer_; }
    QLabel* PatienceLabel() const { return patienceLabel_; }
    QLineEdit* CurrentFileField() const { return currentFileField_; }
    QLabel* StatusLabel() const { return statusLabel_; }
    QLabel* TotalsLabel() const { return totalsLabel_; }
    QLabel* ProgressLabel() const { return progressLabel_; }
    QFrame* LogoPanel() const { return logoPanel_; }
    std::vector<QWidget*> NoticeGroupControls() const;

  signals:
    // A command has ended and the window is idle again.
    void CommandFinished();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildControls();
    void RunCreationSteps();
    // Calls DatabaseFilesChanged once the database folder has been quiet for a moment.
    void WatchDatabaseFolder();
    void Shutdown();
    void PlacePatienceIndicator();
    void ShowLogo();
    indexing::IndexingCommands& Commands();
    // The first steps of the create command, shared with the re-index command.
    void PrepareCreate();
    // Shows the new-database dialog; true for OK.
    bool RunNewDatabaseDialog(bool updateMode);
    void FinishCommand(bool updateMode, const std::u16string& name,
                       indexing::CommandOutcome outcome);
    void ReportCommandError(const std::string& error);

    ShellEnvironment environment_;
    RunFlags flags_;
    std::unique_ptr<QtHost> host_;
    std::unique_ptr<BackgroundTask> task_;
    std::unique_ptr<indexing::IndexingCommands> commands_;
    std::unique_ptr<search::SearchRun> searchRun_;
    platform::WorkingFolders folders_;
    bool refused_ = false;
    bool firstPaintPending_ = true;
    bool shutDown_ = false;
    bool closing_ = false;
    int defaultWidth_ = 1024;
    int height_ = 534, width_ = 1024, searchHeight_ = 535, searchWidth_ = 1024;
    int selectedIndex_ = 0;
    int searchedIndex_ = 0;
    std::u16string selectedDatabaseName_;
    bool isAdministrator_ = false;
    bool updateMode_ = false;
    bool browserFailureShown_ = false;
    int patienceCounter_ = 0;
    int64_t runStartTickMs_ = 0;
    std::u16string elapsedText_;
    Colour background_ = kDefaultBackground;
    bool logoTransparent_ = false;
    std::u16string noticeColourText_ = u"clWhite";
    std::u16string backgroundText_ = u"$00400080";

    NewDatabaseDialog* newDatabase_ = nullptr;
    SearchDialog* search_ = nullptr;
    SettingsDialog* settings_ = nullptr;
    NoticeWindow* notice_ = nullptr;

    AnchoredLayout layout_;
    QWidget* toolBar_ = nullptr;               // ToolBar1
    QPushButton* titlePlate_ = nullptr;        // SpeedButton3
    QWidget* toolBarSpacer_ = nullptr;         // ToolButton1
    QPushButton* manualButton_ = nullptr;      // SpeedButton1
    QPushButton* settingsButton_ = nullptr;    // SpeedButton2
    QFrame* listFrame_ = nullptr;              // Bevel3
    DatabaseListBox* databaseList_ = nullptr;  // ListBox1
    QFrame* commandFrame_ = nullptr;           // Bevel1
    QFrame* logoPanel_ = nullptr;              // Panel1
    QLabel* logo_ = nullptr;                   // Image1
    QPushButton* searchButton_ = nullptr;      // SuchenBtn
    QPushButton* createButton_ = nullptr;      // NeuErstellenBtn
    QPushButton* reindexButton_ = nullptr;     // ErneutIndiziereBtn
    QPushButton* closeButton_ = nullptr;       // BitBtn2
    QFrame* statusFrame_ = nullptr;            // Bevel2
    QLabel* statusLabel_ = nullptr;            // Label1
    QLabel* totalsLabel_ = nullptr;            // Label2
    QLineEdit* currentFileField_ = nullptr;    // Edit1
    QLabel* progressLabel_ = nullptr;          // Label3
    QLabel* patienceLabel_ = nullptr;          // GeduldLabel
    QTimer* patienceTimer_ = nullptr;          // GedultTimer
    QTimer* elapsedTimer_ = nullptr;           // Timer1
};

}  // namespace vx::shell
