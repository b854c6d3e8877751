#include "index/chunk_file.h"

#include "index/database_file.h"
#include "index/database_lines.h"
#include "platform/varint.h"

namespace vx::index {

namespace {

constexpr std::size_t kBufferSize = std::size_t{1} << 16;

}  // namespace

std::u16string ChunkKeysFileName(std::u16string_view chunkFile) {
    return std::u16string(chunkFile) + u".keys";
}

ChunkKeysWriter::ChunkKeysWriter(std::u16string_view fileName)
    : file_(fileName, textio::FileOpenMode::CreateWrite) {}

void ChunkKeysWriter::Add(const OrderedLine& line) {
    const std::u16string_view keyText = MergeKeyText(line.text);
    if (runLines_ > 0 && keyText == runText_) {
        ++runLines_;
        return;
    }
    EndRun();
    runText_.assign(keyText);
    runKey_.assign(line.key);
    runLines_ = 1;
}

void ChunkKeysWriter::EndRun() {
    if (runLines_ == 0) return;
    platform::PutVarint(buffer_, runLines_);
    platform::PutVarint(buffer_, runKey_.size());
    buffer_.append(runKey_);
    if (buffer_.size() >= kBufferSize) {
        file_.Write(buffer_.data(), buffer_.size());
        buffer_.clear();
    }
}

void ChunkKeysWriter::Close() {
    EndRun();
    runLines_ = 0;
    file_.Write(buffer_.data(), buffer_.size());
    buffer_.clear();
    file_.Close();
}

// The keys file read front to back.
struct ChunkReader::Keys {
    explicit Keys(std::u16string_view fileName) : file(fileName, textio::FileOpenMode::Read) {}

    bool Byte(uint8_t& byte) {
        if (position == buffer.size()) {
            buffer.resize(kBufferSize);
            buffer.resize(file.Read(buffer.data(), buffer.size()));
            position = 0;
            if (buffer.empty()) return false;
        }
        byte = static_cast<uint8_t>(buffer[position++]);
        return true;
    }
    bool Varint(uint64_t& value) {
        value = 0;
        uint8_t byte = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            if (!Byte(byte)) return false;
            value |= static_cast<uint64_t>(byte & 0x7F) << shift;
            if (byte < 0x80) return true;
        }
        return false;
    }
    // The next run: its line count and key; false at the end or where the file does not fit.
    bool Run(uint64_t& lines, std::string& key) {
        uint64_t size = 0;
        if (!Varint(lines) || lines == 0 || !Varint(size) || size > kMaxIndexLineUnits * 4) {
            return false;
        }
        key.resize(static_cast<std::size_t>(size));
        for (char& c : key) {
            uint8_t byte = 0;
            if (!Byte(byte)) return false;
            c = static_cast<char>(byte);
        }
        return true;
    }

    textio::FileByteStream file;
    std::string buffer;
    std::size_t position = 0;
};

ChunkReader::ChunkReader(std::u16string_view chunkFile) : lines_(chunkFile) {
    try {
        keys_ = std::make_unique<Keys>(ChunkKeysFileName(chunkFile));
    } catch (const textio::FileError&) {
        // Without its keys file the chunk's keys are worked out here.
    }
}

ChunkReader::~ChunkReader() = default;

std::vector<std::u16string> ChunkReader::ReadHeader() {
    std::vector<std::u16string> header;
    std::u16string line;
    while (lines_.Next(line) && !IsSizeLine(line)) header.push_back(line);
    while (lines_.Next(line) && !IsIndexMarkerLine(line)) {
    }
    return header;
}

bool ChunkReader::Next() {
    if (!lines_.Next(text_)) return false;
    const std::u16string_view keyText = MergeKeyText(text_);
    const bool sameRun = inRun_ && keyText == runText_;
    if (runLeft_ > 0 && sameRun) {
        --runLeft_;
    } else if (runLeft_ == 0 && !sameRun && keys_ && keys_->Run(runLeft_, key_)) {
        --runLeft_;
        runText_.assign(keyText);
    } else {
        // A keys file that does not fit the lines is left alone from here on.
        keys_.reset();
        runLeft_ = 0;
        if (!sameRun) {
            runText_.assign(keyText);
            key_ = MergeKey(runText_);
        }
    }
    inRun_ = true;
    line_ = OrderedLine(text_, key_);
    return true;
}

}  // namespace vx::index
