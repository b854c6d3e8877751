#include "indexing/detail/search_lookup.h"

#include "index/lookup_file.h"

namespace vx::indexing {

LookupFileWriter::~LookupFileWriter() {
    if (written_.valid()) written_.wait();
}

void LookupFileWriter::Start(index::DatabaseCommit& commit, std::u16string_view databaseFile) {
    commit_ = &commit;
    lookupFile_ = index::LookupFileName(databaseFile);
    // The names are staged here: the commit is not shared with the thread. Without a thread to
    // spare the writing waits for Finish.
    written_ = std::async(std::launch::async | std::launch::deferred, index::WriteLookupFile,
                          commit.Stage(databaseFile), commit.Stage(lookupFile_));
}

void LookupFileWriter::Finish() {
    if (!written_.valid()) return;
    // A database file that cannot have one (none of this system's own) goes without; the search
    // then scans and writes one itself when it can.
    if (!written_.get()) commit_->Unstage(lookupFile_);
}

void StageLookupFile(index::DatabaseCommit& commit, std::u16string_view databaseFile) {
    LookupFileWriter writer;
    writer.Start(commit, databaseFile);
    writer.Finish();
}

}  // namespace vx::indexing
