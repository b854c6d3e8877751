#include "textio/text_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>

#include "platform/system_error_text.h"
#include "platform/text.h"

#include "textio/detail/text_source.h"
#include "textio/file_byte_stream.h"
#include "textio/gp_text_stream.h"

namespace vx::textio {

namespace {

std::u16string ReadWhole(std::u16string_view fileName, bool ansiRoundTrip) {
    TextFileSource source(fileName, ansiRoundTrip);
    // Decoded straight into the result, which is sized by the file: no byte yields more than one
    // code unit (plus a few for a sequence completed at the end), so one allocation serves unless
    // the file grows while it is read.
    constexpr size_t kRoom = 64;  // ReadUnits wants at least 16 units
    size_t capacity = static_cast<size_t>(std::max<int64_t>(source.FileSize(), 0)) + kRoom;
    std::u16string text(capacity, u'\0');
    size_t length = 0;
    for (;;) {
        if (capacity - length < kRoom) {
            capacity += std::max(capacity / 2, kRoom);
            text.resize(capacity);
        }
        const size_t n = source.ReadUnits(text.data() + length, capacity - length);
        if (n == 0) break;
        length += n;
    }
    text.resize(length);
    return text;
}

// A short write that the file stream did not report itself (it raises FileError with the reason).
[[noreturn]] void FailToWrite(std::u16string_view fileName) {
    throw FileError::About(fileName, u"kann nicht geschrieben werden", EIO);
}

}  // namespace

FileError FileError::About(std::u16string_view fileName, std::u16string_view action,
                           int systemError) {
    return FileError(platform::ToUtf8(platform::FileErrorText(fileName, action, systemError)),
                     systemError);
}

bool FileError::DiskRefuses() const {
    return systemError_ == ENOSPC || systemError_ == EDQUOT || systemError_ == EROFS ||
           systemError_ == EIO || systemError_ == EFBIG;
}

std::u16string ReadTextFile(std::u16string_view fileName) {
    return ReadWhole(fileName, true);
}

std::vector<std::u16string> ReadUtf16LeLines(std::u16string_view fileName) {
    return SplitLines(ReadWhole(fileName, false));
}

void WriteToStream(std::u16string_view text, std::u16string_view fileName, int codePage) {
    FileByteStream file(fileName, FileOpenMode::CreateWrite);
    TGpTextStream stream(file, static_cast<uint16_t>(codePage), 0, TextAccess::Write);
    // A short write raises FileError in the file stream; the check covers any other stream.
    if (!stream.WriteString(text)) FailToWrite(fileName);
    file.Close();
}

void WriteUtf16LeLines(const std::vector<std::u16string>& lines, std::u16string_view fileName) {
    FileByteStream file(fileName, FileOpenMode::CreateWrite);
    TGpTextStream stream(file, kCodePageUtf16, 0, TextAccess::Write);  // writes FF FE
    std::u16string block;
    for (const auto& line : lines) {
        block += line;
        block += u"\r\n";
        if (block.size() >= std::size_t{64} * 1024) {
            if (!stream.WriteString(block)) FailToWrite(fileName);
            block.clear();
        }
    }
    if (!stream.WriteString(block)) FailToWrite(fileName);
    file.Close();
}

}  // namespace vx::textio
