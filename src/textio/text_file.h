// Whole-file text operations used by every other module, plus streaming helpers for large files.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vx::textio {

// A conversion error of the text stream: the message and its numeric code (3001 ... 3005).
class TextStreamError : public std::runtime_error {
  public:
    TextStreamError(const std::string& message, int code)
        : std::runtime_error(message), code_(code) {}
    int Code() const { return code_; }

  private:
    int code_;
};

// A file-system error (missing file, no access, disk full); the message (UTF-8, German) names the
// file and the reason; SystemError is the errno value behind it (0 when none).
class FileError : public std::runtime_error {
  public:
    explicit FileError(const std::string& message, int systemError = 0)
        : std::runtime_error(message), systemError_(systemError) {}
    // The error of an action on a file: "<file> <action>: <the system's reason>".
    static FileError About(std::u16string_view fileName, std::u16string_view action,
                           int systemError);
    int SystemError() const { return systemError_; }
    // The disk itself refuses to take more (full, quota, read-only, failing): no later write can
    // succeed either, so a run ends instead of passing over the file.
    bool DiskRefuses() const;

  private:
    int systemError_;
};

constexpr int kCodePageUtf16 = 1200;
constexpr int kCodePageUtf32 = 12000;
constexpr int kCodePageUtf8 = 65001;

// Reads the whole file: byte-order mark detection; without a mark the bytes are UTF-8.
// File names are Windows-form paths. Throws FileError.
// A file with a UTF-16 or UTF-32 mark passes through the ANSI code page ("?" for characters
// without a byte) and the ANSI bytes are decoded as UTF-8, so only its ASCII text survives; read
// such files (the log, the search-word history) with ReadUtf16LeLines.
std::u16string ReadTextFile(std::u16string_view fileName);
// Creates or truncates the file and writes the text in the code page (65001: UTF-8 without mark,
// one code unit at a time). Throws FileError / TextStreamError.
void WriteToStream(std::u16string_view text, std::u16string_view fileName, int codePage);

// Splits at CR LF, LF or CR; a final line break does not start another line.
std::vector<std::u16string> SplitLines(std::u16string_view text);
// Every line followed by CR LF.
std::u16string JoinLines(const std::vector<std::u16string>& lines);
// Writes the lines, each followed by CR LF, as UTF-16 little-endian with mark FF FE.
void WriteUtf16LeLines(const std::vector<std::u16string>& lines, std::u16string_view fileName);
// Reads back what WriteUtf16LeLines wrote, split as SplitLines does: the text as the text stream
// decodes it (UTF-16 LE or BE, UTF-32 by its mark; UTF-8 with or without mark), every character
// kept. Throws FileError.
std::vector<std::u16string> ReadUtf16LeLines(std::u16string_view fileName);

// Streams UTF-8 text (the system's own files, without a mark) line by line without holding the
// whole file; each line is decoded as ReadTextFile would decode it.
class LineReader {
  public:
    explicit LineReader(std::u16string_view fileName);  // throws FileError
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;
    // Next line without its line break; false at the end.
    bool Next(std::u16string& line);
    // Lines longer than maxUnits are cut there (the rest is read past, never held), and
    // LastLineCut tells so: a damaged file cannot make a reader hold a huge line.
    void SetLineLimit(std::size_t maxUnits);
    bool LastLineCut() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Streams text into a file in the UTF-8 form of WriteToStream (no mark).
class TextWriter {
  public:
    // Creates / truncates the file (throws FileError); text is written when this many code
    // units have been collected.
    explicit TextWriter(std::u16string_view fileName,
                        std::size_t flushUnits = std::size_t{256} * 1024);
    ~TextWriter();
    TextWriter(const TextWriter&) = delete;
    TextWriter& operator=(const TextWriter&) = delete;
    void Write(std::u16string_view text);
    void Close();  // flushes; throws FileError on a write failure

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace vx::textio
