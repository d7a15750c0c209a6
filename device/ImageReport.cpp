#include "ImageReport.h"

#include "UpgradeImage.h"

#include <sstream>

namespace orvo {

const char* ImageFaultReason(ImageFault fault) {
    switch (fault) {
        case ImageFault::kNone:
            return "";
        case ImageFault::kEmpty:
            return "the file is empty";
        case ImageFault::kShorterThanHeader:
            return "the file is shorter than its 256-byte header";
        case ImageFault::kNoSegments:
            return "the header lists no segment";
        case ImageFault::kTooManySegments:
            return "the header lists more than 51 segments";
        case ImageFault::kOffsetBeyondFile:
            return "a segment offset lies beyond the end of the file";
        case ImageFault::kFallingOffset:
            return "a segment offset is lower than the one before it";
        case ImageFault::kInternalPastBody:
            return "the internal part runs past the end of the file";
        case ImageFault::kTooManyInternalBlocks:
            return "the internal part needs more than 65535 blocks";
        case ImageFault::kTooManyExternalBlocks:
            return "the external part needs more than 65535 blocks";
    }
    return "unknown fault";
}

namespace {

void Part(std::ostringstream& out, const char* name, std::uint64_t offset, std::uint64_t size,
          int blockSize) {
    out << name << " part: " << size << " bytes from offset " << offset << ", "
        << BlockCount(size, blockSize) << " blocks of " << blockSize << "\n";
}

}  // namespace

ImageReport InspectImage(const std::vector<std::uint8_t>& file) {
    const ImageLayout layout = ReadImageLayout(file.data(), file.size(), file.size());
    std::ostringstream out;
    out << "file: " << file.size() << " bytes\n";
    for (const ImageSegment& segment : layout.segments) {
        out << "segment " << segment.label << ": offset " << segment.offset << ", "
            << segment.length << " bytes\n";
    }
    ImageReport report;
    if (layout.fault != ImageFault::kNone) {
        out << "refused: " << ImageFaultReason(layout.fault) << "\n";
    } else {
        Part(out, "internal", kImageHeaderLength, layout.internalSize, kInternalBlockSize);
        Part(out, "external", kImageHeaderLength + layout.internalSize, layout.externalSize,
             kExternalBlockSize);
        // Each part: its start command, then a command and a data frame a block; then the end.
        const std::uint64_t frames = 1 + 2 * BlockCount(layout.internalSize, kInternalBlockSize) +
                                     1 + 2 * BlockCount(layout.externalSize, kExternalBlockSize) +
                                     1;
        out << "frames: " << frames << " for both parts and the end command\n";
        report.accepted = layout.internalSize > 0;
        out << (report.accepted ? "accepted\n"
                                : "refused: the internal part is empty (accepted only when "
                                  "the internal part is not sent)\n");
    }
    report.text = out.str();
    return report;
}

}  // namespace orvo
