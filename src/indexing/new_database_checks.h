// The checks and messages of the new-database dialog (create and re-index mode).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vx::indexing {

enum class DialogMode { Create, Update };

// Result of the new-database dialog's OK-button checks: the information boxes to show, in
// order, and whether the dialog's result stays OK.
struct DatabaseChecks {
    bool ok = true;
    std::vector<std::u16string> messages;
};
// name and folder as in the fields (untrimmed; folder in Windows form); databaseNames = the rows
// of the database list.
DatabaseChecks CheckNewDatabase(std::u16string_view name, std::u16string_view folder,
                                DialogMode mode, const std::vector<std::u16string>& databaseNames);

// The name field's change rule: every invalid character (/ \ * ? " < > | : ^) removed. removed
// tells whether anything was taken out; when the text was not empty and something was removed
// the dialog shows kInvalidNameMessage (plain message box).
std::u16string RemoveInvalidNameChars(std::u16string_view name, bool& removed);
extern const std::u16string kInvalidNameMessage;

// The message of the folder field when it names drive C: for a user who is not an
// administrator (shown once per program run; the caller keeps the flag).
bool NeedsAdministratorNotice(std::u16string_view folder, bool isAdministrator);
extern const std::u16string kAdministratorNotice;

}  // namespace vx::indexing
