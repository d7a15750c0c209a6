#include "UpgradeImage.h"

#include <algorithm>
#include <cstdio>

namespace orvo {
namespace {

std::uint32_t ReadBigEndian32(const std::uint8_t* at) {
    return std::uint32_t{at[0]} << 24 | std::uint32_t{at[1]} << 16 | std::uint32_t{at[2]} << 8 |
           std::uint32_t{at[3]};
}

ImageFault ReadSegments(const std::uint8_t* header, std::uint64_t fileLength,
                        std::vector<ImageSegment>& segments) {
    const int count = header[0];
    if (count == 0) {
        return ImageFault::kNoSegments;
    }
    if (count > kMaxImageSegments) {
        return ImageFault::kTooManySegments;
    }
    for (int i = 0; i < count; ++i) {
        ImageSegment segment;
        segment.offset = ReadBigEndian32(header + 2 + 5 * i);
        segment.label = SegmentLabel(i);
        if (segment.offset > fileLength) {
            return ImageFault::kOffsetBeyondFile;
        }
        if (!segments.empty() && segment.offset < segments.back().offset) {
            return ImageFault::kFallingOffset;
        }
        if (!segments.empty()) {
            segments.back().length = segment.offset - segments.back().offset;
        }
        segment.length = fileLength - segment.offset;
        segments.push_back(std::move(segment));
    }
    return ImageFault::kNone;
}

ImageFault CheckParts(ImageLayout& layout, std::uint64_t fileLength) {
    const std::uint64_t bodyLength = fileLength - kImageHeaderLength;
    layout.internalSize = layout.segments.front().length;
    if (layout.internalSize > bodyLength) {
        return ImageFault::kInternalPastBody;
    }
    layout.externalSize = bodyLength - layout.internalSize;
    if (BlockCount(layout.internalSize, kInternalBlockSize) > kMaxPartBlocks) {
        return ImageFault::kTooManyInternalBlocks;
    }
    if (BlockCount(layout.externalSize, kExternalBlockSize) > kMaxPartBlocks) {
        return ImageFault::kTooManyExternalBlocks;
    }
    return ImageFault::kNone;
}

ImageFault ReadLayout(const std::uint8_t* start, std::size_t available, std::uint64_t fileLength,
                      ImageLayout& layout) {
    if (fileLength == 0) {
        return ImageFault::kEmpty;
    }
    if (fileLength < kImageHeaderLength || available < kImageHeaderLength) {
        return ImageFault::kShorterThanHeader;
    }
    const ImageFault fault = ReadSegments(start, fileLength, layout.segments);
    return fault != ImageFault::kNone ? fault : CheckParts(layout, fileLength);
}

}  // namespace

const std::string* ImageLayout::LabelAt(std::uint64_t position) const {
    for (std::size_t i = 0; i < segments.size(); ++i) {
        const bool last = i + 1 == segments.size();
        if (last || (position >= segments[i].offset && position < segments[i + 1].offset)) {
            return &segments[i].label;
        }
    }
    return nullptr;
}

ImageLayout ReadImageLayout(const std::uint8_t* start, std::size_t available,
                            std::uint64_t fileLength) {
    ImageLayout layout;
    layout.fault = ReadLayout(start, available, fileLength, layout);
    return layout;
}

std::uint64_t BlockCount(std::uint64_t partSize, int blockSize) {
    // Rounded up without adding to the size first: a size near 2^64 would wrap round to a
    // handful of blocks.
    const auto size = static_cast<std::uint64_t>(blockSize);
    return std::max<std::uint64_t>(1, partSize / size + (partSize % size != 0));
}

std::string SegmentLabel(int index) {
    char label[16];
    std::snprintf(label, sizeof label, "F%x", static_cast<unsigned>(index + 1));
    return label;
}

}  // namespace orvo
