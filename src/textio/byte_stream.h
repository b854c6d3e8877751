// The byte streams under the text stream: an abstract interface, and an in-memory stream.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vx::textio {

enum class SeekOrigin { Begin, Current, End };

class ByteStream {
  public:
    virtual ~ByteStream() = default;
    // Reads up to count bytes; fewer only at the end of the stream. Returns the bytes read.
    virtual size_t Read(void* buffer, size_t count) = 0;
    // Writes count bytes; returns the bytes written.
    virtual size_t Write(const void* buffer, size_t count) = 0;
    // Moves the position; returns the new position.
    virtual int64_t Seek(int64_t offset, SeekOrigin origin) = 0;
    virtual int64_t Size() = 0;
    // Cuts or extends the stream; the position stays unless it lies behind the new end.
    virtual void SetSize(int64_t size) = 0;

    int64_t Position() { return Seek(0, SeekOrigin::Current); }
};

// A stream over bytes held in memory.
class MemoryByteStream : public ByteStream {
  public:
    MemoryByteStream() = default;
    explicit MemoryByteStream(std::string bytes) : bytes_(std::move(bytes)) {}

    size_t Read(void* buffer, size_t count) override;
    size_t Write(const void* buffer, size_t count) override;
    int64_t Seek(int64_t offset, SeekOrigin origin) override;
    int64_t Size() override { return static_cast<int64_t>(bytes_.size()); }
    void SetSize(int64_t size) override;

    const std::string& Bytes() const { return bytes_; }
    // Number of Seek calls that changed the position (lets callers see that a query did not move).
    int MovingSeeks() const { return movingSeeks_; }

  private:
    std::string bytes_;
    size_t position_ = 0;
    int movingSeeks_ = 0;
};

}  // namespace vx::textio
