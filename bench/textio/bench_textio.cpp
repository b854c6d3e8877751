// Timing of the text files: writes a UTF-8 file of mixed ASCII, umlauts and CJK text (200 MB by
// default, or the size in MB given as the first argument) into a temp folder, then reads it whole
// with ReadTextFile and line by line with LineReader, printing MB/s and wall time of each step.
#include <unistd.h>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/text.h"
#include "textio/text_file.h"

namespace {

using Clock = std::chrono::steady_clock;

// CPU time of the process (user + system): on a machine shared with other work the wall time
// alone says little.
double Seconds(const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
}
double UserSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return Seconds(usage.ru_utime);
}
double SystemSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return Seconds(usage.ru_stime);
}

struct Timer {
    Clock::time_point wall = Clock::now();
    double user = UserSeconds();
    double system = SystemSeconds();
};

void Report(const char* step, uint64_t byteCount, const Timer& start) {
    const auto bytes = static_cast<double>(byteCount);
    const double wall = std::chrono::duration<double>(Clock::now() - start.wall).count();
    const double user = UserSeconds() - start.user;
    const double system = SystemSeconds() - start.system;
    std::printf(
        "%-20s %7.1f MB  wall %6.3f s  %7.1f MB/s  cpu %6.3f s (user %.3f, system %.3f)  %7.1f "
        "MB/s\n",
        step, bytes / 1e6, wall, bytes / 1e6 / wall, user + system, user, system,
        bytes / 1e6 / (user + system));
}

}  // namespace

int main(int argc, char** argv) {
    const uint64_t targetBytes = (argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 200) * 1000000;
    std::string folder =
        (std::filesystem::temp_directory_path() / "vx_bench_textio_XXXXXX").string();
    if (::mkdtemp(folder.data()) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    std::u16string fileName = u"Z:" + vx::platform::FromUtf8(folder + "/bench.txt");
    for (auto& c : fileName) {
        if (c == u'/') c = u'\\';
    }

    // Lines of 40 to 120 characters: mostly ASCII words, German umlauts, some CJK.
    const std::u16string words[] = {u"Datenbank",    u"Größe",     u"Straße", u"Prüfung", u"XML",
                                    u"Dokument",     u"日本語",    u"検索",   u"Äpfel",   u"und",
                                    u"Suchmaschine", u"Übersicht", u"der",    u"中文",    u"2024"};
    uint64_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<uint32_t>(seed >> 33);
    };
    uint64_t bytes = 0;
    uint64_t lines = 0;
    Timer start;
    {
        vx::textio::TextWriter writer(fileName);
        std::u16string line;
        while (bytes < targetBytes) {
            line.clear();
            const uint32_t length = 40 + next() % 80;
            while (line.size() < length) {
                line += words[next() % std::size(words)];
                line += u' ';
            }
            line += u"\r\n";
            writer.Write(line);
            for (char16_t c : line) bytes += c < 0x80 ? 1 : (c < 0x800 ? 2 : 3);
            ++lines;
        }
        writer.Close();
    }
    Report("write (TextWriter)", bytes, start);

    start = Timer();
    const std::u16string text = vx::textio::ReadTextFile(fileName);
    Report("ReadTextFile", bytes, start);

    start = Timer();
    uint64_t readLines = 0;
    uint64_t units = 0;
    {
        vx::textio::LineReader reader(fileName);
        std::u16string line;
        while (reader.Next(line)) {
            ++readLines;
            units += line.size();
        }
    }
    Report("LineReader", bytes, start);

    std::printf("%llu lines written, %llu read; %zu code units in the text\n",
                static_cast<unsigned long long>(lines), static_cast<unsigned long long>(readLines),
                text.size());
    std::filesystem::remove_all(folder);
    const bool consistent = readLines == lines && units + 2 * lines == text.size();
    if (!consistent) std::puts("MISMATCH between ReadTextFile and LineReader");
    return consistent ? 0 : 1;
}
