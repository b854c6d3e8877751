#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <cstdio>

#include "platform/paths.h"
#include "shell/main_window.h"
#include "shell/settings_store.h"

namespace vx::shell::test {

int ScriptedRunner::RunModal(QDialog& dialog) {
    ++modalCount;
    if (dialogs.empty()) {
        dialog.reject();
        return QDialog::Rejected;
    }
    auto handler = std::move(dialogs.front());
    dialogs.pop_front();
    return handler(dialog);
}

MessageAnswer ScriptedRunner::Message(QWidget*, MessageKind kind, const QString& caption,
                                      const QString& text, MessageButtons buttons) {
    messages.push_back({kind, caption, text});
    if (echoMessages) std::fprintf(stderr, "%s: %s\n", qPrintable(caption), qPrintable(text));
    if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
    if (answers.empty()) return MessageAnswer::Yes;
    const MessageAnswer answer = answers.front();
    answers.pop_front();
    return answer;
}

std::optional<QColor> ScriptedRunner::PickColour(QWidget*, const QColor&) {
    if (colours.empty()) return std::nullopt;
    const QColor colour = colours.front();
    colours.pop_front();
    return colour;
}

QStringList ScriptedRunner::MessageTexts() const {
    QStringList texts;
    for (const auto& m : messages) texts << m.text;
    return texts;
}

Sandbox::Sandbox() : previousDir_(QDir::currentPath()) {
    QDir(dir_.path()).mkpath(QStringLiteral("config"));
    QDir(dir_.path()).mkpath(QStringLiteral("data"));
    QDir(dir_.path()).mkpath(QStringLiteral("work"));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir_.path() + QStringLiteral("/config")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir_.path() + QStringLiteral("/data")));
    QDir::setCurrent(dir_.path() + QStringLiteral("/work"));
    platform::ClearPathCache();
}

Sandbox::~Sandbox() {
    QDir::setCurrent(previousDir_);
}

void Sandbox::Touch(const QString& relativePath, const QByteArray& content) {
    const QString path = dir_.path() + QStringLiteral("/work/") + relativePath;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

void Sandbox::Store(const std::u16string& name, const std::u16string& value) {
    QVERIFY(SchreibeRegKey(kRegKey, name, value));
}

std::u16string Sandbox::Stored(const std::u16string& name) {
    return LeseRegKey(kRegKey, name);
}

ShellEnvironment TestShell::Environment() {
    ShellEnvironment environment;
    environment.runner = &runner;
    environment.openFile = [this](const QString& path, const std::function<void()>& failed) {
        opened << path;
        if (!openSucceeds) failed();
    };
    environment.manualFile = manualFile;
    environment.isOpticalDrive = [](const std::string&) { return false; };
    environment.xmlParserAvailable = [] { return true; };
    environment.isAdministrator = [this] { return administrator; };
    environment.terminate = [this](int) { ++terminated; };
    return environment;
}

AppWindows TestShell::Start() {
    AppWindows windows = CreateAppWindows(Environment());
    if (windows.main->Refused()) return windows;
    windows.main->show();
    if (!QTest::qWaitFor([&] { return windows.main->FirstPaintDone(); }, 5000)) {
        windows.main->FirstPaint();
    }
    return windows;
}

}  // namespace vx::shell::test
