// What the indexing commands (create, reindex) share: their options, the report of the dialog's
// checks and their exit status.
#pragma once

#include <vector>

#include "cli/command_line.h"
#include "cli/command_registry.h"
#include "indexing/commands.h"
#include "indexing/new_database_checks.h"

namespace vx::cli {

// The options of every indexing command, then the command's own ones.
inline std::vector<OptionSyntax> IndexingOptions(std::vector<OptionSyntax> own) {
    std::vector<OptionSyntax> options = {
        {"--chunk-size", "", "N", "Dokumente je Durchgang (ab 2, Vorgabe 20000)", 2},
        {"--threads", "", "N",
         "Threads, die Dokumente vorab lesen (0: keine; Vorgabe: nach Prozessoren)", 0, 256},
        {"--yes", "", "", "die Frage vor der Indizierung mit Ja beantworten"},
    };
    options.insert(options.end(), own.begin(), own.end());
    return options;
}

inline indexing::RunOptions RunOptionsOf(const Arguments& arguments) {
    indexing::RunOptions options;
    options.chunkSize = arguments.Number("--chunk-size", indexing::kDefaultChunkSize);
    options.parseThreads = arguments.Number("--threads", -1);
    return options;
}

// The messages of the new-database checks, as information boxes; whether the checks passed.
inline bool ReportChecks(RunQuestions& questions, const indexing::DatabaseChecks& checks) {
    for (const auto& message : checks.messages) questions.Tell(MessageKind::Information, message);
    return checks.ok;
}

// A run stopped by Ctrl-C has saved what it indexed and still reports 130.
inline int IndexingExitStatus(indexing::CommandOutcome outcome, bool interrupted) {
    if (interrupted) return kExitInterrupted;
    return outcome == indexing::CommandOutcome::Done ? kExitOk : kExitError;
}

}  // namespace vx::cli
