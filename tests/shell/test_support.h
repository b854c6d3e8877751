// Helpers of the window tests: a dialog runner that answers instead of a user, and a fresh
// working folder with its own settings for every test.
#pragma once

#include <QDialog>
#include <QObject>
#include <QStringList>
#include <QTemporaryDir>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "shell/app_windows.h"
#include "shell/dialog_runner.h"

namespace vx::shell::test {

struct ShownMessage {
    MessageKind kind;
    QString caption;
    QString text;
};

class ScriptedRunner : public DialogRunner {
  public:
    // Handlers for the next modal dialogs, in order; a dialog without one is cancelled.
    std::deque<std::function<int(QDialog&)>> dialogs;
    // Answers of the next yes/no boxes; "&Ja" when none is queued.
    std::deque<MessageAnswer> answers;
    // Colours of the next pickers; cancelled when none is queued.
    std::deque<QColor> colours;
    std::vector<ShownMessage> messages;
    int modalCount = 0;
    // Also prints every message as "caption: text" on standard error (for programs, not tests).
    bool echoMessages = false;

    int RunModal(QDialog& dialog) override;
    MessageAnswer Message(QWidget* parent, MessageKind kind, const QString& caption,
                          const QString& text, MessageButtons buttons) override;
    std::optional<QColor> PickColour(QWidget* parent, const QColor& initial) override;
    QStringList MessageTexts() const;
};

// A temporary working folder (made current) with its own settings and data folders.
class Sandbox {
  public:
    Sandbox();
    ~Sandbox();
    QString Path() const { return dir_.path(); }
    // Creates an empty file (and its folders) under the working folder.
    void Touch(const QString& relativePath, const QByteArray& content = {});
    // Writes a setting before the windows start.
    static void Store(const std::u16string& name, const std::u16string& value);
    static std::u16string Stored(const std::u16string& name);

  private:
    QTemporaryDir dir_;
    QString previousDir_;
};

// The environment of the tests: the runner, a recording opener, no CD/DVD, parser present.
struct TestShell {
    ScriptedRunner runner;
    QStringList opened;
    bool openSucceeds = true;  // false: the opener reports that no program could open the file
    QString manualFile;        // the installed manual; none by default
    int terminated = 0;
    bool administrator = false;  // the answer of the administrator check
    ShellEnvironment Environment();
    // Creates the windows, shows the main window and waits for its first paint.
    AppWindows Start();
};

}  // namespace vx::shell::test
