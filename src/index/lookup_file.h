// The search lookup file beside a database file: sorted tables of the words of the index section
// with the byte offsets of their lines in the database file, and of the document and path lines,
// so that a search reads only the lines it records. The database file stays as it is; the lookup
// file names the database file's size, last-write time and sampled bytes and is used only while
// they match. Every page of it carries a checksum, checked before its bytes are used.
//
// Keys: a line's key is its text up to the first "=" (the whole line without one), upper-cased
// code unit by code unit, as UTF-8 with lone surrogate halves in their 3-byte form. Lines of the
// index section that hold only digits and commas (continuation lines) have no key; lines whose
// text after the first "=" holds anything else are listed apart (odd lines), because a word can
// stand in them after the "=".
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/read_only_file.h"

namespace vx::index {

// The key of a line as the lookup file sorts it (see above).
std::string LookupKey(std::u16string_view lineText);
// True for a line that holds only digits and commas (no key).
bool IsNumbersLine(std::u16string_view line);
// True for a line with "=" whose text after the first "=" holds more than digits and commas.
bool IsOddLine(std::u16string_view line);

// Builds the lookup file of the database file and writes it to lookupFile (created or
// truncated). False, with nothing written, when the database file cannot have one (a UTF-16 or
// UTF-32 text, a line beyond the bounds of a database, or a file changed while it was read). Throws
// textio::FileError when a file cannot be read or written.
bool WriteLookupFile(std::u16string_view databaseFile, std::u16string_view lookupFile);
// Writes the lookup file of copiedDatabase, a byte-for-byte copy of databaseFile, from the lookup
// file of databaseFile: the same tables, made out to the copy. False, with nothing written, when
// lookupFile is not the current lookup file of databaseFile or the copy differs from it in size or
// sampled bytes. Throws textio::FileError when the new file cannot be written.
bool CopyLookupFile(std::u16string_view databaseFile, std::u16string_view lookupFile,
                    std::u16string_view copiedDatabase, std::u16string_view copiedLookup);

// Builds the lookup file of a database file from its lines, also while the database file is
// still being written: each call of TakeWritten takes the lines written since the last one, so
// that little is left to do once the file is complete. Finish (as WriteLookupFile) then writes
// the lookup file.
class LookupFileBuilder {
  public:
    LookupFileBuilder(std::u16string_view databaseFile, std::u16string_view lookupFile);
    ~LookupFileBuilder();
    LookupFileBuilder(const LookupFileBuilder&) = delete;
    LookupFileBuilder& operator=(const LookupFileBuilder&) = delete;

    // Takes the lines written so far (nothing while the file does not exist yet).
    void TakeWritten();
    // With the database file complete: takes the rest and writes the lookup file, as
    // WriteLookupFile does.
    bool Finish();

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Raised by LookupFile when its contents turn out damaged; a search then scans instead.
class LookupDamaged : public std::runtime_error {
  public:
    LookupDamaged() : std::runtime_error("lookup file damaged") {}
};

class LookupFile {
  public:
    ~LookupFile();
    // Opens the lookup file made from the database file; nullptr when it is missing, of another
    // format, damaged in its head, or was made from another state of the database file.
    static std::unique_ptr<LookupFile> Open(std::u16string_view lookupFile,
                                            const platform::ReadOnlyFile& database);

    // Byte offset of the index section's first marker line, nullopt when the file has none.
    std::optional<uint64_t> MarkerOffset() const;

    enum class Match { Equal, Prefix, Suffix, Contains };
    struct Lines {
        std::vector<std::string> keys;
        struct Line {
            uint64_t offset;
            uint32_t key;  // index into keys
        };
        std::vector<Line> lines;
    };
    // Appends the lines whose key equals, begins with, ends with or contains the given key bytes;
    // false (with out left in between) when out would hold more than maxLines lines, which a
    // scan reads faster. Reads only the pages it needs; throws LookupDamaged.
    bool FindLines(Match match, std::string_view key, Lines& out, std::size_t maxLines);
    // Offsets of the odd lines, ascending. Throws LookupDamaged.
    std::vector<uint64_t> OddLines();
    // The first line before the marker (all lines without one) that begins with key + " "
    // (the key holds no blank): its offset, or nullopt. Throws LookupDamaged.
    std::optional<uint64_t> DocumentLine(std::u16string_view key);
    // For a key without "=": whether a line up to the marker begins with key + "=", and the
    // offset of the latest line up to the first such line whose "=" is not its last character
    // (nullopt: none). Throws LookupDamaged.
    struct PathEntry {
        bool found = false;
        std::optional<uint64_t> folderLine;
    };
    PathEntry PathLine(std::u16string_view key);

    struct Impl;  // the checked pages of the file (lookup_reader.cpp)

  private:
    explicit LookupFile(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

}  // namespace vx::index
