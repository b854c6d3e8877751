#include "shell/notice_window.h"

#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

#include "platform/ansi.h"
#include "platform/host.h"
#include "shell/dialog_runner.h"
#include "shell/ui_fonts.h"

namespace vx::shell {

NoticeWindow::NoticeWindow(QWidget* parent, DialogRunner* runner)
    : QDialog(parent), runner_(runner) {
    setWindowTitle(QStringLiteral("Information"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(490, 268);
    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::Box);
    frame->setFrameShadow(QFrame::Sunken);
    frame->setGeometry(14, 14, 463, 197);
    textBox_ = new QPlainTextEdit(this);
    textBox_->setGeometry(28, 28, 435, 169);
    textBox_->setFont(MsSansSerifFont(18, true));
    textBox_->installEventFilter(this);
    yesButton_ = new QPushButton(QStringLiteral("Ja"), this);
    yesButton_->setGeometry(112, 224, 111, 30);
    yesButton_->setFont(MsSansSerifFont(18, true));
    yesButton_->setDefault(true);
    noButton_ = new QPushButton(QStringLiteral("Nein"), this);
    noButton_->setGeometry(270, 224, 111, 30);
    noButton_->setFont(MsSansSerifFont(18, true));
    connect(yesButton_, &QPushButton::clicked, this, &QDialog::accept);
    connect(noButton_, &QPushButton::clicked, this, &QDialog::reject);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect s = screen->geometry();
        move(s.width() / 2 - width() / 2, s.height() / 2 - height() / 2);
    }
}

void NoticeWindow::FillText() {
    // The box shows ANSI text: the joined question passes through the code page.
    const std::u16string text =
        platform::AnsiToWide(platform::WideToAnsi(vx::NoticeText(documentCount_, sizeText_)));
    QString shown = QString::fromStdU16String(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (textBox_->toPlainText() != shown) textBox_->setPlainText(shown);
}

void NoticeWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    yesButton_->setFocus();
}

bool NoticeWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == textBox_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            yesButton_->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void NoticeWindow::paintEvent(QPaintEvent* event) {
    FillText();
    QDialog::paintEvent(event);
}

bool NoticeWindow::Ask(int documentCount, const std::u16string& sizeText) {
    documentCount_ = documentCount;
    sizeText_ = sizeText;
    FillText();
    static InteractiveDialogRunner interactive;
    DialogRunner* runner = runner_ != nullptr ? runner_ : &interactive;
    return runner->RunModal(*this) == QDialog::Accepted;
}

}  // namespace vx::shell
