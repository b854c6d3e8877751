// Every modal window of the program is shown through a dialog runner, so tests can answer the
// dialogs and message boxes instead of a user.
#pragma once

#include <QColor>
#include <QString>
#include <optional>

#include "platform/host.h"

class QDialog;
class QWidget;

namespace vx::shell {

class DialogRunner {
  public:
    virtual ~DialogRunner() = default;
    // Shows the dialog modally and returns its result (QDialog::Accepted / Rejected).
    virtual int RunModal(QDialog& dialog) = 0;
    // A message box with German buttons ("OK", or "&Ja" and "&Nein").
    virtual MessageAnswer Message(QWidget* parent, MessageKind kind, const QString& caption,
                                  const QString& text, MessageButtons buttons) = 0;
    // The colour picker opened on the given colour; nothing when the user cancels.
    virtual std::optional<QColor> PickColour(QWidget* parent, const QColor& initial) = 0;
};

// The runner for a real user: QDialog::exec, QMessageBox, QColorDialog.
class InteractiveDialogRunner : public DialogRunner {
  public:
    int RunModal(QDialog& dialog) override;
    MessageAnswer Message(QWidget* parent, MessageKind kind, const QString& caption,
                          const QString& text, MessageButtons buttons) override;
    std::optional<QColor> PickColour(QWidget* parent, const QColor& initial) override;
};

}  // namespace vx::shell
