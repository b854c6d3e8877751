// Arbitrary bytes read as a text file through every byte-order-mark and code-page path, and
// the decoded text written back.
#include <string>

#include "fuzz_support.h"
#include "platform/utf8.h"
#include "textio/byte_stream.h"
#include "textio/gp_text_stream.h"
#include "textio/text_file.h"

namespace {

std::u16string ReadAll(vx::textio::TGpTextStream& stream) {
    std::u16string text;
    char16_t buffer[517];  // an odd size, so that pieces end anywhere
    for (;;) {
        const size_t bytes = stream.Read(buffer, sizeof buffer);
        text.append(buffer, bytes / 2);
        if (bytes < sizeof buffer) return text;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vx;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    for (const uint16_t codePage : {0, 1200, 12000, 65001, 1252}) {
        textio::MemoryByteStream memory(bytes);
        try {
            textio::TGpTextStream stream(memory, codePage, 0, textio::TextAccess::Read);
            ReadAll(stream);
        } catch (const textio::TextStreamError&) {
            // An odd byte count of an ANSI stream is refused by design.
        }
    }

    // The whole-file readers: the streaming reader splits as ReadTextFile's text splits (for
    // the system's own files, which have no byte-order mark).
    const std::u16string file = fuzz::ScratchFile("text.txt", bytes);
    const std::u16string text = textio::ReadTextFile(file);
    textio::ReadUtf16LeLines(file);
    const bool marked = bytes.starts_with("\xEF\xBB\xBF") || bytes.starts_with("\xFF\xFE") ||
                        bytes.starts_with("\xFE\xFF");
    if (!marked) {
        textio::LineReader reader(file);
        std::vector<std::u16string> lines;
        for (std::u16string line; reader.Next(line);) lines.push_back(line);
        VX_FUZZ_CHECK(lines == textio::SplitLines(text));
    }

    // Whatever was read is written back as valid UTF-8 (a lone half of a surrogate pair as
    // U+FFFD) and reads back the same.
    const std::u16string decoded = platform::DecodeUtf8(bytes);
    textio::WriteToStream(decoded, file, textio::kCodePageUtf8);
    const std::string written = fuzz::ReadScratchFile("text.txt");
    VX_FUZZ_CHECK(fuzz::IsValidUtf8(written));
    VX_FUZZ_CHECK(written == platform::EncodeUtf8(decoded));
    if (!decoded.starts_with(u"\uFEFF")) {  // that would read as a byte-order mark
        VX_FUZZ_CHECK(textio::ReadTextFile(file) == platform::DecodeUtf8(written));
    }
    return 0;
}
