#include <cerrno>

#include "platform/text.h"
#include "platform/utf8.h"
#include "textio/file_byte_stream.h"
#include "textio/gp_text_stream.h"
#include "textio/text_file.h"

namespace vx::textio {

struct TextWriter::Impl {
    Impl(std::u16string_view name, size_t flush)
        : flushUnits(flush),
          fileName(name),
          file(name, FileOpenMode::CreateWrite),
          stream(file, kCodePageUtf8, 0, TextAccess::Write) {}

    // Writes the pending text; a high surrogate at its end waits for its low half unless the
    // file is being closed.
    void Flush(bool closing) {
        const bool keepLast = !closing && platform::EndsInsidePair(pending);
        const std::u16string_view text(pending.data(), pending.size() - (keepLast ? 1 : 0));
        if (!stream.WriteString(text)) {
            throw FileError::About(fileName, u"kann nicht geschrieben werden", EIO);
        }
        pending.erase(0, text.size());
    }

    size_t flushUnits;
    std::u16string fileName;
    FileByteStream file;
    TGpTextStream stream;
    std::u16string pending;
    bool closed = false;
};

TextWriter::TextWriter(std::u16string_view fileName, size_t flushUnits)
    : impl_(std::make_unique<Impl>(fileName, flushUnits)) {}

// Without Close a failure of the last write cannot be reported; the file is closed silently.
TextWriter::~TextWriter() {
    if (impl_->closed) return;
    try {
        impl_->Flush(true);
    } catch (const std::exception&) {
        // A destructor must not throw; callers that need to know call Close().
    }
}

void TextWriter::Write(std::u16string_view text) {
    if (impl_->closed) {
        throw FileError::About(impl_->fileName,
                               u"ist schon geschlossen und kann nicht geschrieben werden", EBADF);
    }
    impl_->pending += text;
    if (impl_->pending.size() >= impl_->flushUnits) impl_->Flush(false);
}

void TextWriter::Close() {
    if (impl_->closed) return;
    impl_->closed = true;
    impl_->Flush(true);
    impl_->file.Close();
}

}  // namespace vx::textio
