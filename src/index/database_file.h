// The database files: building the pass text, classifying the words of the word lists, and
// reading a saved database file (index section, document lines, path lines).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vx::index {

// The three line lists of a pass.
struct PassLists {
    std::vector<std::u16string> header;
    std::vector<std::u16string> documents;
    std::vector<std::u16string> index;
};

// Header lines trimmed and without one trailing backslash, document and index lines as they are;
// every line upper-cased and followed by CR LF.
std::u16string BuildPassText(const PassLists& lists);

enum class WordList { None, Ansi, Unicode };
// Which word list a word belongs to.
WordList ClassifyWord(std::u16string_view word);

// No line of a real database is this long: a path stays far below the header bound, and an entry
// line lists at most the documents of two passes. A longer line (in UTF-16 code units) means a
// damaged file.
inline constexpr std::size_t kMaxHeaderLineUnits = std::size_t{64} * 1024;
inline constexpr std::size_t kMaxIndexLineUnits = 64u << 20;
// A line of more UTF-8 bytes than this holds more code units than the bound (no code unit takes
// more than 3 bytes).
constexpr std::size_t BytesBeyond(std::size_t units) {
    return 3 * units + 3;
}

// A saved database file as lines, with the lookups search needs built once.
class DatabaseFile {
  public:
    explicit DatabaseFile(std::vector<std::u16string> lines);
    // Reads the file with ReadTextFile; throws textio::FileError when it cannot be read.
    static DatabaseFile Load(std::u16string_view fileName);

    const std::vector<std::u16string>& Lines() const { return lines_; }
    // Index of the line that opens the index section (IsIndexMarkerLine), or nullopt.
    std::optional<std::size_t> DatabaseMarkerLine() const { return marker_; }
    // The first line before the marker (the whole file without one) that begins with
    // number + " ", or nullptr.
    const std::u16string* DocumentLine(std::u16string_view number) const;
    // For a key "P3": the latest line up to and including the first line that begins with
    // key + "=" whose "=" is not its last character, trimmed; nullopt when no line begins with
    // key + "=".
    std::optional<std::u16string> PathLine(std::u16string_view key) const;

  private:
    std::vector<std::u16string> lines_;
    std::optional<std::size_t> marker_;
    std::unordered_map<std::u16string, std::size_t> documentLines_;  // number -> line
    std::unordered_map<std::u16string, std::size_t> pathLines_;      // "P3" -> resolving line
};

}  // namespace vx::index
