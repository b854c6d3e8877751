// A file opened for reading at given offsets, with the size and last-write time it had when it
// was opened. Reads never map the file, so a file cut short by another program only makes reads
// come back short.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vx::platform {

class ReadOnlyFile {
  public:
    // nullopt when the file cannot be opened (errno tells why).
    static std::optional<ReadOnlyFile> Open(std::u16string_view path);
    ~ReadOnlyFile();
    ReadOnlyFile(ReadOnlyFile&& other) noexcept;
    ReadOnlyFile& operator=(ReadOnlyFile&& other) noexcept;
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    uint64_t Size() const { return size_; }
    // Last-write time in nanoseconds since 1970 (kept by a rename).
    int64_t ModifiedNs() const { return modifiedNs_; }
    // Reads up to count bytes at offset; returns the bytes read (fewer at the end of the file,
    // 0 on a read error).
    std::size_t ReadAt(uint64_t offset, void* buffer, std::size_t count) const;
    // Reads exactly count bytes at offset; false when the file has fewer or cannot be read.
    bool ReadExactly(uint64_t offset, void* buffer, std::size_t count) const;

  private:
    explicit ReadOnlyFile(int fd) : fd_(fd) {}
    int fd_ = -1;
    uint64_t size_ = 0;
    int64_t modifiedNs_ = 0;
};

// Size and last-write time of the file at path, nullopt when it cannot be read.
struct FileStamp {
    uint64_t size = 0;
    int64_t modifiedNs = 0;
    bool operator==(const FileStamp&) const = default;
};
std::optional<FileStamp> StampOf(std::u16string_view path);

}  // namespace vx::platform
