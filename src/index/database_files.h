// Every file of a database, named in one place: the files below the database folder, the names
// under which a run stages them, its lock, and the folder of its text copies. Callers ask here;
// nobody else spells a file name of a database.
//
// A database named N (its row in the database list) has, below Datenbank\:
//   N.dat          the database file (N itself when N ends in ".dat")
//   N_ansi.txt     the ANSI word list        N_unicode.txt  the Unicode word list
//   N.log          the log of the last run   N.old          the database file before a re-index
//   N.dat.idx      the search lookup file    N.words, N.cache  what a re-index reuses
// and below Datenbank\Temp\ (upper-cased, so that names in another letter case meet):
//   N.lock         the lock of the database's writers
//   N.run\         the staging folder of the run that holds the lock (chunks, staged files)
// Its text copies lie below XML_Texte\N\; a run writes the copies of the documents it parses to
// XML_Texte\^N\ (upper-cased; no database name holds "^"), on the disk of the copies, until its
// commit puts them in place.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/working_folders.h"

namespace vx::index {

// The mask of the database list: every "*.DAT" of the database folder.
inline constexpr std::u16string_view kDatabaseFileMask = u"*.DAT";

// Whether a file name is that of a database file (ends in ".dat", letter case ignored).
bool IsDatabaseFileName(std::u16string_view fileName);
// The database file of a name: the name itself when it ends in ".dat" (any case), otherwise the
// name with ".dat" appended, also when it has another extension ("Akten.2024").
std::u16string DatabaseFileName(std::u16string_view name);
// The row of the database list that a database file gives: its name without the first ".DAT".
std::u16string DatabaseRowOf(std::u16string_view fileName);
// The names (without folder) of the word lists and the backup of a database named name.
std::u16string AnsiWordListName(std::u16string_view name);
std::u16string UnicodeWordListName(std::u16string_view name);
std::u16string BackupName(std::u16string_view name);
// The database file that a search opens for a row: the row with ".dat" appended, always.
std::u16string DatabaseFileOfRow(std::u16string_view row);
// The name a create runs under for a typed name: without its ".dat" (any case) at the end when
// something stays before it, so that the text copies, word lists and log take the row's name.
std::u16string CreatedName(std::u16string_view typedName);

class DatabaseFiles {
  public:
    // name: the database's name as its row shows it (the name field of a create).
    DatabaseFiles(const platform::WorkingFolders& folders, std::u16string_view name);

    const std::u16string& Name() const { return name_; }
    std::u16string Database() const;
    std::u16string AnsiWordList() const;
    std::u16string UnicodeWordList() const;
    std::u16string Log() const;
    std::u16string Backup() const;
    std::u16string Lookup() const;
    std::u16string KeptWords() const;
    std::u16string Cache() const;
    std::u16string Lock() const;
    // The staging folder of the run that holds the lock (no trailing "\").
    std::u16string Staging() const;
    // The chunk file of a pass in the staging folder: the database file's name for pass 1,
    // otherwise that name up to its first ".DAT" (any case) + "_" + pass + ".dat".
    std::u16string Chunk(int pass) const;
    // The folder of the text copies (TextCopyFolder + name, no trailing "\").
    std::u16string TextCopies() const;
    // The folder where a run writes text copies until its commit (no trailing "\").
    std::u16string StagedTextCopies() const;

  private:
    std::u16string name_;
    std::u16string databaseFolder_;
    std::u16string chunkFolder_;
    std::u16string textCopyFolder_;
};

// "Bench.dat" -> "Bench.dat.idx" (no listing of "*.DAT" shows it).
std::u16string LookupFileName(std::u16string_view databaseFile);
// The name under which the process pid writes a lookup file before it puts it in place.
std::u16string LookupScratchName(std::u16string_view lookupFile, int64_t pid);
// The process that wrote a file of that form (a name of the database folder), or nullopt.
std::optional<int64_t> LookupScratchOwner(std::u16string_view fileName);

// The lock of the database whose staging folder a name of Datenbank\Temp is (owner as
// StagingOwner gives it): the lock its run holds, DatabaseFiles::Lock.
std::u16string StagingOwnerLock(const platform::WorkingFolders& folders, std::u16string_view owner);

// The name of the database whose lock or staging folder a name of Datenbank\Temp or XML_Texte is
// (upper-case, as Lock, Staging and StagedTextCopies spell it), or nullopt for any other name.
std::optional<std::u16string> StagingOwner(std::u16string_view tempEntryName);

}  // namespace vx::index
