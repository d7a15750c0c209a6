#include "ImageModel.h"

namespace orvo::fuzz::image {

std::uint64_t Blocks(std::uint64_t size, unsigned blockSize) {
    const unsigned __int128 rounded =
        (static_cast<unsigned __int128>(size) + blockSize - 1) / blockSize;
    return rounded == 0 ? 1 : static_cast<std::uint64_t>(rounded);
}

Layout Read(const std::vector<std::uint8_t>& header, std::uint64_t fileLength) {
    Layout layout;
    auto fail = [&layout](ImageFault fault) {
        layout.fault = fault;
        return layout;
    };
    if (fileLength == 0)
        return fail(ImageFault::kEmpty);
    if (fileLength < 256 || header.size() < 256)
        return fail(ImageFault::kShorterThanHeader);
    const unsigned count = header[0];
    if (count == 0)
        return fail(ImageFault::kNoSegments);
    if (count > 51)
        return fail(ImageFault::kTooManySegments);
    std::vector<std::uint64_t> offsets;
    for (unsigned i = 0; i < count; ++i) {
        const std::uint8_t* entry = &header[1 + 5 * i];
        const std::uint64_t offset =
            std::uint64_t{entry[1]} << 24 | entry[2] << 16 | entry[3] << 8 | entry[4];
        if (offset > fileLength)
            return fail(ImageFault::kOffsetBeyondFile);
        if (!offsets.empty() && offset < offsets.back())
            return fail(ImageFault::kFallingOffset);
        offsets.push_back(offset);
    }
    for (std::size_t i = 0; i < offsets.size(); ++i) {
        const std::uint64_t end = i + 1 < offsets.size() ? offsets[i + 1] : fileLength;
        layout.segments.push_back({offsets[i], end - offsets[i]});
    }
    // The internal part is as long as segment 0 but always starts behind the header.
    const std::uint64_t internal = layout.segments[0].length;
    if (internal > fileLength - 256)
        return fail(ImageFault::kInternalPastBody);
    layout.internalSize = internal;
    layout.externalSize = fileLength - 256 - internal;
    if (Blocks(layout.internalSize, 4352) > 65535)
        return fail(ImageFault::kTooManyInternalBlocks);
    if (Blocks(layout.externalSize, 4096) > 65535)
        return fail(ImageFault::kTooManyExternalBlocks);
    return layout;
}

}  // namespace orvo::fuzz::image
