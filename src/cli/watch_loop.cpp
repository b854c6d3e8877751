#include "cli/watch_loop.h"

#include <poll.h>
#include <signal.h>

#include <algorithm>
#include <cerrno>
#include <iostream>
#include <memory>
#include <optional>
#include <set>

#include "cli/command_registry.h"
#include "cli/watch_host.h"
#include "cli/watch_output.h"
#include "cli/watch_update.h"
#include "index/database_files.h"
#include "indexing/commands.h"
#include "indexing/data_folders.h"
#include "indexing/database_names.h"
#include "platform/document_tree.h"
#include "platform/file_lock.h"
#include "platform/folder_listing.h"
#include "platform/paths.h"
#include "platform/system_error_text.h"
#include "platform/text.h"
#include "platform/tree_watch.h"

namespace vx::cli {

namespace {

using platform::TreeEvent;

// A tree counts as quiet after this long without a change; an update comes at most this long
// after the first change; a database another program indexes is tried again at this interval.
constexpr int64_t kQuietMs = 1000;
constexpr int64_t kLongestDelayMs = 10000;
constexpr int64_t kLockRetryMs = 1000;

bool IsDocumentName(std::string_view name) {
    return platform::MatchesMask(platform::FromUtf8(name), u"*.xml");
}

bool IsDatabaseFile(std::string_view name) {
    return index::IsDatabaseFileName(platform::FromUtf8(name));
}

// "1 geändert, 2 neu, 1 gelöscht"
std::string ChangesText(const platform::DocumentChanges& changes) {
    std::string text;
    const auto add = [&text](int count, const char* what) {
        if (count == 0) return;
        if (!text.empty()) text += ", ";
        text += std::to_string(count) + " " + what;
    };
    add(changes.changed, "geändert");
    add(changes.added, "neu");
    add(changes.removed, "gelöscht");
    return text;
}

struct WatchedDatabase {
    std::u16string name;
    std::string root;  // host path of its folder ("" when it has none)
    std::unique_ptr<platform::TreeWatch> watch;
    platform::DocumentStates documents;  // as the last look at the tree found them

    // Seen since that look: documents, or anything in the tree.
    std::set<std::string> touched;
    bool wholeTree = false;
    int64_t firstChange = -1;
    int64_t lastChange = -1;

    // Changes found and not yet indexed.
    bool updateDue = false;
    bool atStart = false;  // the first update, which catches up with what changed meanwhile
    platform::DocumentChanges unindexed;
    int64_t retryAt = 0;
    bool waiting = false;  // another program holds the lock; said once

    // Walks at an interval, where inotify does not serve the whole tree.
    bool walks = false;
    int64_t nextWalk = 0;
    bool limitReported = false;
    bool rootMissing = false;  // said once until it is back

    bool Pending() const { return firstChange >= 0; }
};

class Watcher {
  public:
    Watcher(const platform::WorkingFolders& folders, const WatchSettings& settings,
            const StopSignals& stop)
        : folders_(folders),
          settings_(settings),
          stop_(stop),
          updates_(folders, settings.run, stop),
          databaseWatch_(platform::ToHostPath(folders.database), IsDatabaseFile,
                         {.subfolders = false, .maxWatches = 0}) {}

    int Run() {
        platform::SetProgramName(u"vantor-xml-cli watch");
        {
            RunFlags flags;
            WatchHost host(nullptr, flags);
            indexing::EnsureDataFolders(host, folders_);
            host.PrintMessages("");
        }
        if (!NamedDatabasesExist()) return kExitError;
        std::vector<TreeEvent> ignored;
        databaseWatch_.Start(ignored);
        SyncDatabases();
        if (databases_.empty()) {
            PrintLine(
                "Keine Datenbank zu beobachten; neue werden beobachtet, sobald sie angelegt "
                "sind.");
        }
        while (stop_.Signal() == 0) {
            for (std::size_t i = 0; i < databases_.size() && stop_.Signal() == 0; ++i) {
                Work(*databases_[i], SteadyTickMs());
            }
            if (stop_.Signal() == 0) WaitForChanges();
        }
        return stop_.Signal() == SIGINT ? kExitInterrupted : kExitOk;
    }

  private:
    bool Wanted(const std::u16string& row) const {
        if (settings_.names.empty()) return true;
        const std::u16string upper = platform::UpperCase(row);
        return std::any_of(settings_.names.begin(), settings_.names.end(),
                           [&](const auto& name) { return platform::UpperCase(name) == upper; });
    }

    bool NamedDatabasesExist() const {
        const auto rows = indexing::ListDatabaseNames(folders_);
        bool all = true;
        for (const auto& name : settings_.names) {
            const std::u16string upper = platform::UpperCase(name);
            if (std::none_of(rows.begin(), rows.end(),
                             [&](const auto& row) { return platform::UpperCase(row) == upper; })) {
                std::cerr << "Unbekannte Datenbank: " << Utf8(name) << '\n';
                all = false;
            }
        }
        return all;
    }

    // Watches the databases of the list that are wanted, and forgets those that went.
    void SyncDatabases() {
        const auto rows = indexing::ListDatabaseNames(folders_);
        std::erase_if(databases_, [&](const std::unique_ptr<WatchedDatabase>& db) {
            if (std::find(rows.begin(), rows.end(), db->name) != rows.end()) return false;
            PrintLine(Utf8(db->name) +
                      ": Die Datenbank gibt es nicht mehr; sie wird nicht mehr "
                      "beobachtet.");
            return true;
        });
        for (const auto& row : rows) {
            const bool known = std::any_of(
                databases_.begin(), databases_.end(),
                [&](const std::unique_ptr<WatchedDatabase>& db) { return db->name == row; });
            if (!known && Wanted(row)) Add(row);
        }
    }

    // The host path of the database's folder, "" when it has none.
    std::string RootOf(const std::u16string& name) {
        RunFlags flags;
        WatchHost host(nullptr, flags);
        const indexing::IndexingCommands commands(host, flags, folders_);
        const std::u16string folder = commands.StoredFolder(name);
        return folder.empty() ? std::string() : platform::ToHostPath(folder);
    }

    void Add(const std::u16string& name) {
        auto db = std::make_unique<WatchedDatabase>();
        db->name = name;
        Watch(*db);
        db->documents = platform::ListDocuments(db->root, IsDocumentName);
        // The first update catches up with everything, whatever the watch saw on its way.
        db->touched.clear();
        db->wholeTree = false;
        db->firstChange = db->lastChange = -1;
        db->updateDue = true;
        db->atStart = true;
        PrintLine(Utf8(name) + ": beobachtet " + (db->root.empty() ? "(kein Ordner)" : db->root) +
                  " (" + GroupedNumber(static_cast<int64_t>(db->watch->WatchCount())) +
                  " Ordner, " + GroupedNumber(static_cast<int64_t>(db->documents.size())) +
                  " Dokumente).");
        databases_.push_back(std::move(db));
    }

    // Starts the watch of the database's folder, afresh.
    void Watch(WatchedDatabase& db) {
        db.root = RootOf(db.name);
        db.watch = std::make_unique<platform::TreeWatch>(
            db.root, IsDocumentName,
            platform::TreeWatch::Options{.subfolders = true, .maxWatches = settings_.maxWatches});
        db.walks = false;
        db.limitReported = false;
        std::vector<TreeEvent> events;
        db.watch->Start(events);
        if (db.rootMissing && db.watch->Fd() >= 0) {
            db.rootMissing = false;
            PrintLine(Utf8(db.name) + ": Der Ordner " + db.root + " ist wieder da.");
        }
        Take(db, events, SteadyTickMs());
    }

    void StartWalks(WatchedDatabase& db, int64_t now) {
        if (db.walks) return;
        db.walks = true;
        db.nextWalk = now + IntervalMs();
    }

    int64_t IntervalMs() const { return int64_t{settings_.intervalSeconds} * 1000; }

    std::string Every() const { return "alle " + std::to_string(settings_.intervalSeconds) + " s"; }

    // What the watch reported.
    void Take(WatchedDatabase& db, const std::vector<TreeEvent>& events, int64_t now) {
        if (events.empty()) return;
        const std::string name = Utf8(db.name);
        const char* limit = nullptr;  // the setting of the limit that was reached
        bool unwatchedReported = false;
        for (const TreeEvent& event : events) {
            switch (event.kind) {
                case TreeEvent::Kind::Document:
                    db.touched.insert(event.path);
                    break;
                case TreeEvent::Kind::FolderGone:
                    db.touched.merge(platform::PathsBelow(db.documents, event.path));
                    break;
                case TreeEvent::Kind::Unwatched:
                    db.wholeTree = true;
                    StartWalks(db, now);
                    if (event.error == ENOSPC) {
                        limit = "fs.inotify.max_user_watches";
                    } else if (event.error == EMFILE) {
                        limit = "fs.inotify.max_user_instances";
                    } else if (!unwatchedReported) {
                        unwatchedReported = true;
                        PrintNote(name + ": Der Ordner " + event.path +
                                  " kann nicht beobachtet werden (" +
                                  Utf8(platform::SystemErrorText(event.error)) +
                                  "); der Ordnerbaum wird " + Every() + " durchsucht.");
                    }
                    break;
                case TreeEvent::Kind::Lost:
                    db.wholeTree = true;
                    PrintNote(name +
                              ": Ereignisse gingen verloren (die Warteschlange von inotify "
                              "lief über); der Ordnerbaum wird ganz verglichen.");
                    break;
                case TreeEvent::Kind::RootGone:
                    db.wholeTree = true;
                    StartWalks(db, now);
                    if (!db.rootMissing) {
                        db.rootMissing = true;
                        PrintNote(name + ": Der Ordner " +
                                  (db.root.empty() ? std::string("der Datenbank") : db.root) +
                                  " ist nicht da; " + Every() + " wird nachgesehen, ob er kommt.");
                    }
                    break;
            }
        }
        if (limit != nullptr && !db.limitReported) {
            db.limitReported = true;
            const bool own =
                settings_.maxWatches != 0 && db.watch->WatchCount() >= settings_.maxWatches;
            PrintNote(name + ": " +
                      (own ? "Die Grenze von --max-watches " +
                                 std::to_string(settings_.maxWatches) + " Ordnern ist erreicht"
                           : "Die Grenze von inotify ist erreicht (" + std::string(limit) +
                                 "; höher setzen zum Beispiel mit \"sudo sysctl " + limit +
                                 "=524288\")") +
                      "; nicht alle Ordner werden beobachtet, der Ordnerbaum wird " + Every() +
                      " durchsucht.");
        }
        if (db.firstChange < 0) db.firstChange = now;
        db.lastChange = now;
    }

    // What is due for the database now: a walk, the look at what changed, the update.
    void Work(WatchedDatabase& db, int64_t now) {
        if (db.walks && now >= db.nextWalk) {
            db.nextWalk = now + IntervalMs();
            // A folder that was not there may have come (again).
            if (db.watch->Fd() < 0) Watch(db);
            db.wholeTree = true;
            if (db.firstChange < 0) db.firstChange = db.lastChange = now - kQuietMs;
        }
        if (db.Pending() &&
            (now - db.lastChange >= kQuietMs || now - db.firstChange >= kLongestDelayMs)) {
            Look(db);
        }
        if (db.updateDue && now >= db.retryAt) Update(db, now);
    }

    // Compares what changed with the last look.
    void Look(WatchedDatabase& db) {
        const platform::DocumentChanges changes =
            db.wholeTree ? platform::ReplaceDocuments(
                               db.documents, platform::ListDocuments(db.root, IsDocumentName))
                         : platform::UpdateDocuments(db.documents, db.touched);
        db.touched.clear();
        db.wholeTree = false;
        db.firstChange = db.lastChange = -1;
        if (!changes.Any()) return;
        db.unindexed += changes;
        db.updateDue = true;
    }

    void Update(WatchedDatabase& db, int64_t now) {
        {
            // Another program's run is waited for here rather than by asking the engine again,
            // which would walk the tree each time.
            platform::LockHolder holder;
            std::optional<platform::FileLock> probe = platform::FileLock::TryTake(
                index::DatabaseFiles(folders_, db.name).Lock(), &holder);
            const bool busy = !probe && errno == EWOULDBLOCK;
            probe.reset();
            if (busy) {
                WaitForLock(db, holder, now);
                return;
            }
        }
        const std::string what =
            db.atStart ? std::string("Abgleich beim Start") : ChangesText(db.unindexed);
        if (updates_.Run(db.name, what) == UpdateEnd::Busy) {
            WaitForLock(db, {}, now);
            return;
        }
        db.updateDue = false;
        db.atStart = false;
        db.unindexed = {};
        db.waiting = false;
    }

    void WaitForLock(WatchedDatabase& db, const platform::LockHolder& holder, int64_t now) {
        db.retryAt = now + kLockRetryMs;
        if (db.waiting) return;
        db.waiting = true;
        const std::string who = holder.pid == 0 ? std::string("einem anderen Programm")
                                                : Utf8(holder.program) + " (Prozess " +
                                                      std::to_string(holder.pid) + ")";
        PrintLine(Utf8(db.name) + " wird gerade von " + who +
                  " indiziert; die Aktualisierung folgt, sobald die Datenbank frei ist.");
    }

    // Waits in poll until a change, a stop signal or the next thing due.
    void WaitForChanges() {
        std::vector<pollfd> fds{{stop_.Fd(), POLLIN, 0}, {databaseWatch_.Fd(), POLLIN, 0}};
        std::vector<WatchedDatabase*> owners;
        for (const auto& db : databases_) {
            if (db->watch->Fd() < 0) continue;
            fds.push_back({db->watch->Fd(), POLLIN, 0});
            owners.push_back(db.get());
        }
        const int64_t now = SteadyTickMs();
        std::optional<int64_t> next;
        const auto due = [&next](int64_t at) { next = next ? std::min(*next, at) : at; };
        for (const auto& db : databases_) {
            if (db->Pending()) {
                due(std::min(db->lastChange + kQuietMs, db->firstChange + kLongestDelayMs));
            }
            if (db->updateDue) due(db->retryAt);
            if (db->walks) due(db->nextWalk);
        }
        const int timeout =
            next ? static_cast<int>(std::clamp<int64_t>(*next - now, 0, int64_t{24} * 3600 * 1000))
                 : -1;
        if (poll(fds.data(), fds.size(), timeout) <= 0) return;
        const int64_t after = SteadyTickMs();
        for (std::size_t i = 0; i < owners.size(); ++i) {
            if (fds[i + 2].revents == 0) continue;
            std::vector<TreeEvent> events;
            owners[i]->watch->Read(events);
            Take(*owners[i], events, after);
        }
        if (fds[1].revents != 0) {
            std::vector<TreeEvent> events;
            databaseWatch_.Read(events);
            if (!events.empty()) SyncDatabases();
        }
    }

    const platform::WorkingFolders& folders_;
    const WatchSettings& settings_;
    const StopSignals& stop_;
    UpdateRunner updates_;
    platform::TreeWatch databaseWatch_;  // the database folder, for databases that come and go
    std::vector<std::unique_ptr<WatchedDatabase>> databases_;
};

}  // namespace

int RunWatcher(const platform::WorkingFolders& folders, const WatchSettings& settings,
               const StopSignals& stop) {
    return Watcher(folders, settings, stop).Run();
}

}  // namespace vx::cli
