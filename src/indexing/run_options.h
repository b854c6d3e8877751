// The settings of an indexing run that the hosts choose.
#pragma once

namespace vx::indexing {

// Documents per pass of an indexing run.
constexpr int kDefaultChunkSize = 20000;

struct RunOptions {
    int chunkSize = kDefaultChunkSize;  // documents per pass (at least 2)
    // Threads that extract documents ahead of the filing; 0 extracts on the run thread,
    // -1 chooses by the number of processors. The database files do not depend on it.
    int parseThreads = -1;
    // Re-index parses every document, also those unchanged since the previous run.
    bool fullReindex = false;
};

}  // namespace vx::indexing
