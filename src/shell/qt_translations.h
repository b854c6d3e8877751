// Qt's own texts (the colour picker, the standard buttons of its dialogs) in German.
#pragma once

class QCoreApplication;

namespace vx::shell {

// Installs Qt's German translations (package qt6-translations-l10n) whatever the user's
// language: the program speaks German throughout. False when they are not installed.
bool InstallGermanQtTranslations(QCoreApplication& app);

}  // namespace vx::shell
