// The lines of a UTF-8 database file read from byte offsets, for the lines a search records and
// the continuation lines below them. The reads go through a window of the file that later reads
// reuse, so that lines close to each other cost one read.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/read_only_file.h"

namespace vx::search {

// A piece of the file kept in memory.
class FileWindow {
  public:
    static constexpr std::size_t kDefaultReadSize = std::size_t{64} * 1024;
    // readSize: the least a read brings in (where the next lines are wanted too, a larger piece
    // saves reads; for single lines far apart, a smaller one saves copying).
    explicit FileWindow(const platform::ReadOnlyFile& file, std::size_t readSize = kDefaultReadSize)
        : file_(file), readSize_(readSize) {}
    const platform::ReadOnlyFile& File() const { return file_; }
    // The bytes from offset on: at least count of them, fewer only at the end of the file.
    // Valid until the next call.
    std::string_view At(uint64_t offset, std::size_t count);

  private:
    const platform::ReadOnlyFile& file_;
    std::size_t readSize_;
    uint64_t start_ = 0;
    std::string bytes_;
};

class LineCursor {
  public:
    // The bytes a line's first read asks for (most lines are shorter); a longer line doubles it.
    static constexpr std::size_t kFirstLineRead = 4096;

    LineCursor(FileWindow& window, uint64_t offset) : window_(window), offset_(offset) {}
    // The bytes of the next line without its break (valid until the window is used again);
    // false at the end of the file. Lines break as SplitLines breaks them. A line of more than
    // maxBytes is read past without being held; it comes back empty, and Cut() tells.
    bool NextBytes(std::string_view& line, std::size_t maxBytes = static_cast<std::size_t>(-1));
    // The next line decoded as ReadTextFile decodes it.
    bool Next(std::u16string& line, std::size_t maxBytes = static_cast<std::size_t>(-1));
    // The last line was longer than maxBytes.
    bool Cut() const { return cut_; }
    // File offset of the next line.
    uint64_t Offset() const { return offset_; }

  private:
    FileWindow& window_;
    uint64_t offset_;
    bool cut_ = false;
};

// True when offset begins a line of the file whose text begins at textStart.
bool StartsLine(FileWindow& window, uint64_t offset, uint64_t textStart);

}  // namespace vx::search
