// A byte stream that forwards to a wrapped stream and delays position queries, so that asking for
// the size (seek 0 from current, seek to the end, seek back) never moves the wrapped stream.
#pragma once

#include "textio/byte_stream.h"

namespace vx::textio {

class TGpStreamWrapper : public ByteStream {
  public:
    explicit TGpStreamWrapper(ByteStream& wrapped) : wrapped_(wrapped) {}

    size_t Read(void* buffer, size_t count) override;
    size_t Write(const void* buffer, size_t count) override;
    // Seek by 0 from the current position: returns the position and only remembers it. Seek by 0
    // from the end right after it: returns the size and is kept pending. Seek from the beginning
    // to the remembered position: cancels the pending seek. Any other seek first applies the
    // pending one.
    int64_t Seek(int64_t offset, SeekOrigin origin) override;
    int64_t Size() override { return wrapped_.Size(); }
    void SetSize(int64_t size) override;

    ByteStream& Wrapped() { return wrapped_; }

  protected:
    // Moves the wrapped stream to a seek that is still pending.
    void ApplyPendingSeek();

  private:
    ByteStream& wrapped_;
    bool remembered_ = false;  // a position query was answered without moving
    int64_t rememberedPosition_ = 0;
    bool pendingEnd_ = false;  // a seek to the end was answered but not done
};

}  // namespace vx::textio
