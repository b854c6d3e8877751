#include "shell/dialog_runner.h"

#include <QColorDialog>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>

namespace vx::shell {

int InteractiveDialogRunner::RunModal(QDialog& dialog) {
    return dialog.exec();
}

MessageAnswer InteractiveDialogRunner::Message(QWidget* parent, MessageKind kind,
                                               const QString& caption, const QString& text,
                                               MessageButtons buttons) {
    QMessageBox box(parent);
    box.setWindowTitle(caption);
    box.setText(text);
    switch (kind) {
        case MessageKind::Plain:
            box.setIcon(QMessageBox::NoIcon);
            break;
        case MessageKind::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case MessageKind::Warning:
            box.setIcon(QMessageBox::Warning);
            break;
        case MessageKind::Error:
            box.setIcon(QMessageBox::Critical);
            break;
        case MessageKind::Confirmation:
            box.setIcon(QMessageBox::Question);
            break;
    }
    if (buttons == MessageButtons::YesNo) {
        QPushButton* yes = box.addButton(QStringLiteral("&Ja"), QMessageBox::YesRole);
        QPushButton* no = box.addButton(QStringLiteral("&Nein"), QMessageBox::NoRole);
        box.setDefaultButton(yes);
        box.setEscapeButton(no);
        box.exec();
        if (box.clickedButton() == yes) return MessageAnswer::Yes;
        return box.clickedButton() == no ? MessageAnswer::No : MessageAnswer::Cancel;
    }
    QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
    return MessageAnswer::Ok;
}

std::optional<QColor> InteractiveDialogRunner::PickColour(QWidget* parent, const QColor& initial) {
    // Qt's own picker, which speaks German with Qt's translations; a desktop's picker would
    // follow the desktop's language.
    const QColor colour =
        QColorDialog::getColor(initial, parent, QString(), QColorDialog::DontUseNativeDialog);
    if (!colour.isValid()) return std::nullopt;
    return colour;
}

}  // namespace vx::shell
