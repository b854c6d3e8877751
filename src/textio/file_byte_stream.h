// A byte stream over a file of the host, opened by its Windows-form path.
#pragma once

#include <string>
#include <string_view>

#include "textio/byte_stream.h"

namespace vx::textio {

enum class FileOpenMode {
    Read,          // existing file, read only
    CreateWrite,   // create or truncate, write only
    ReadWrite,     // existing file, read and write
    OpenOrCreate,  // read and write, created when missing, kept otherwise
};

// System errors (missing file, no access, disk full) raise FileError naming the file.
class FileByteStream : public ByteStream {
  public:
    // fileName is a Windows-form path ("Z:\tmp\a.txt"); resolved through the platform layer.
    FileByteStream(std::u16string_view fileName, FileOpenMode mode);
    ~FileByteStream() override;
    FileByteStream(const FileByteStream&) = delete;
    FileByteStream& operator=(const FileByteStream&) = delete;

    size_t Read(void* buffer, size_t count) override;
    size_t Write(const void* buffer, size_t count) override;
    int64_t Seek(int64_t offset, SeekOrigin origin) override;
    int64_t Size() override;
    void SetSize(int64_t size) override;

    // Closes the file; a failure of the close (data not written) raises FileError. Later calls do
    // nothing; the destructor closes silently.
    void Close();

  private:
    [[noreturn]] void Fail(const char16_t* action, int error) const;

    int fd_ = -1;
    std::u16string displayName_;  // the Windows-form name, for messages
};

// The whole file into bytes (its capacity is reused). Throws FileError.
void ReadWholeFile(std::u16string_view fileName, std::string& bytes);

}  // namespace vx::textio
