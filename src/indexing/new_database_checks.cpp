#include "indexing/new_database_checks.h"

#include "index/database_files.h"
#include "indexing/database_names.h"
#include "platform/files.h"
#include "platform/text.h"

namespace vx::indexing {

const std::u16string kInvalidNameMessage =
    u"Sie haben ein ungültiges Zeichen eingegeben!\r\nGrund: Der eingegebene Name wird in "
    u"\"\\ODT_Texte\" zum Anlegen eines Unterordners benutzt! ";

const std::u16string kAdministratorNotice =
    u"Wenn Sie auf Laufwerk \"C:\\\" oder speziell im Ordner \"C:\\Windows\" Dateien indizieren "
    u"möchten,\r\nist es besser wenn Sie Vantor mit Administratorberechtigungen starten.\r\n"
    u"(Rechte Maustaste auf Vantor-XML.exe und im Kontextmenü auf \"Als Administrator ausführen\" "
    u"klicken.\r\nSonst bekommen Sie während der Indizierung ständig von Window "
    u"Zulassungsbestätigungen angezeigt.\r\nBezw. es werden nicht alle Dokumente indiziert.";

std::u16string RemoveInvalidNameChars(std::u16string_view name, bool& removed) {
    constexpr std::u16string_view kInvalid = u"/\\*?\"<>|:^";
    std::u16string cleaned;
    for (char16_t c : name) {
        if (kInvalid.find(c) == std::u16string_view::npos) cleaned += c;
    }
    removed = cleaned.size() != name.size();
    return cleaned;
}

bool NeedsAdministratorNotice(std::u16string_view folder, bool isAdministrator) {
    return !isAdministrator && platform::UpperCase(folder).find(u"C:\\") != std::u16string::npos;
}

DatabaseChecks CheckNewDatabase(std::u16string_view name, std::u16string_view folder,
                                DialogMode mode, const std::vector<std::u16string>& databaseNames) {
    DatabaseChecks checks;
    auto refuse = [&](std::u16string message) {
        checks.ok = false;
        checks.messages.push_back(std::move(message));
    };
    if (name.empty()) refuse(u"Sie haben keinen Namen für die Datenbank angegeben");
    if (folder.empty()) {
        refuse(u"Sie haben keinen Pfad angegeben");
    } else if (!platform::DirectoryExists(folder)) {
        refuse(u"Der angegebene Ordner existiert nicht");
    }
    if (mode == DialogMode::Create) {
        // The name itself, and the row of the file the name would write (a name that already
        // names a database file writes the file of the row without the extension).
        const std::u16string upperName = platform::UpperCase(name);
        const std::u16string upperRow =
            platform::UpperCase(index::DatabaseRowOf(index::DatabaseFileName(name)));
        for (const auto& row : databaseNames) {
            const std::u16string upper = platform::UpperCase(row);
            if (upper == upperName || upper == upperRow) {
                refuse(u"Dieser Name existiert schon! Geben Sie einen anderen ein!");
                break;
            }
        }
    }
    return checks;
}

}  // namespace vx::indexing
