#include "index/database_files.h"

#include "platform/paths.h"
#include "platform/text.h"

namespace vx::index {

namespace {

constexpr std::u16string_view kDatabaseExtension = u".dat";
constexpr std::u16string_view kUpperDatabaseExtension = u".DAT";
constexpr std::u16string_view kLookupExtension = u".idx";
constexpr std::u16string_view kScratchExtension = u".tmp";
constexpr std::u16string_view kLockExtension = u".lock";
constexpr std::u16string_view kStagingExtension = u".run";
constexpr char16_t kStagedCopiesMark = u'^';

std::u16string Joined(std::u16string_view folder, std::u16string_view name,
                      std::u16string_view suffix = {}) {
    std::u16string path(folder);
    path += u'\\';
    path += name;
    path += suffix;
    return path;
}

}  // namespace

bool IsDatabaseFileName(std::u16string_view fileName) {
    return platform::UpperCase(fileName).ends_with(kUpperDatabaseExtension);
}

std::u16string DatabaseFileName(std::u16string_view name) {
    std::u16string file(name);
    if (!IsDatabaseFileName(name)) file += kDatabaseExtension;
    return file;
}

std::u16string DatabaseRowOf(std::u16string_view fileName) {
    std::u16string row(fileName);
    const auto dat = platform::UpperCase(row).find(kUpperDatabaseExtension);
    if (dat != std::u16string::npos) row.erase(dat, kUpperDatabaseExtension.size());
    return row;
}

std::u16string AnsiWordListName(std::u16string_view name) {
    return std::u16string(name) + u"_ansi.txt";
}
std::u16string UnicodeWordListName(std::u16string_view name) {
    return std::u16string(name) + u"_unicode.txt";
}
std::u16string BackupName(std::u16string_view name) {
    return std::u16string(name) + u".old";
}

std::u16string DatabaseFileOfRow(std::u16string_view row) {
    return std::u16string(row) + std::u16string(kDatabaseExtension);
}

std::u16string CreatedName(std::u16string_view typedName) {
    std::u16string name(typedName);
    if (name.size() > kUpperDatabaseExtension.size() && IsDatabaseFileName(name)) {
        name.resize(name.size() - kUpperDatabaseExtension.size());
    }
    return name;
}

DatabaseFiles::DatabaseFiles(const platform::WorkingFolders& folders, std::u16string_view name)
    : name_(name),
      databaseFolder_(folders.database),
      chunkFolder_(folders.chunk),
      textCopyFolder_(folders.textCopy) {}

std::u16string DatabaseFiles::Database() const {
    return Joined(databaseFolder_, DatabaseFileName(name_));
}
std::u16string DatabaseFiles::AnsiWordList() const {
    return Joined(databaseFolder_, AnsiWordListName(name_));
}
std::u16string DatabaseFiles::UnicodeWordList() const {
    return Joined(databaseFolder_, UnicodeWordListName(name_));
}
std::u16string DatabaseFiles::Log() const {
    return Joined(databaseFolder_, name_, u".log");
}
std::u16string DatabaseFiles::Backup() const {
    return Joined(databaseFolder_, BackupName(name_));
}
std::u16string DatabaseFiles::Lookup() const {
    return LookupFileName(Database());
}
std::u16string DatabaseFiles::KeptWords() const {
    return Joined(databaseFolder_, name_, u".words");
}
std::u16string DatabaseFiles::Cache() const {
    return Joined(databaseFolder_, name_, u".cache");
}
std::u16string DatabaseFiles::Lock() const {
    return Joined(chunkFolder_, platform::UpperCase(name_), kLockExtension);
}
std::u16string DatabaseFiles::Staging() const {
    return Joined(chunkFolder_, platform::UpperCase(name_), kStagingExtension);
}

std::u16string DatabaseFiles::Chunk(int pass) const {
    const std::u16string file = DatabaseFileName(name_);
    if (pass == 1) return Joined(Staging(), file);
    const auto dat = platform::UpperCase(file).find(kUpperDatabaseExtension);
    return Joined(Staging(), std::u16string_view(file).substr(0, dat),
                  u"_" + platform::IntText(pass) + std::u16string(kDatabaseExtension));
}

std::u16string DatabaseFiles::TextCopies() const {
    return textCopyFolder_ + name_;
}

std::u16string DatabaseFiles::StagedTextCopies() const {
    return textCopyFolder_ + kStagedCopiesMark + platform::UpperCase(name_);
}

std::u16string LookupFileName(std::u16string_view databaseFile) {
    return std::u16string(databaseFile) + std::u16string(kLookupExtension);
}

std::u16string LookupScratchName(std::u16string_view lookupFile, int64_t pid) {
    return std::u16string(lookupFile) + u"." + platform::IntText(pid) +
           std::u16string(kScratchExtension);
}

std::optional<int64_t> LookupScratchOwner(std::u16string_view fileName) {
    const std::u16string upper = platform::UpperCase(fileName);
    const std::u16string marker = platform::UpperCase(kLookupExtension) + u".";
    const auto at = upper.rfind(marker);
    if (at == std::u16string::npos || !upper.ends_with(platform::UpperCase(kScratchExtension))) {
        return std::nullopt;
    }
    const std::size_t first = at + marker.size();
    const std::size_t end = upper.size() - kScratchExtension.size();
    int64_t pid = 0;
    if (end <= first ||
        !platform::ParseInt(std::u16string_view(upper).substr(first, end - first), pid) ||
        pid <= 0) {
        return std::nullopt;
    }
    return pid;
}

std::u16string StagingOwnerLock(const platform::WorkingFolders& folders,
                                std::u16string_view owner) {
    return DatabaseFiles(folders, owner).Lock();
}

std::optional<std::u16string> StagingOwner(std::u16string_view tempEntryName) {
    if (tempEntryName.size() > 1 && tempEntryName.front() == kStagedCopiesMark) {
        return std::u16string(tempEntryName.substr(1));
    }
    for (const std::u16string_view extension : {kLockExtension, kStagingExtension}) {
        if (tempEntryName.size() > extension.size() && tempEntryName.ends_with(extension)) {
            return std::u16string(tempEntryName.substr(0, tempEntryName.size() - extension.size()));
        }
    }
    return std::nullopt;
}

}  // namespace vx::index
