#include "indexing/data_folders.h"

#include "platform/files.h"

namespace vx::indexing {

void EnsureDataFolders(RunQuestions& questions, const platform::WorkingFolders& folders) {
    auto warn = [&](const std::u16string& text) { questions.Tell(MessageKind::Warning, text); };
    // The scratch folder lies below the user's data folder, which may not exist yet.
    if (!platform::DirectoryExists(folders.zipTemp) &&
        !platform::CreateFolderTree(folders.zipTemp)) {
        warn(u"Kann das temporäre Verzeichnis " + folders.zipTemp + u" nicht anlegen!");
    }
    for (const std::u16string* folder : {&folders.textCopy, &folders.database, &folders.chunk}) {
        if (!platform::DirectoryExists(*folder) && !platform::CreateFolder(*folder)) {
            warn(u"Kann das Verzeichnis " + *folder + u" nicht anlegen!");
        }
    }
}

}  // namespace vx::indexing
