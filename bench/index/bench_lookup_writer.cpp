// Writes the search lookup file of a database file several times; prints the CPU time of each
// writing (the machine is shared, so wall time alone says little).
//
//   bench_lookup_writer DATABASE_FILE [ROUNDS]
#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "index/lookup_file.h"
#include "platform/paths.h"

namespace {

double ThreadCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_lookup_writer DATABASE_FILE [ROUNDS]\n");
        return 2;
    }
    const std::u16string database = vx::platform::ToWindowsPath(argv[1]);
    const std::u16string lookup = database + u".bench";
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
    for (int i = 0; i < rounds; ++i) {
        const double start = ThreadCpuSeconds();
        if (!vx::index::WriteLookupFile(database, lookup)) {
            std::fprintf(stderr, "no lookup file for this database file\n");
            return 1;
        }
        std::printf("round %d: %.3f s CPU\n", i + 1, ThreadCpuSeconds() - start);
    }
    std::remove(vx::platform::ToHostPath(lookup).c_str());
    return 0;
}
