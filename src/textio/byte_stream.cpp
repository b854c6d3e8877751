#include "textio/byte_stream.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace vx::textio {

size_t MemoryByteStream::Read(void* buffer, size_t count) {
    if (position_ >= bytes_.size()) return 0;
    const size_t n = std::min(count, bytes_.size() - position_);
    std::memcpy(buffer, bytes_.data() + position_, n);
    position_ += n;
    return n;
}

size_t MemoryByteStream::Write(const void* buffer, size_t count) {
    if (position_ > bytes_.size()) bytes_.resize(position_, '\0');
    const size_t overlap = std::min(count, bytes_.size() - position_);
    bytes_.replace(position_, overlap, static_cast<const char*>(buffer), count);
    position_ += count;
    return count;
}

int64_t MemoryByteStream::Seek(int64_t offset, SeekOrigin origin) {
    int64_t base = 0;
    if (origin == SeekOrigin::Current) base = static_cast<int64_t>(position_);
    if (origin == SeekOrigin::End) base = static_cast<int64_t>(bytes_.size());
    const int64_t target = base + offset;
    if (target < 0) throw std::invalid_argument("MemoryByteStream: seek before the start");
    if (static_cast<size_t>(target) != position_) ++movingSeeks_;
    position_ = static_cast<size_t>(target);
    return target;
}

void MemoryByteStream::SetSize(int64_t size) {
    if (size < 0) throw std::invalid_argument("MemoryByteStream: negative size");
    bytes_.resize(static_cast<size_t>(size), '\0');
    position_ = std::min(position_, bytes_.size());
}

}  // namespace vx::textio
