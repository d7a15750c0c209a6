#pragma once
// The upgrade file's rules written out plainly, as the reference the fuzz targets hold the
// image layout and the upgrade run to.
#include "UpgradeImage.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orvo::fuzz::image {

struct Segment {
    std::uint64_t offset;
    std::uint64_t length;
};

struct Layout {
    ImageFault fault = ImageFault::kNone;
    std::vector<Segment> segments;  // meaningful when fault is kNone
    std::uint64_t internalSize = 0;
    std::uint64_t externalSize = 0;
};

// `header` holds the first bytes of a file of `fileLength` bytes.
Layout Read(const std::vector<std::uint8_t>& header, std::uint64_t fileLength);

// Blocks of a part, counted without any risk of overflow.
std::uint64_t Blocks(std::uint64_t size, unsigned blockSize);

}  // namespace orvo::fuzz::image
