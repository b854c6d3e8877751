// The files of one database written by a run, put in place together at its end.
//
// A run writes its database file, word lists, log and companion files under temporary names in
// the staging folder (the chunk folder, which every run empties at its start, so that the
// leftovers of a killed run go with the next one). Commit syncs them to the disk and renames them
// over their final names, the database file last: until then the previous database stays listed
// and searchable with its word lists, and a database that a run creates appears in the list only
// once it is complete. Files staged but never committed are removed when the object goes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vx::index {

class DatabaseCommit {
  public:
    explicit DatabaseCommit(std::u16string stagingFolder);
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

    // Puts every staged file in place: each one synced, then renamed over its final name in
    // staging order, the database file (the final name that ends in ".dat") last. With
    // previousCopy given, an existing database file is first kept under that name (replacing an
    // earlier copy) without ever leaving the final name empty. Throws textio::FileError, with a
    // German message naming the file and the reason, when a step fails; the files not yet renamed
    // stay staged and are removed with the object.
    void Commit(std::u16string_view previousCopy = {});

    // Removes every staged file (a run that failed).
    void Discard();

  private:
    void KeepPrevious(const std::u16string& databaseFile, std::u16string_view previousCopy);

    struct File {
        std::u16string staged;
        std::u16string final;
        bool synced = true;
    };
    std::u16string stagingFolder_;
    std::vector<File> files_;
};

}  // namespace vx::index
