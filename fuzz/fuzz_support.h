// Shared parts of the fuzz targets: a host that shows nothing, scratch files, and the checks
// whose failure the fuzzer reports as a crash.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "platform/host.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace vx::fuzz {

// Stops the run with a message; the fuzzer keeps the input that led here.
#define VX_FUZZ_CHECK(condition)                                                                 \
    do {                                                                                         \
        if (!(condition)) {                                                                      \
            std::fprintf(stderr, "check failed at %s:%d: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                        \
        }                                                                                        \
    } while (false)

class QuietHost : public Host {
  public:
    void SetStatusLine(const std::u16string&) override {}
    void SetTotalsLine(const std::u16string&) override {}
    MessageAnswer ShowMessage(MessageKind, const std::u16string&, const std::u16string&,
                              MessageButtons) override {
        return MessageAnswer::Ok;
    }
    void Pause() override {}
};

// A folder of this process for the files an input becomes (in memory where the system has
// /dev/shm).
inline const std::filesystem::path& ScratchFolder() {
    static const std::filesystem::path folder = [] {
        const std::filesystem::path base = std::filesystem::exists("/dev/shm")
                                               ? "/dev/shm"
                                               : std::filesystem::temp_directory_path();
        std::filesystem::path path = base / ("vx-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
        std::atexit([] { std::filesystem::remove_all(ScratchFolder()); });
        return path;
    }();
    return folder;
}

// Writes the bytes to a scratch file and returns its Windows-form path.
inline std::u16string ScratchFile(const std::string& name, std::string_view bytes) {
    const std::filesystem::path path = ScratchFolder() / name;
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<long>(bytes.size()));
    return platform::ToWindowsPath(path.string());
}

inline std::string ReadScratchFile(const std::string& name) {
    std::ifstream in(ScratchFolder() / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Standard UTF-8: what every file the system writes must be.
inline bool IsValidUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto b0 = static_cast<unsigned char>(bytes[i]);
        std::size_t n = b0 < 0x80   ? 1
                        : b0 < 0xC2 ? 0
                        : b0 < 0xE0 ? 2
                        : b0 < 0xF0 ? 3
                        : b0 < 0xF5 ? 4
                                    : 0;
        if (n == 0 || i + n > bytes.size()) return false;
        uint32_t cp = n == 1 ? b0 : b0 & (0x7F >> n);
        for (std::size_t j = 1; j < n; ++j) {
            const auto b = static_cast<unsigned char>(bytes[i + j]);
            if ((b & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (b & 0x3F);
        }
        const uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < least[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += n;
    }
    return true;
}

}  // namespace vx::fuzz

namespace vx::fuzz {

// The page's markup is whole: every tag closes before the next one opens, and the text between
// tags holds no bare angle bracket (it is escaped).
inline bool MarkupIsWhole(std::u16string_view line) {
    bool inTag = false;
    for (const char16_t c : line) {
        if (c == u'<') {
            if (inTag) return false;
            inTag = true;
        } else if (c == u'>') {
            if (!inTag) return false;
            inTag = false;
        }
    }
    return !inTag;
}

}  // namespace vx::fuzz
