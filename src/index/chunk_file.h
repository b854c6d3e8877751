// The chunk of a pass that the merge takes: a pass text whose index section (the lines after the
// index section's marker line) is in merge order (merge_order.h), and beside it a keys file with
// the merge keys of those lines, so that the merge reads the keys the pass worked out.
//
// Keys file: for each run of index lines with one MergeKeyText, the number of lines and the
// length of their MergeKey (varints, platform/varint.h), then the key's bytes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "index/merge_order.h"
#include "textio/file_byte_stream.h"
#include "textio/text_file.h"

namespace vx::index {

// chunk + ".keys".
std::u16string ChunkKeysFileName(std::u16string_view chunkFile);

class ChunkKeysWriter {
  public:
    explicit ChunkKeysWriter(std::u16string_view fileName);  // throws textio::FileError
    // The next line of the index section.
    void Add(const OrderedLine& line);
    void Close();  // throws textio::FileError

  private:
    void EndRun();

    textio::FileByteStream file_;
    std::string buffer_;
    std::u16string runText_;  // MergeKeyText of the run
    std::string runKey_;
    uint64_t runLines_ = 0;
};

// Reads a chunk: first its header part (the lines before the total-size line), then the lines
// of its index section with their keys.
class ChunkReader : public OrderedLines {
  public:
    explicit ChunkReader(std::u16string_view chunkFile);  // throws textio::FileError
    ~ChunkReader() override;
    // The header part; call once, before Next.
    std::vector<std::u16string> ReadHeader();
    bool Next() override;
    const OrderedLine& Line() const override { return line_; }

  private:
    textio::LineReader lines_;
    struct Keys;
    std::unique_ptr<Keys> keys_;  // nullptr once the keys file is missing or does not fit
    std::u16string text_;
    std::u16string runText_;  // MergeKeyText of the current run
    bool inRun_ = false;
    std::string key_;
    uint64_t runLeft_ = 0;  // lines of the run still to come
    OrderedLine line_;
};

}  // namespace vx::index
