// The status area, the timers, the close/cancel button and the colour groups of the main window.
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include "indexing/close_button.h"
#include "indexing/size_text.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "shell/button_captions.h"
#include "shell/database_list_box.h"
#include "shell/dialog_runner.h"
#include "shell/main_window.h"
#include "shell/new_database_dialog.h"
#include "shell/pictures.h"
#include "shell/qt_host.h"
#include "shell/search_dialog.h"
#include "shell/settings_dialog.h"
#include "shell/settings_store.h"
#include "shell/status_texts.h"
#include "shell/widget_colours.h"

namespace vx::shell {

void MainWindow::SetStatusLine(const std::u16string& text) {
    host_->SetStatusLine(text);
}
std::u16string MainWindow::StatusLine() const {
    return host_->StatusLine();
}
void MainWindow::SetTotalsLine(const std::u16string& text) {
    host_->SetTotalsLine(text);
}
void MainWindow::SetProgressLine(const std::u16string& text) {
    host_->SetProgressLine(text);
}
void MainWindow::SetCurrentFile(const std::u16string& text) {
    host_->SetCurrentFile(text);
}
void MainWindow::SetCurrentFileVisible(bool visible) {
    host_->SetCurrentFileVisible(visible);
}

void MainWindow::SetPatienceIndicator(bool on) {
    if (on) {
        // The indexing run starts its indicator from the first sign.
        if (flags_.running) patienceCounter_ = 0;
        PlacePatienceIndicator();
        patienceTimer_->start();
    } else {
        patienceTimer_->stop();
        patienceLabel_->clear();
    }
}

void MainWindow::PlacePatienceIndicator() {
    patienceLabel_->move(closeButton_->x() + closeButton_->width() / 2 - 20, statusLabel_->y() + 2);
}

void MainWindow::GedultTimerTimer() {
    const PatienceStep step = PatienceTick(patienceCounter_);
    patienceCounter_ = step.counter;
    PlacePatienceIndicator();
    patienceLabel_->setText(QString::fromStdU16String(step.text));
    PlacePatienceIndicator();
}

void MainWindow::StartElapsedDisplay(int64_t startTickMs,
                                     std::function<std::u16string()> sizeText) {
    host_->StartElapsedDisplay(startTickMs, std::move(sizeText));
}

void MainWindow::StopElapsedDisplay() {
    host_->StopElapsedDisplay();
}

void MainWindow::StartElapsedTimer(int64_t startTickMs) {
    runStartTickMs_ = startTickMs;
    elapsedTimer_->start();
}

void MainWindow::StopElapsedTimer() {
    elapsedTimer_->stop();
}

void MainWindow::Timer1Timer() {
    // A tick that was already queued when the display was switched off does nothing.
    const std::optional<std::u16string> sizeText = host_->ElapsedSizeText();
    if (!sizeText) return;
    elapsedText_ = indexing::ElapsedSince(runStartTickMs_, SteadyTickMs());
    if (!host_->TotalsLine().empty()) SetTotalsLine(indexing::TotalsText(*sizeText, elapsedText_));
}

void MainWindow::SetCommandsEnabled(bool enabled) {
    searchButton_->setEnabled(enabled);
    createButton_->setEnabled(enabled);
    reindexButton_->setEnabled(enabled);
}

void MainWindow::SetCloseButton(const QString& caption, bool enabled) {
    closeButton_->setText(caption);
    closeButton_->setEnabled(enabled);
}

QString MainWindow::CloseButtonCaption() const {
    return closeButton_->text();
}

void MainWindow::ShowRunControls(RunControls controls) {
    switch (controls) {
        case RunControls::Idle:
            SetCommandsEnabled(true);
            SetCloseButton(kCloseCaption, true);
            break;
        case RunControls::Cancellable:
            SetCloseButton(kCancelCaption, true);
            SetCommandsEnabled(false);
            break;
        case RunControls::Saving:
            // The run shows Idle again when it has saved its data.
            SetCloseButton(kCancelCaption, false);
            break;
    }
}

void MainWindow::BitBtn2Click() {
    if (!indexing::CloseButtonClick(*host_, flags_)) close();
}

void MainWindow::ApplyBackground(Colour colour, bool includeCurrentFileField,
                                 std::optional<bool> logoTransparent) {
    background_ = colour;
    const QColor c = ToQColor(colour);
    SetBackgroundColour(this, c);
    SetBackgroundColour(logoPanel_, c);
    if (includeCurrentFileField) SetBaseColour(currentFileField_, c);
    if (settings_ != nullptr) SetBackgroundColour(settings_, c);
    if (search_ != nullptr) SetBackgroundColour(search_, c);
    if (newDatabase_ != nullptr) SetBackgroundColour(newDatabase_, c);
    databaseList_->SetWindowBackground(colour);
    if (logoTransparent) {
        logoTransparent_ = *logoTransparent;
        ShowLogo();
    }
}

void MainWindow::ApplyNoticeColour(Colour colour) {
    const QColor c = ToQColor(colour);
    for (QWidget* w : NoticeGroupControls()) SetTextColour(w, c);
    if (settings_ != nullptr) {
        for (QWidget* w : settings_->NoticeGroupControls()) SetTextColour(w, c);
    }
    if (search_ != nullptr) {
        for (QWidget* w : search_->NoticeGroupControls()) SetTextColour(w, c);
    }
    if (newDatabase_ != nullptr) {
        for (QWidget* w : newDatabase_->NoticeGroupControls()) SetTextColour(w, c);
    }
}

bool MainWindow::WriteSetting(const std::u16string& name, const std::u16string& value) {
    if (SchreibeRegKey(kRegKey, name, value)) return true;
    Message(MessageKind::Error, QStringLiteral("Fehler"),
            QStringLiteral("Die Einstellung \"%1\" kann nicht in %2 gespeichert werden!")
                .arg(QString::fromStdU16String(name), QString::fromStdString(SettingsFilePath())));
    return false;
}

DialogRunner& MainWindow::Runner() {
    static InteractiveDialogRunner interactive;
    return environment_.runner != nullptr ? *environment_.runner : interactive;
}

MessageAnswer MainWindow::Message(MessageKind kind, const QString& caption, const QString& text,
                                  MessageButtons buttons) {
    return Runner().Message(isVisible() ? this : nullptr, kind, caption, text, buttons);
}

QString MainWindow::ManualPath() const {
    return QFile::decodeName(platform::ToHostPath(folders_.working + u"Vantor_XML.pdf").c_str());
}

void MainWindow::PlaceManual() {
    const QString path = ManualPath();
    if (environment_.manualFile.isEmpty() || QFileInfo::exists(path)) return;
    // A copy that fails is reported when the manual is asked for.
    QFile::copy(environment_.manualFile, path);
}

void MainWindow::SpeedButton1Click() {
    const QString path = ManualPath();
    PlaceManual();  // the working folder may have lost its copy since the start
    if (!QFileInfo::exists(path)) {
        Message(MessageKind::Information, QStringLiteral("Information"),
                QStringLiteral("Das Handbuch \"Vantor_XML.pdf\" wurde nicht gefunden.\r\n"
                               "Es gehört in den Arbeitsordner:\r\n%1")
                    .arg(QFileInfo(path).absolutePath()));
        return;
    }
    if (!environment_.openFile) return;
    environment_.openFile(path, [self = QPointer<MainWindow>(this), path] {
        if (!self) return;
        self->Message(MessageKind::Warning, QStringLiteral("Warnung"),
                      QStringLiteral("Das Handbuch kann nicht angezeigt werden: Es ist kein "
                                     "Programm für PDF-Dateien eingerichtet.\r\n"
                                     "Das Handbuch liegt hier:\r\n%1")
                          .arg(path));
    });
}

void MainWindow::OpenResultPage(const QString& hostPath) {
    if (!environment_.openFile) return;
    environment_.openFile(hostPath, [self = QPointer<MainWindow>(this), hostPath] {
        if (!self || self->browserFailureShown_) return;
        self->browserFailureShown_ = true;
        self->Message(MessageKind::Warning, QStringLiteral("Warnung"),
                      QStringLiteral("Der Browser konnte nicht gestartet werden.\r\n"
                                     "Die Ergebnisseite liegt hier:\r\n%1")
                          .arg(hostPath));
    });
}

void MainWindow::SpeedButton2Click() {
    if (settings_ == nullptr) return;
    settings_->PrepareShow();
    Runner().RunModal(*settings_);
}

}  // namespace vx::shell
