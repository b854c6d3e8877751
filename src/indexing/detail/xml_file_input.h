// Reading a document file for the XML parser in large chunks.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

namespace vx::indexing {

class XmlFileInput {
  public:
    XmlFileInput() = default;
    ~XmlFileInput();
    XmlFileInput(const XmlFileInput&) = delete;
    XmlFileInput& operator=(const XmlFileInput&) = delete;

    // Opens the document (Windows-form path). False when it is missing, unreadable or not a
    // regular file (a pipe or device named like a document is never read).
    bool Open(std::u16string_view windowsPath);
    // Copies up to len bytes into buffer: the count, 0 at the end, -1 on a read error.
    int Read(char* buffer, int len);
    uint64_t BytesRead() const { return bytesRead_; }
    // Why Open failed (an errno value).
    int OpenError() const { return openError_; }

    static constexpr std::size_t kChunkBytes = std::size_t{256} * 1024;

  private:
    bool Fill();

    int fd_ = -1;
    std::unique_ptr<char[]> chunk_;  // not zero-filled: it is written before it is read
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    uint64_t bytesRead_ = 0;
    bool failed_ = false;
    int openError_ = 0;
};

}  // namespace vx::indexing
