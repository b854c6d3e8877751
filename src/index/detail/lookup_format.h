// The layout of the search lookup file, shared by its writer and its reader.
//
// Page 0 holds the head (LookupHead). The body starts at the second page: the sections below,
// each a byte range. After the body comes the page table, one Hash64 per body page (seeded with
// the page number); the head holds the hash of the page table and its own hash.
//
// A key table is three sections: keys in blocks of kBlockKeys, front-coded (varint length shared
// with the previous key of the block, varint length of the rest, the rest); per key a payload
// (varint count, then the first offset as zig-zag varint difference to the previous key's first
// offset in the block, then varint differences to the previous offset); and the block index,
// two little-endian 64-bit numbers per block (where its keys and its payloads begin).
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/varint.h"

namespace vx::index::lookup {

static_assert(std::endian::native == std::endian::little, "the lookup file is little-endian");

inline constexpr char kMagic[8] = {'V', 'X', 'L', 'O', 'O', 'K', 'U', 'P'};
inline constexpr uint32_t kVersion = 1;
inline constexpr uint64_t kPageSize = 4096;
inline constexpr uint64_t kBlockKeys = 64;
inline constexpr uint64_t kNoMarker = ~uint64_t{0};
// A number of the block index, the page table or the ranks: little-endian, 64 bits.
inline constexpr uint64_t kNumberBytes = 8;
// A block's entry in the block index: where its keys begin (in the keys section), then where its
// payloads begin (in the payloads section).
inline constexpr uint64_t kBlockEntryBytes = 2 * kNumberBytes;
inline constexpr uint64_t kBlockKeysAt = 0;
inline constexpr uint64_t kBlockPayloadsAt = kNumberBytes;

struct Range {
    uint64_t offset = 0;  // from the start of the file
    uint64_t size = 0;
};

struct KeyTableHead {
    Range keys, payloads, blocks;
    uint64_t keyCount = 0;
};

struct LookupHead {
    char magic[8];
    uint32_t version;
    uint32_t pageSize;
    uint64_t fileSize;
    uint64_t databaseSize;
    int64_t databaseModifiedNs;
    uint64_t databaseSamples;
    uint64_t markerOffset;
    KeyTableHead words;  // keys of the index lines
    Range reversed;      // word ranks in the order of the reversed keys, reversedBits each
    uint64_t reversedBits;
    Range odd;  // offsets of the odd lines, varint differences
    uint64_t oddCount;
    KeyTableHead documents;  // document-line keys
    KeyTableHead paths;      // path-line keys
    Range pageTable;
    uint64_t pageTableHash;
    uint64_t headHash;  // Hash64 of every byte before this field
};

using platform::PutVarint;
using platform::UnZigZag;
using platform::ZigZag;

}  // namespace vx::index::lookup
