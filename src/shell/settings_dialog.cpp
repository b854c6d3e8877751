#include "shell/settings_dialog.h"

#include <QCheckBox>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>

#include "platform/text.h"
#include "shell/button_captions.h"
#include "shell/dialog_runner.h"
#include "shell/main_window.h"
#include "shell/search_dialog.h"
#include "shell/settings_store.h"
#include "shell/ui_fonts.h"
#include "shell/widget_colours.h"

namespace vx::shell {
namespace {

QPushButton* MakeButton(QWidget* parent, const QString& caption, QRect r, bool bold) {
    auto* button = new QPushButton(caption, parent);
    button->setGeometry(r);
    button->setFont(ArialUnicodeFont(15, bold));
    return button;
}

void CentreOnScreen(QWidget* w) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect s = screen->geometry();
        w->move(s.width() / 2 - w->width() / 2, s.height() / 2 - w->height() / 2);
    }
}

}  // namespace

SettingsDialog::SettingsDialog(MainWindow& main) : QDialog(&main), main_(main) {
    setWindowTitle(QStringLiteral("Einstellungen"));
    setFixedSize(454, 317);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    SetBackgroundColour(this, ToQColor(kDefaultBackground));
    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::Box);
    frame->setFrameShadow(QFrame::Sunken);
    frame->setGeometry(14, 28, 421, 183);
    clipboardCheckBox_ = new QCheckBox(QStringLiteral("Suchtext in Zwischenablage kopieren"), this);
    clipboardCheckBox_->setGeometry(70, 42, 323, 17);
    clipboardCheckBox_->setFont(ArialUnicodeFont(15, true));
    // The text beside the indicator must not be cut off with a wider fallback font.
    FitFontToWidth(clipboardCheckBox_, clipboardCheckBox_->text(), 323 - 24);
    clipboardCheckBox_->setChecked(true);
    backgroundColourButton_ = MakeButton(this, QStringLiteral("Fenster Hintergrund Farben ändern"),
                                         QRect(56, 72, 337, 36), false);
    noticeColourButton_ = MakeButton(this, QStringLiteral("Hinweistexte Farben ändern"),
                                     QRect(56, 118, 337, 36), false);
    defaultsButton_ = MakeButton(this, QStringLiteral("Standard wieder herstellen"),
                                 QRect(56, 168, 337, 36), false);
    okButton_ = MakeButton(this, QStringLiteral("OK"), QRect(55, 254, 128, 36), true);
    okButton_->setDefault(true);
    cancelButton_ = MakeButton(this, kCancelCaption, QRect(280, 254, 113, 36), true);
    connect(backgroundColourButton_, &QPushButton::clicked, this,
            &SettingsDialog::FarbenAendernButtonClick);
    connect(noticeColourButton_, &QPushButton::clicked, this,
            &SettingsDialog::HinweistexteFarbenAendernButtonClick);
    connect(defaultsButton_, &QPushButton::clicked, this, &SettingsDialog::Button1Click);
    connect(okButton_, &QPushButton::clicked, this, &SettingsDialog::OkButtonClick);
    connect(cancelButton_, &QPushButton::clicked, this, &SettingsDialog::AbbruchButtonClick);
    CentreOnScreen(this);
}

void SettingsDialog::PrepareShow() {
    backgroundAtOpening_ = main_.Background();
    backgroundTextAtOpening_ = main_.BackgroundText();
    logoTransparentAtOpening_ = main_.LogoTransparent();
}

bool SettingsDialog::CopyToClipboard() const {
    return clipboardCheckBox_->isChecked();
}
void SettingsDialog::SetCopyToClipboard(bool on) {
    clipboardCheckBox_->setChecked(on);
}

std::vector<QWidget*> SettingsDialog::NoticeGroupControls() const {
    return {clipboardCheckBox_};
}

bool SettingsDialog::PickColour(Colour& chosen) {
    const std::optional<QColor> colour = main_.Runner().PickColour(this, ToQColor(lastPicked_));
    if (!colour) return false;
    chosen = FromQColor(*colour);
    lastPicked_ = chosen;
    return true;
}

void SettingsDialog::NudgeMainWindow() {
    main_.resize(main_.width() + 1, main_.height());
    main_.resize(main_.width() - 1, main_.height());
}

void SettingsDialog::FarbenAendernButtonClick() {
    Colour colour = 0;
    if (!PickColour(colour)) return;
    // The current-file field keeps its background until the next start.
    main_.ApplyBackground(colour, false, true);
    main_.SetBackgroundText(ColourToText(colour));
    main_.WriteSetting(kBackgroundColour, main_.BackgroundText());
    backgroundChosen_ = true;
    NudgeMainWindow();
}

void SettingsDialog::HinweistexteFarbenAendernButtonClick() {
    Colour colour = 0;
    if (!PickColour(colour)) return;
    main_.SetNoticeColourText(ColourToText(colour));
    main_.WriteSetting(kNoticeColour, main_.NoticeColourText());
    main_.ApplyNoticeColour(colour);
}

void SettingsDialog::Button1Click() {
    main_.ApplyBackground(kDefaultBackground, true, false);
    main_.SetBackgroundText(u"$00400080");
    main_.WriteSetting(kBackgroundColour, u"$00400080");

    const std::u16string width = platform::IntText(main_.DefaultWidth());
    main_.resize(main_.width(), 534);
    main_.resize(main_.DefaultWidth(), main_.height());
    main_.WriteSetting(kHeight, u"534");
    main_.WriteSetting(kWidth, width);
    CentreOnScreen(&main_);

    if (SearchDialog* search = main_.Search()) {
        search->resize(search->width(), 535);
        search->resize(main_.DefaultWidth(), search->height());
        CentreOnScreen(search);
    }
    main_.WriteSetting(kSearchHeight, u"535");
    main_.WriteSetting(kSearchWidth, width);

    main_.SetNoticeColourText(u"clWhite");
    main_.WriteSetting(kNoticeColour, u"clWhite");
    main_.ApplyNoticeColour(kWhite);
    NudgeMainWindow();
}

void SettingsDialog::OkButtonClick() {
    main_.WriteSetting(kCopyToClipboard, clipboardCheckBox_->isChecked() ? u"1" : u"0");
    accept();
}

void SettingsDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        AbbruchButtonClick();
        return;
    }
    QDialog::keyPressEvent(event);
}

void SettingsDialog::AbbruchButtonClick() {
    if (backgroundChosen_) {
        // Back to the background that was in effect when the dialog was opened.
        main_.ApplyBackground(backgroundAtOpening_, false, logoTransparentAtOpening_);
        main_.SetBackgroundText(backgroundTextAtOpening_);
        main_.WriteSetting(kBackgroundColour, backgroundTextAtOpening_);
    }
    reject();
}

}  // namespace vx::shell
