// The search lookup file that goes with every database file a run writes.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "index/database_commit.h"

namespace vx::indexing {

// Writes the lookup file of a database file staged in a commit, from the staged file, and stages
// it beside it, so that both are put in place together. The writing runs on a thread of its own
// while the run goes on with its other files.
class LookupFileWriter {
  public:
    LookupFileWriter() = default;
    ~LookupFileWriter();  // waits for the writing, if any
    LookupFileWriter(const LookupFileWriter&) = delete;
    LookupFileWriter& operator=(const LookupFileWriter&) = delete;

    // Starts writing; the database file must be complete and staged in commit.
    void Start(index::DatabaseCommit& commit, std::u16string_view databaseFile);
    // Starts taking the lines of a database file staged in commit that is about to be written:
    // the lookup file is built while it is written, as far as the lines allow. Call Written now
    // and then while the file is written, and DatabaseWritten when it is complete.
    void StartFollowing(index::DatabaseCommit& commit, std::u16string_view databaseFile);
    // More of the database file is written: the thread takes it.
    void Written();
    // The database file is complete (complete = true), or will not be: the writing ends with the
    // run. Nothing is done without StartFollowing.
    void DatabaseWritten(bool complete = true);
    // Waits until the lookup file is written; throws textio::FileError when it could not be.
    // Nothing is done without Start.
    void Finish();

  private:
    // What the run thread tells the thread that follows the database file.
    struct Following {
        std::mutex mutex;
        std::condition_variable wake;
        uint64_t written = 0;  // how often Written was called
        enum class File { Writing, Complete, Abandoned } file = File::Writing;
    };
    void Tell(const std::function<void(Following&)>& change);
    static bool Follow(const std::shared_ptr<Following>& following, const std::u16string& database,
                       const std::u16string& lookup);

    index::DatabaseCommit* commit_ = nullptr;
    std::u16string lookupFile_;
    std::shared_ptr<Following> following_;
    std::future<bool> written_;
};

// Start and Finish in one.
void StageLookupFile(index::DatabaseCommit& commit, std::u16string_view databaseFile);

}  // namespace vx::indexing
