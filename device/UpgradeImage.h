#pragma once
// The layout of an upgrade file, and the rules the tool holds it to before sending any of it.
//
// File: a 256-byte header, then the segment data. Header byte 0 is the segment count n (1 to
// 51); entry i takes bytes 1+5i to 5+5i, of which the last four are the segment's offset from
// the start of the file, 32-bit big-endian (the entry's first byte is the device's business).
// Segment i runs from its offset to the next entry's offset, the last one to the end of the
// file. The internal part is segment 0's length of bytes taken from offset 256, whatever entry
// 0 says; the external part is the rest of the file behind it, however many segments it holds.
// Each part travels in blocks whose count is a 16-bit number.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace orvo {

inline constexpr int kImageHeaderLength = 256;
inline constexpr int kMaxImageSegments = 51;
inline constexpr int kInternalBlockSize = 4352;
inline constexpr int kExternalBlockSize = 4096;
inline constexpr std::uint32_t kMaxPartBlocks = 65535;

enum class ImageFault {
    kNone,
    kEmpty,
    kShorterThanHeader,
    kNoSegments,
    kTooManySegments,
    kOffsetBeyondFile,
    kFallingOffset,
    kInternalPastBody,
    kTooManyInternalBlocks,
    kTooManyExternalBlocks,
};

struct ImageSegment {
    std::uint32_t offset = 0;
    std::uint64_t length = 0;
    std::string label;  // text key of the segment: "F" and its number from 1 in lower-case hex
};

struct ImageLayout {
    ImageFault fault = ImageFault::kNone;  // the first rule the file breaks
    std::vector<ImageSegment> segments;    // as far as the header was read
    std::uint64_t internalSize = 0;
    std::uint64_t externalSize = 0;

    // The label of the segment that holds file position `position`: the first entry whose
    // range holds it, else the last entry's. Null for an empty table.
    const std::string* LabelAt(std::uint64_t position) const;
};

// Reads the layout of a file of `fileLength` bytes from its first `available` bytes (at least
// the header, or the whole file when it is shorter).
ImageLayout ReadImageLayout(const std::uint8_t* start, std::size_t available,
                            std::uint64_t fileLength);

// Blocks of a part: 1 for an empty part, else the part's size divided by the block size
// (which is positive), rounded up; right for every size up to 2^64-1.
std::uint64_t BlockCount(std::uint64_t partSize, int blockSize);

std::string SegmentLabel(int index);

}  // namespace orvo
