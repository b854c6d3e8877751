// Where the plain-text copy of a document lies and how it is written from the extraction.
#pragma once

#include <atomic>
#include <cstddef>
#include <exception>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "indexing/xml_text.h"
#include "textio/text_file.h"

namespace vx::indexing {

// The file name with the first occurrence of its extension removed, plus ".txt"
// ("a.xml.xml" -> "a.xml.txt").
std::u16string CopyName(std::u16string_view fileName);

// The pieces of a document's text-copy location.
struct TextCopyLocation {
    std::u16string folderPart;  // the document's folder with "\", without the drive part
    std::u16string copyFolder;  // TextCopyFolder + name + "\" + drive + "\" + folderPart
    std::u16string copyFile;    // copyFolder + "\" + copy name (the doubled "\" is kept)
    std::u16string extension;   // with its dot, as written
};
// textCopyFolder ends with "\"; databaseName is the name field.
TextCopyLocation LocateTextCopy(std::u16string_view textCopyFolder,
                                std::u16string_view databaseName, std::u16string_view path);

// Creates the copy folder with its parents. When that fails, the folder part is cut at ".exe"
// (letter case ignored) and a cleaned form without / * ? " < > | ^ is tried. Returns the copy
// folder to use (with the cut folder part) and sets failed when neither could be created.
std::u16string CreateCopyFolder(std::u16string_view textCopyFolder,
                                std::u16string_view databaseName, std::u16string_view path,
                                bool& failed);

// Receives the extraction of one document: writes every pane line followed by CR LF into the
// text copy and keeps the lines for the word filing while they stay small.
class TextCopySink : public XmlTextSink {
  public:
    // writeAlways: the copy is created even when no entry comes (an empty copy); otherwise it is
    // created with the first entry.
    TextCopySink(std::u16string copyFile, bool writeAlways);
    ~TextCopySink() override;
    void Entry(std::u16string_view text) override;
    // Ends the copy after the extraction. NotLoaded empties it (writeAlways) or removes it. A copy
    // that could not be written is removed; when the disk refused it (full, read-only, failing)
    // the FileError is thrown here, since no later document could be written either.
    void Finish(XmlLoadResult result);

    // Whether this sink wrote the copy file (it exists and holds what the lines say).
    bool Written() const { return written_; }
    // Whether Lines() are exactly the lines a reader of the copy gets back.
    bool LinesValid() const { return linesValid_; }
    std::vector<std::u16string>& Lines() { return lines_; }

  private:
    void Open();
    void AddLine(std::u16string_view line);
    void Failed(const textio::FileError& error);

    std::u16string copyFile_;
    bool writeAlways_;
    std::unique_ptr<textio::TextWriter> writer_;
    bool written_ = false;
    bool failed_ = false;
    std::exception_ptr diskError_;  // the first failure that the disk caused
    bool linesValid_ = true;
    std::size_t keptUnits_ = 0;
    std::vector<std::u16string> lines_;
};

}  // namespace vx::indexing
