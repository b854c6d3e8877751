// Files word occurrences the way a document indexing pass does, then saves the index and builds
// the pass text; prints the filing rate, the save times, the text sizes and the peak memory.
//
//   bench_index [occurrences] [vocabulary] [documents]
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <unordered_set>
#include <vector>

#include "index/database_file.h"
#include "index/pass_text.h"
#include "index/word_index.h"
#include "platform/paths.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// CPU time of this thread: the machine is shared, so wall time alone says little.
double ThreadCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

double PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;  // ru_maxrss is in KB on Linux
}

// Upper-case German-like words in Windows-1252: syllables of common onsets, vowels (umlauts
// included) and codas, with the usual suffixes; a few letter-digit words such as B2B.
std::vector<std::string> MakeVocabulary(std::size_t count, std::mt19937_64& rng) {
    const std::vector<std::string> onsets = {
        "B",  "BR", "BL", "D", "DR", "F",  "FR", "FL", "G",  "GR",  "GL",   "H",  "K",   "KR",
        "KL", "L",  "M",  "N", "P",  "PR", "PF", "R",  "S",  "SCH", "SCHW", "ST", "STR", "SP",
        "T",  "TR", "W",  "Z", "ZW", "V",  "J",  "CH", "QU", "A",   "E",    "I",  "O",   "U"};
    const std::vector<std::string> vowels = {"A",  "E", "I", "O", "U",    "AU",   "EI",   "IE",
                                             "EU", "A", "E", "I", "\xC4", "\xD6", "\xDC", "E"};
    const std::vector<std::string> codas = {"",   "",   "",   "N",  "R",    "L",  "S",  "T", "CH",
                                            "NG", "CK", "ND", "RT", "\xDF", "LT", "NK", "M", "FT"};
    const std::vector<std::string> suffixes = {"",   "",  "",     "UNG",  "HEIT",   "KEIT", "EN",
                                               "ER", "E", "LICH", "ISCH", "SCHAFT", "CHEN", "NIS"};
    std::unordered_set<std::string> seen;
    std::vector<std::string> words;
    const auto pick = [&](const std::vector<std::string>& from) -> const std::string& {
        return from[rng() % from.size()];
    };
    while (words.size() < count) {
        std::string word;
        if (rng() % 100 == 0) {
            word = std::string(1, static_cast<char>('A' + rng() % 26)) +
                   std::to_string(rng() % 1000) + pick(onsets);
        } else {
            const int syllables = 1 + static_cast<int>(rng() % 4);
            for (int s = 0; s < syllables; ++s) word += pick(onsets) + pick(vowels) + pick(codas);
            word += pick(suffixes);
        }
        if (word.size() < 2 || word.size() > 50) continue;
        if (seen.insert(word).second) words.push_back(std::move(word));
    }
    return words;
}

std::size_t Utf8Size(std::u16string_view line) {
    std::size_t bytes = 0;
    for (const char16_t c : line) bytes += c < 0x80 ? 1 : (c < 0x800 ? 2 : 3);
    return bytes;
}

}  // namespace

int main(int argc, char** argv) {
    const long long occurrences = argc > 1 ? std::atoll(argv[1]) : 20'000'000;
    const std::size_t vocabularySize =
        argc > 2 ? static_cast<std::size_t>(std::atoll(argv[2])) : 200'000;
    const int documents = argc > 3 ? std::atoi(argv[3]) : 20'000;

    std::mt19937_64 rng(20240601);
    const std::vector<std::string> words = MakeVocabulary(vocabularySize, rng);

    // Zipf (exponent 1) over the ranks; the vocabulary is in random order, so rank and bucket
    // are unrelated.
    std::vector<double> cumulative(words.size());
    double sum = 0;
    for (std::size_t r = 0; r < words.size(); ++r)
        cumulative[r] = sum += 1.0 / (static_cast<double>(r) + 1.0);
    std::uniform_real_distribution<double> uniform(0.0, sum);

    vx::index::WordIndex index;
    const long long perDocument = occurrences / documents;
    // The words of one document as the indexing holds them: keys (word + "=") one after the
    // other in a text it has just read, so they come from the cache as they do there.
    std::string documentText;
    std::vector<std::pair<uint32_t, uint32_t>> batch(
        static_cast<std::size_t>(perDocument));  // offset, length of key
    Clock::duration filing{};
    double filingCpu = 0;
    long long filed = 0;
    for (int32_t doc = 1; doc <= documents; ++doc) {
        documentText.clear();
        for (auto& [offset, length] : batch) {
            const auto rank = std::min<std::size_t>(
                static_cast<std::size_t>(
                    std::upper_bound(cumulative.begin(), cumulative.end(), uniform(rng)) -
                    cumulative.begin()),
                words.size() - 1);
            offset = static_cast<uint32_t>(documentText.size());
            length = static_cast<uint32_t>(words[rank].size() + 1);
            documentText += words[rank];
            documentText += '=';
        }
        const double cpuStart = ThreadCpuSeconds();
        const auto start = Clock::now();
        for (const auto& [offset, length] : batch) {
            const std::string_view key(documentText.data() + offset, length);
            bool handled = true;
            index.ExtendWordEntry(key, doc, handled);
            if (handled) index.AddWordEntry(key.substr(0, length - 1), doc);
        }
        filing += Clock::now() - start;
        filingCpu += ThreadCpuSeconds() - cpuStart;
        filed += perDocument;
    }
    const double peakAfterFiling = PeakMegabytes();

    vx::index::PassLists lists;
    lists.header = {
        u"[Scanmaske]",  u"TextDateienPfad=C:\\Daten\\*.xml", u" ", u" ", u"[Pfadliste]", u" ",
        u"P1=C:\\Daten "};
    for (int32_t doc = 1; doc <= documents; ++doc) {
        const std::string line = std::to_string(doc) + " P1 \\Dokument" + std::to_string(doc) +
                                 ".xml Size:20480 Date:1234567890";
        lists.documents.emplace_back(line.begin(), line.end());
    }
    lists.index = {u" ", u" ",           u"Gesamtgröße der indizierten Dateien in Byte: 1,2 GB",
                   u" ", u"[DATENBANK]", u" "};

    // Streaming write of the pass file, as the indexing run can do it.
    const auto folder =
        std::filesystem::temp_directory_path() / ("vx_bench_index_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const auto file = folder / "Bench.dat";
    auto start = Clock::now();
    vx::index::WritePassFiles(lists, index, {vx::platform::ToWindowsPath(file.string())});
    const double streamSeconds = Seconds(Clock::now() - start);
    const auto fileBytes = std::filesystem::file_size(file);
    std::filesystem::remove_all(folder);
    const double peakAfterStreaming = PeakMegabytes();

    // The in-memory path: SaveBuckets into the index list, then BuildPassText.
    start = Clock::now();
    const std::size_t headLines = lists.index.size();
    index.SaveBuckets(lists.index);
    const double saveSeconds = Seconds(Clock::now() - start);
    start = Clock::now();
    const std::u16string text = vx::index::BuildPassText(lists);
    const double buildSeconds = Seconds(Clock::now() - start);
    const double peakAfterBuild = PeakMegabytes();

    std::size_t entryLines = lists.index.size() - headLines;
    std::size_t indexBytes = 0;
    long long postings = 0;
    for (std::size_t i = headLines; i < lists.index.size(); ++i) {
        indexBytes += Utf8Size(lists.index[i]) + 2;
        postings += std::count(lists.index[i].begin(), lists.index[i].end(), u',');
    }
    const double indexMegabytes = static_cast<double>(indexBytes) / 1048576.0;

    std::printf("occurrences filed:            %lld over %d documents, %zu words\n", filed,
                documents, words.size());
    std::printf("filing (wall):                %.3f s, %.2f million occurrences per second\n",
                Seconds(filing), static_cast<double>(filed) / Seconds(filing) / 1e6);
    std::printf("filing (thread CPU time):     %.3f s, %.2f million occurrences per second\n",
                filingCpu, static_cast<double>(filed) / filingCpu / 1e6);
    std::printf("entry lines / postings:       %zu / %lld\n", entryLines, postings);
    std::printf("saved index text:             %.1f MB (UTF-8 as in the file)\n", indexMegabytes);
    std::printf("pass file (streamed):         %.1f MB written in %.3f s\n",
                static_cast<double>(fileBytes) / 1048576.0, streamSeconds);
    std::printf("SaveBuckets / BuildPassText:  %.3f s / %.3f s (text %.1f MB as UTF-16)\n",
                saveSeconds, buildSeconds, static_cast<double>(text.size() * 2) / 1048576.0);
    std::printf("peak memory after filing:     %.1f MB (%.2fx the saved index text)\n",
                peakAfterFiling, peakAfterFiling / indexMegabytes);
    std::printf("peak memory, streamed write:  %.1f MB (%.2fx)\n", peakAfterStreaming,
                peakAfterStreaming / indexMegabytes);
    std::printf("peak memory, in-memory text:  %.1f MB (%.2fx)\n", peakAfterBuild,
                peakAfterBuild / indexMegabytes);
    return 0;
}
