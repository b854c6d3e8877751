// Decodes a text file piece by piece exactly as ReadTextFile reads it; ReadTextFile and LineReader
// both read through it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/utf8.h"
#include "textio/file_byte_stream.h"
#include "textio/gp_text_stream.h"

namespace vx::textio {

// Bytes taken from the file per read when the file is decoded as UTF-8.
constexpr size_t kReadChunkBytes = 1 << 20;

class TextFileSource {
  public:
    // ansiRoundTrip: UTF-16 and UTF-32 text passes through the ANSI code page and UTF-8 decoding
    // as ReadTextFile does it; without it the text stream's units are delivered as they are.
    explicit TextFileSource(std::u16string_view fileName,
                            bool ansiRoundTrip = true);  // throws FileError

    int64_t FileSize() { return file_.Size(); }
    // Decodes the next part of the file into out (room for capacity >= 16 units); returns the
    // units written, 0 only at the end of the file.
    size_t ReadUnits(char16_t* out, size_t capacity);

  private:
    FileByteStream file_;
    std::unique_ptr<TGpTextStream> text_;
    bool wide_ = false;  // the file has a UTF-16 or UTF-32 mark
    bool ansiRoundTrip_;
    bool finished_ = false;
    platform::Utf8Decoder decoder_;
    std::string bytes_;
    std::u16string units_;
};

}  // namespace vx::textio
