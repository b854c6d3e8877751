#include "textio/file_byte_stream.h"
#include "textio/gp_text_stream.h"
#include "textio/text_file.h"

namespace vx::textio {

namespace {
// Text is collected up to this many code units before it is converted and written.
constexpr size_t kFlushUnits = 256 * 1024;
}  // namespace

struct TextWriter::Impl {
    explicit Impl(std::u16string_view fileName)
        : file(fileName, FileOpenMode::CreateWrite),
          stream(file, kCodePageUtf8, 0, TextAccess::Write) {}

    void Flush() {
        if (!stream.WriteString(pending)) throw FileError("Cannot write the whole text to a file");
        pending.clear();
    }

    FileByteStream file;
    TGpTextStream stream;
    std::u16string pending;
    bool closed = false;
};

TextWriter::TextWriter(std::u16string_view fileName) : impl_(std::make_unique<Impl>(fileName)) {}

// Without Close a failure of the last write cannot be reported; the file is closed silently.
TextWriter::~TextWriter() {
    if (impl_->closed) return;
    try {
        impl_->Flush();
    } catch (const std::exception&) {
    }
}

void TextWriter::Write(std::u16string_view text) {
    if (impl_->closed) throw FileError("Write to a closed text file");
    impl_->pending += text;
    if (impl_->pending.size() >= kFlushUnits) impl_->Flush();
}

void TextWriter::Close() {
    if (impl_->closed) return;
    impl_->closed = true;
    impl_->Flush();
    impl_->file.Close();
}

}  // namespace vx::textio
