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
    memo1_ = new QPlainTextEdit(this);
    memo1_->setGeometry(28, 28, 435, 169);
    memo1_->setFont(MsSansSerifFont(18, true));
    memo1_->installEventFilter(this);
    button1_ = new QPushButton(QStringLiteral("Ja"), this);
    button1_->setGeometry(112, 224, 111, 30);
    button1_->setFont(MsSansSerifFont(18, true));
    button1_->setDefault(true);
    button2_ = new QPushButton(QStringLiteral("Nein"), this);
    button2_->setGeometry(270, 224, 111, 30);
    button2_->setFont(MsSansSerifFont(18, true));
    connect(button1_, &QPushButton::clicked, this, &QDialog::accept);
    connect(button2_, &QPushButton::clicked, this, &QDialog::reject);
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
    if (memo1_->toPlainText() != shown) memo1_->setPlainText(shown);
}

void NoticeWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    button1_->setFocus();
}

bool NoticeWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == memo1_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            button1_->click();
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
