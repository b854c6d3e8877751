// The text stream: wraps a byte stream and converts between UTF-16 text (the buffers given to
// Read and Write) and the encoding of the stream: UTF-8, UTF-16, UTF-32 or the ANSI code page.
// Reading detects a byte-order mark; writing writes one for the Unicode code pages.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/utf8.h"
#include "textio/detail/stream_wrapper.h"
#include "textio/text_file.h"

namespace vx::textio {

enum class TextAccess { Read = 0, Write = 1, Append = 2, ReadWrite = 3 };

// Create flags of the text stream.
constexpr unsigned kCreateUnicode = 1;
constexpr unsigned kCreateReverseByteOrder = 2;
constexpr unsigned kCreateWriteUtf8Mark = 16;

// The ANSI code page used when none is given (the Windows-1252 table of the platform layer).
constexpr uint16_t kCodePageAnsi = 1252;

// Error codes of the text stream.
constexpr int kErrorConversionFailed = 3001;        // conversion call failed with an error code
constexpr int kErrorConversionFailedNoCode = 3002;  // conversion call failed without one
constexpr int kErrorCannotAppendReversed = 3003;
constexpr int kErrorCannotWriteReversed = 3004;
constexpr int kErrorOddByteCount = 3005;

// The errors 3001 and 3002 of a failed code-page conversion: "<function> failed. " followed by
// "Win32-Fehler. Code: <code>.\n<system message>" (3001) or, when no error code is set, by
// "Eine Win32-API-Funktion ist fehlgeschlagen" (3002). The ANSI conversion of this system is a
// table that maps every code unit and every byte, so these errors do not occur in practice; they
// remain for a conversion that can fail.
TextStreamError ConversionError(std::string_view function, uint32_t systemError,
                                std::string_view systemMessage);

class TGpTextStream : public TGpStreamWrapper {
  public:
    static constexpr const char* kName = "TGpTextStream";

    // Stores the settings and prepares the stream: read and read-write detect a byte-order mark
    // (which overrides the code page) and leave the position behind it; write empties the stream
    // and writes the mark of a Unicode code page; append writes the mark only into an empty
    // stream. Code pages 1200, 12000 and 65001 set the Unicode flag, any other non-zero one clears
    // it; code page 0 means 1252, or 1200 when the Unicode flag is given.
    // Throws TextStreamError (3003, 3004) for writing or appending with reversed byte order.
    TGpTextStream(ByteStream& stream, uint16_t codePage = 0, unsigned createFlags = 0,
                  TextAccess access = TextAccess::Read);

    // Fills the buffer with up to count bytes of UTF-16 text; returns the bytes delivered (0 at
    // the end). Throws TextStreamError 3005 for an odd count in ANSI mode.
    size_t Read(void* buffer, size_t count) override;
    // Converts count bytes of UTF-16 text and writes them; returns the bytes consumed (a final odd
    // byte is not a code unit and is not consumed). In an ANSI code page a base character and
    // the combining marks after it become the precomposed character where the code page has it.
    size_t Write(const void* buffer, size_t count) override;
    // True when the whole text was written; an empty text writes nothing.
    bool WriteString(std::u16string_view text);

    uint16_t Codepage() const { return codePage_; }
    unsigned CreateFlags() const { return flags_; }
    bool IsUnicode() const { return (flags_ & kCreateUnicode) != 0; }
    bool IsReversed() const { return (flags_ & kCreateReverseByteOrder) != 0; }
    TextAccess Access() const { return access_; }
    uint32_t LastSystemError() const { return lastSystemError_; }

  private:
    void DetectMark();
    void WriteMark();
    // Decodes the next piece of input (at most about maxUnits units) into stage_; false at the
    // end of the stream when nothing was left to decode.
    bool DecodePiece(size_t maxUnits);
    size_t ReadRawUtf16(void* buffer, size_t count);
    // Converts the units to the bytes of the stream's encoding; returns the byte count.
    size_t EncodeUnits(const char16_t* units, size_t count, uint8_t* out) const;
    // Writes the converted bytes; false when the wrapped stream took fewer.
    bool WriteBytes(const uint8_t* bytes, size_t count);

    uint16_t codePage_;
    unsigned flags_;
    TextAccess access_;
    uint32_t lastSystemError_ = 0;
    // Input bytes of an incomplete UTF-8 sequence or UTF-32 unit, kept for the next Read.
    platform::Utf8Decoder utf8_;
    uint8_t carry_[4] = {};
    size_t carryLength_ = 0;
    // Decoded units that did not fit into the caller's buffer (a surrogate pair cut by it).
    std::u16string pendingUnits_;
    std::u16string stage_;      // units of the piece being delivered
    std::string inputBuffer_;   // bytes read for one piece
    std::string outputBuffer_;  // converted bytes of one piece on writing
};

}  // namespace vx::textio
