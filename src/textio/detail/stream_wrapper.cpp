#include "textio/detail/stream_wrapper.h"

namespace vx::textio {

void TGpStreamWrapper::ApplyPendingSeek() {
    if (pendingEnd_) wrapped_.Seek(0, SeekOrigin::End);
    pendingEnd_ = false;
    remembered_ = false;
}

size_t TGpStreamWrapper::Read(void* buffer, size_t count) {
    ApplyPendingSeek();
    return wrapped_.Read(buffer, count);
}

size_t TGpStreamWrapper::Write(const void* buffer, size_t count) {
    ApplyPendingSeek();
    return wrapped_.Write(buffer, count);
}

int64_t TGpStreamWrapper::Seek(int64_t offset, SeekOrigin origin) {
    if (offset == 0 && origin == SeekOrigin::Current) {
        const int64_t position = pendingEnd_ ? wrapped_.Size() : wrapped_.Position();
        if (!pendingEnd_) {
            remembered_ = true;
            rememberedPosition_ = position;
        }
        return position;
    }
    if (offset == 0 && origin == SeekOrigin::End && remembered_) {
        pendingEnd_ = true;
        return wrapped_.Size();
    }
    if (origin == SeekOrigin::Begin && remembered_ && offset == rememberedPosition_) {
        pendingEnd_ = false;
        remembered_ = false;
        return offset;
    }
    ApplyPendingSeek();
    return wrapped_.Seek(offset, origin);
}

void TGpStreamWrapper::SetSize(int64_t size) {
    ApplyPendingSeek();
    wrapped_.SetSize(size);
}

}  // namespace vx::textio
