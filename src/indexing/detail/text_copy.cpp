#include "indexing/detail/text_copy.h"

#include "index/stored_names.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace vx::indexing {

namespace {

// Lines kept in memory per document; a larger text is read back from its copy for the filing.
constexpr std::size_t kMaxKeptUnits = 8u << 20;

std::u16string DriveLetter(std::u16string_view path) {
    if (path.size() >= 3 && path[1] == u':' && path[2] == u'\\') return std::u16string(1, path[0]);
    return {};
}

// The document's folder with trailing "\", without everything up to its first "\".
std::u16string FolderPart(std::u16string_view path) {
    const auto slash = path.rfind(u'\\');
    std::u16string folder(slash == std::u16string_view::npos ? std::u16string_view()
                                                             : path.substr(0, slash));
    folder += u'\\';
    const auto first = folder.find(u'\\');
    return folder.substr(first + 1);
}

bool HasUnpairedSurrogate(std::u16string_view s) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char16_t c = s[i];
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
                ++i;
                continue;
            }
            return true;
        }
        if (c >= 0xDC00 && c <= 0xDFFF) return true;
    }
    return false;
}

}  // namespace

std::u16string CopyName(std::u16string_view fileName) {
    return index::TextCopyName(fileName);
}

TextCopyLocation LocateTextCopy(std::u16string_view textCopyFolder,
                                std::u16string_view databaseName, std::u16string_view path) {
    TextCopyLocation location;
    location.folderPart = FolderPart(path);
    location.copyFolder = std::u16string(textCopyFolder) + std::u16string(databaseName) + u"\\" +
                          DriveLetter(path) + u"\\" + location.folderPart;
    location.copyFile = location.copyFolder + u"\\" + CopyName(platform::NameOf(path));
    location.extension = std::u16string(platform::ExtensionOf(path));
    return location;
}

std::u16string CreateCopyFolder(std::u16string_view textCopyFolder,
                                std::u16string_view databaseName, std::u16string_view path,
                                bool& failed) {
    failed = false;
    const std::u16string base = std::u16string(textCopyFolder) + std::u16string(databaseName) +
                                u"\\" + DriveLetter(path) + u"\\";
    std::u16string folder = FolderPart(path);
    // Spelled exactly as the document's folder: a copy folder left in another letter case by an
    // earlier run (a folder renamed since) is not taken for it.
    if (platform::CreateFolderTreeAsWritten(base + folder)) return base + folder;
    std::u16string lower;
    for (char16_t c : folder) lower += (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c;
    if (const auto exe = lower.find(u".exe"); exe != std::u16string::npos) folder.resize(exe);
    std::u16string cleaned;
    for (char16_t c : folder) {
        if (std::u16string_view(u"/*?\"<>|^").find(c) == std::u16string_view::npos) cleaned += c;
    }
    if (!platform::CreateFolderTreeAsWritten(base + cleaned)) failed = true;
    return base + folder;
}

TextCopySink::TextCopySink(std::u16string copyFile, bool writeAlways)
    : copyFile_(std::move(copyFile)), writeAlways_(writeAlways) {
    if (writeAlways_) Open();
}

TextCopySink::~TextCopySink() = default;

void TextCopySink::Open() {
    if (writer_ || failed_) return;
    try {
        writer_ = std::make_unique<textio::TextWriter>(copyFile_);
        written_ = true;
    } catch (const textio::FileError& error) {
        Failed(error);
        linesValid_ = false;
    }
}

void TextCopySink::Failed(const textio::FileError& error) {
    failed_ = true;
    if (error.DiskRefuses() && !diskError_) diskError_ = std::make_exception_ptr(error);
}

void TextCopySink::AddLine(std::u16string_view line) {
    if (writer_) {
        try {
            writer_->Write(line);
            writer_->Write(u"\r\n");
        } catch (const textio::FileError& error) {
            Failed(error);
            writer_.reset();
        }
    }
    if (!linesValid_) return;
    keptUnits_ += line.size() + 16;
    if (keptUnits_ > kMaxKeptUnits || HasUnpairedSurrogate(line)) {
        // The filing reads this copy back from its file.
        linesValid_ = false;
        std::vector<std::u16string>().swap(lines_);
        return;
    }
    lines_.emplace_back(line);
}

void TextCopySink::Entry(std::u16string_view text) {
    Open();
    // Every line break (CR LF, LF or CR) of the entry starts another pane line.
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' || text[i] == u'\n') {
            AddLine(text.substr(start, i - start));
            if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
            start = i + 1;
        }
    }
    AddLine(text.substr(start));
}

void TextCopySink::Finish(XmlLoadResult result) {
    if (writer_) {
        try {
            writer_->Close();
        } catch (const textio::FileError& error) {
            Failed(error);
        }
        writer_.reset();
    }
    if (result == XmlLoadResult::NotLoaded) {
        // A document that cannot be loaded has no text.
        lines_.clear();
        linesValid_ = !failed_;
        if (written_ && writeAlways_) {
            try {
                textio::TextWriter empty(copyFile_);
                empty.Close();
            } catch (const textio::FileError& error) {
                Failed(error);
            }
        } else if (written_) {
            platform::DeleteFileAt(copyFile_);
            written_ = false;
        }
    }
    if (failed_) {
        // A copy that could not be written completely is not kept.
        if (written_) platform::DeleteFileAt(copyFile_);
        written_ = false;
        linesValid_ = false;
        lines_.clear();
    }
    // A full or failing disk ends the run; any other failure only this document's copy.
    if (diskError_) std::rethrow_exception(diskError_);
}

}  // namespace vx::indexing
