#include "shell/settings_store.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>
#include <cstdlib>

namespace vx::shell {
namespace {

QString ToQ(const std::u16string& s) {
    return QString::fromStdU16String(s);
}

// The program's key is the top level of the file; any other key becomes a section of its own.
QString ValueKey(const std::u16string& keyPath, const std::u16string& valueName) {
    QString key = ToQ(keyPath);
    while (key.endsWith(u'\\')) key.chop(1);
    QString program = ToQ(kRegKey);
    program.chop(1);
    if (key.compare(program, Qt::CaseInsensitive) == 0 || key.isEmpty()) return ToQ(valueName);
    key.replace(u'\\', u'.');
    key.replace(u'/', u'.');
    return key + u'/' + ToQ(valueName);
}

}  // namespace

std::string SettingsFilePath() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    QString base;
    if (xdg != nullptr && *xdg == '/') {
        base = QString::fromLocal8Bit(xdg);
    } else {
        base = QDir::homePath() + QStringLiteral("/.config");
    }
    return (base + QStringLiteral("/Orlanda/Vantor-XML.conf")).toStdString();
}

std::u16string LeseRegKey(const std::u16string& keyPath, const std::u16string& valueName) {
    const QString path = QString::fromStdString(SettingsFilePath());
    if (!QFileInfo::exists(path)) return {};
    QSettings settings(path, QSettings::IniFormat);
    const QVariant value = settings.value(ValueKey(keyPath, valueName));
    // A text with commas reads back as a list; it is still one value.
    if (value.typeId() == QMetaType::QStringList) {
        return value.toStringList().join(QStringLiteral(", ")).toStdU16String();
    }
    return value.toString().toStdU16String();
}

bool SchreibeRegKey(const std::u16string& keyPath, const std::u16string& valueName,
                    const std::u16string& text) {
    const QString path = QString::fromStdString(SettingsFilePath());
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSettings settings(path, QSettings::IniFormat);
    // Written in place: the atomic save forces the file to disk, which right after an indexing
    // run waits for the whole file system's journal and stalls the window for tens of ms.
    settings.setAtomicSyncRequired(false);
    settings.setValue(ValueKey(keyPath, valueName), ToQ(text));
    settings.sync();
    return settings.status() == QSettings::NoError;
}

}  // namespace vx::shell
