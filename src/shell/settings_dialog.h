// The settings dialog "Einstellungen": background and notice colours, the clipboard option and
// the restore of the standard colours and sizes. Colour changes are stored at once.
#pragma once

#include <QDialog>
#include <vector>

#include "shell/colour_text.h"

class QCheckBox;
class QPushButton;

namespace vx::shell {

class MainWindow;

class SettingsDialog : public QDialog {
    Q_OBJECT

  public:
    explicit SettingsDialog(MainWindow& main);

    // Called before every showing: remembers the background in effect for "&Abbruch".
    void PrepareShow();
    bool CopyToClipboard() const;
    void SetCopyToClipboard(bool on);
    bool BackgroundChosen() const { return backgroundChosen_; }
    std::vector<QWidget*> NoticeGroupControls() const;

    void FarbenAendernButtonClick();
    void HinweistexteFarbenAendernButtonClick();
    void Button1Click();
    void OkButtonClick();
    void AbbruchButtonClick();

    QPushButton* OkButton() const { return okButton_; }
    QPushButton* CancelButton() const { return cancelButton_; }
    QCheckBox* ClipboardCheckBox() const { return clipboardCheckBox_; }

  protected:
    // Escape acts as "&Abbruch"; the close box only closes.
    void keyPressEvent(QKeyEvent* event) override;

  private:
    // Shows the colour picker; false when it was cancelled.
    bool PickColour(Colour& chosen);
    void NudgeMainWindow();

    MainWindow& main_;
    QCheckBox* clipboardCheckBox_ = nullptr;         // SuchtextInClipbrdCheckBox
    QPushButton* backgroundColourButton_ = nullptr;  // FarbenAendernButton
    QPushButton* noticeColourButton_ = nullptr;      // HinweistexteFarbenAendernButton
    QPushButton* defaultsButton_ = nullptr;          // Button1
    QPushButton* okButton_ = nullptr;                // OkButton
    QPushButton* cancelButton_ = nullptr;            // AbbruchButton
    bool backgroundChosen_ = false;
    Colour lastPicked_ = kBlack;
    Colour backgroundAtOpening_ = kDefaultBackground;
    std::u16string backgroundTextAtOpening_ = u"$00400080";
    bool logoTransparentAtOpening_ = false;
};

}  // namespace vx::shell
