// The files of one database written by a run, put in place together at its end.
//
// A run writes its database file, word lists, log and companion files under temporary names in
// its staging folder (which only the run holding the database's lock uses, and which that run
// empties at its start, so that the leftovers of a killed run go with the next one), and the
// text copies of the documents it parsed there too. Commit puts the text copies in place, then
// syncs the other files to the disk and renames them over their final names, the database file
// last: until then the previous database stays listed and searchable with its word lists and its
// own text copies, and a database that a run creates appears in the list only once it is
// complete. Files staged but never committed are removed when the object goes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vx::index {

class DatabaseCommit {
  public:
    // databaseFile: the final path of the database file, which is put in place last.
    DatabaseCommit(std::u16string stagingFolder, std::u16string databaseFile);
    ~DatabaseCommit();
    DatabaseCommit(const DatabaseCommit&) = delete;
    DatabaseCommit& operator=(const DatabaseCommit&) = delete;

    // The temporary name to write the final file to (the same name when staged again). A file
    // whose reader checks every part it takes (a cache) is put in place without a sync: a crash
    // may lose or damage it, and the next run works without it.
    std::u16string Stage(std::u16string_view finalPath, bool synced = true);
    // Forgets a staged file that will not be written after all (and removes what was written).
    void Unstage(std::u16string_view finalPath);
    // The final name of a staged file, or "" when it is not staged.
    std::u16string FinalNameOf(std::u16string_view stagedPath) const;

    // A text copy written at staged (in the staging folder) that goes to finalPath, spelled
    // exactly as given (missing folders are made so). Text copies are not synced: the run
    // records a hash of what each one holds and never takes a copy that differs.
    void StageTextCopy(std::u16string_view staged, std::u16string_view finalPath);

    // Puts every staged file in place: the text copies (a copy that cannot be put in place puts
    // those before it back), then each other file synced and renamed over its final name in
    // staging order, the database file last. With previousCopy given, an existing database file
    // is first kept under that name (replacing an earlier copy) without ever leaving the final
    // name empty. Throws textio::FileError, with a German message naming the file and the
    // reason, when a step fails; the files not yet renamed stay staged and are removed with the
    // object, and the previous text copies are back in place unless the database file itself
    // was already renamed.
    void Commit(std::u16string_view previousCopy = {});

    // Removes every staged file (a run that failed).
    void Discard();

  private:
    void KeepPrevious(std::u16string_view previousCopy);
    void PlaceTextCopies();
    void RestoreTextCopies();

    struct File {
        std::u16string staged;
        std::u16string final;
        bool synced = true;
    };
    struct TextCopy {
        std::string staged;     // host form
        std::string final;      // host form, as written
        std::string previous;   // where the copy it replaced waits, "" when there was none
        bool placed = false;
    };
    std::u16string stagingFolder_;
    std::u16string databaseFile_;
    std::vector<File> files_;
    std::vector<TextCopy> textCopies_;
    std::u16string stagedCopiesFolder_;  // the folder of the last staged copy, and its host form
    std::string stagedCopiesHostFolder_;
};

}  // namespace vx::index
