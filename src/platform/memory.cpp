#include "platform/memory.h"

#include <malloc.h>
#include <sys/auxv.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

namespace vx::platform {

namespace {

constexpr std::string_view kLargePagesTunable = "glibc.malloc.hugetlb";

}  // namespace

void ReturnFreeMemory() {
    malloc_trim(0);
}

std::optional<std::string> TunablesWithLargePages(const char* tunables) {
    const std::string setting = std::string(kLargePagesTunable) + "=1";
    if (tunables == nullptr || *tunables == '\0') return setting;
    if (std::string_view(tunables).find(kLargePagesTunable) != std::string_view::npos) {
        return std::nullopt;
    }
    return std::string(tunables) + ":" + setting;
}

bool LargePagesOnRequest(std::string_view modeLine) {
    return modeLine.find("[madvise]") != std::string_view::npos;
}

void RestartWithLargePages(char** argv) {
    // A program started with raised rights has GLIBC_TUNABLES filtered: it would start again
    // and again.
    if (getauxval(AT_SECURE) != 0) return;
    const char* const before = std::getenv("GLIBC_TUNABLES");
    const std::optional<std::string> tunables = TunablesWithLargePages(before);
    if (!tunables) return;
    std::ifstream modeFile("/sys/kernel/mm/transparent_hugepage/enabled");
    std::string mode;
    if (!std::getline(modeFile, mode) || !LargePagesOnRequest(mode)) return;
    const std::optional<std::string> kept =
        before ? std::optional<std::string>(before) : std::nullopt;
    if (setenv("GLIBC_TUNABLES", tunables->c_str(), 1) != 0) return;
    execv("/proc/self/exe", argv);
    // Not started again: on as before.
    if (kept) {
        setenv("GLIBC_TUNABLES", kept->c_str(), 1);
    } else {
        unsetenv("GLIBC_TUNABLES");
    }
}

}  // namespace vx::platform
