// The upgrade file's layout from its header, for any header and any file length up to 2^64-1,
// against the rules written out plainly (block counts in 128 bits), with the segment labels
// and the label of a position.
//
// Input: a flag byte, 8 bytes of file length (little-endian; with flag bit 0 the length is
// that of the header bytes instead), then the header bytes.
#include "FuzzCheck.h"
#include "ImageModel.h"
#include "UpgradeImage.h"

#include <cstdio>

namespace {

using namespace orvo::fuzz;

std::string Label(std::size_t index) {
    char text[16];
    std::snprintf(text, sizeof text, "F%zx", index + 1);
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const std::uint8_t flags = input.Byte();
    std::uint64_t fileLength = 0;
    for (int i = 0; i < 8; ++i) fileLength |= std::uint64_t{input.Byte()} << (8 * i);
    const std::string rest = input.Rest();
    const std::vector<std::uint8_t> header(rest.begin(), rest.end());
    if (flags & 1)
        fileLength = header.size();

    const orvo::ImageLayout layout =
        orvo::ReadImageLayout(header.data(), header.size(), fileLength);
    const image::Layout expected = image::Read(header, fileLength);
    FUZZ_CHECK_SAYING(layout.fault == expected.fault,
                      "fault " + std::to_string(static_cast<int>(layout.fault)) + ", expected " +
                          std::to_string(static_cast<int>(expected.fault)) + ", file length " +
                          std::to_string(fileLength));
    if (layout.fault != orvo::ImageFault::kNone)
        return 0;

    FUZZ_CHECK(layout.internalSize == expected.internalSize);
    FUZZ_CHECK(layout.externalSize == expected.externalSize);
    FUZZ_CHECK(layout.segments.size() == expected.segments.size());
    for (std::size_t i = 0; i < layout.segments.size(); ++i) {
        FUZZ_CHECK(layout.segments[i].offset == expected.segments[i].offset);
        FUZZ_CHECK(layout.segments[i].length == expected.segments[i].length);
        FUZZ_CHECK(layout.segments[i].label == Label(i));
    }
    FUZZ_CHECK(orvo::BlockCount(layout.internalSize, 4352) ==
               image::Blocks(layout.internalSize, 4352));
    FUZZ_CHECK(orvo::BlockCount(layout.externalSize, 4096) ==
               image::Blocks(layout.externalSize, 4096));
    // The label of a position: the first segment whose range holds it, else the last one's.
    for (std::uint64_t position : {std::uint64_t{0}, std::uint64_t{256}, fileLength / 2,
                                   fileLength - 1, 256 + expected.internalSize}) {
        std::size_t holder = expected.segments.size() - 1;
        for (std::size_t i = 0; i + 1 < expected.segments.size(); ++i) {
            if (position >= expected.segments[i].offset &&
                position < expected.segments[i + 1].offset) {
                holder = i;
                break;
            }
        }
        const std::string* label = layout.LabelAt(position);
        FUZZ_CHECK(label != nullptr && *label == Label(holder));
    }
    return 0;
}
