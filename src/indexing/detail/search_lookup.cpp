#include "indexing/detail/search_lookup.h"

#include "index/database_files.h"
#include "index/lookup_file.h"

namespace vx::indexing {

LookupFileWriter::~LookupFileWriter() {
    DatabaseWritten(false);
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

// The thread that follows the database file: takes what is written whenever the run thread says
// so, and writes the lookup file once the database file is complete.
bool LookupFileWriter::Follow(const std::shared_ptr<Following>& following,
                              const std::u16string& database, const std::u16string& lookup) {
    index::LookupFileBuilder builder(database, lookup);
    uint64_t taken = 0;
    for (;;) {
        Following::File file;
        {
            std::unique_lock lock(following->mutex);
            following->wake.wait(lock, [&] {
                return following->written != taken || following->file != Following::File::Writing;
            });
            taken = following->written;
            file = following->file;
        }
        if (file == Following::File::Abandoned) return false;
        if (file == Following::File::Complete) return builder.Finish();
        builder.TakeWritten();
    }
}

void LookupFileWriter::StartFollowing(index::DatabaseCommit& commit,
                                      std::u16string_view databaseFile) {
    commit_ = &commit;
    lookupFile_ = index::LookupFileName(databaseFile);
    following_ = std::make_shared<Following>();
    written_ = std::async(std::launch::async | std::launch::deferred, Follow, following_,
                          commit.Stage(databaseFile), commit.Stage(lookupFile_));
}

void LookupFileWriter::Tell(const std::function<void(Following&)>& change) {
    if (!following_) return;
    {
        std::lock_guard lock(following_->mutex);
        if (following_->file != Following::File::Writing) return;
        change(*following_);
    }
    following_->wake.notify_one();
}

void LookupFileWriter::Written() {
    Tell([](Following& f) { ++f.written; });
}

void LookupFileWriter::DatabaseWritten(bool complete) {
    Tell([complete](Following& f) {
        f.file = complete ? Following::File::Complete : Following::File::Abandoned;
    });
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
