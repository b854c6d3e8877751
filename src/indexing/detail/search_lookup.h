// The search lookup file that goes with every database file a run writes.
#pragma once

#include <future>
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
    // Waits until the lookup file is written; throws textio::FileError when it could not be.
    // Nothing is done without Start.
    void Finish();

  private:
    index::DatabaseCommit* commit_ = nullptr;
    std::u16string lookupFile_;
    std::future<bool> written_;
};

// Start and Finish in one.
void StageLookupFile(index::DatabaseCommit& commit, std::u16string_view databaseFile);

}  // namespace vx::indexing
