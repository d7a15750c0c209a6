#include "FramesAhead.h"

#include "DeviceProtocol.h"
#include "Frames.h"
#include "TempFolder.h"
#include "UpgradeImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <thread>
#include <vector>

namespace orvo {
namespace {

// A part to take frames of: `take` frames, or all of them and then the null that ends it.
struct PartRead {
    std::uint64_t offset;
    std::uint64_t size;
    int blockSize;
    int take = -1;
};

struct FramesCase {
    const char* name;
    std::uint64_t fileSize;
    std::vector<PartRead> parts;
    bool callerLate = false;  // the first frame is asked for once the builder filled its ring
};

std::vector<std::uint8_t> ExpectedFrame(const std::string& file, std::uint64_t start,
                                        std::uint64_t end, int blockSize) {
    std::vector<std::uint8_t> frame(static_cast<std::size_t>(blockSize + kDataFrameOverhead));
    std::copy(file.begin() + static_cast<std::ptrdiff_t>(start),
              file.begin() + static_cast<std::ptrdiff_t>(end),
              frame.begin() + kDataFrameHeaderLength);
    BuildFrame(frame.data(), static_cast<int>(frame.size()), frame.data(), kDataFrame, -1);
    return frame;
}

// Each frame holds its own block, in order, a short last one padded with zeros, however far
// the builder runs ahead of its caller; a block the file lacks ends the part with a null.
class FramesAheadBuild : public ::testing::TestWithParam<FramesCase> {};

TEST_P(FramesAheadBuild, GivesEachBlocksFrameInOrder) {
    const FramesCase& test = GetParam();
    testing::TempFolder folder;
    std::string bytes(test.fileSize, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    }
    folder.Write("image.bin", bytes);
    std::ifstream file(folder.File("image.bin"), std::ios::binary);
    FramesAhead frames;
    for (const PartRead& part : test.parts) {
        ASSERT_TRUE(frames.Start(file, part.offset, part.size, part.blockSize));
        if (test.callerLate) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        const auto blocks = static_cast<int>(BlockCount(part.size, part.blockSize));
        const int take = part.take < 0 ? blocks : part.take;
        for (int index = 0; index < take; ++index) {
            const std::uint64_t start = part.offset + std::uint64_t(index) * part.blockSize;
            const std::uint64_t end = std::min(start + part.blockSize, part.offset + part.size);
            const std::uint8_t* frame = frames.Next();
            if (end > test.fileSize) {
                EXPECT_EQ(frame, nullptr) << "block " << index;
                break;
            }
            ASSERT_NE(frame, nullptr) << "block " << index;
            const auto expected = ExpectedFrame(bytes, start, end, part.blockSize);
            ASSERT_TRUE(std::equal(expected.begin(), expected.end(), frame)) << "block " << index;
        }
        if (part.take < 0) {
            EXPECT_EQ(frames.Next(), nullptr);
        }
        frames.Stop();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FramesAheadBuild,
    ::testing::Values(
        FramesCase{"ManyBlocksShortLast", 256 + 100 * 4352 + 77, {{256, 100 * 4352 + 77, 4352}}},
        FramesCase{
            "CallerLateBuilderWaitsOnAFullRing", 256 + 80 * 4096, {{256, 80 * 4096, 4096}}, true},
        FramesCase{"SecondPartFollowsTheFirst",
                   256 + 40 * 4352 + 30 * 4096,
                   {{256, 40 * 4352, 4352}, {256 + 40 * 4352, 30 * 4096, 4096}}},
        FramesCase{"StoppedEarlyThenBackToTheStart",
                   256 + 90 * 4096,
                   {{256, 90 * 4096, 4096, 3}, {0, 2 * 4096, 4096}}},
        FramesCase{"FileEndsBeforeThePart", 256 + 50 * 4096 + 10, {{256, 60 * 4096, 4096}}},
        FramesCase{"EmptyPartIsOneEmptyBlock", 256, {{256, 0, 4096}}}),
    [](const ::testing::TestParamInfo<FramesCase>& info) { return info.param.name; });

}  // namespace
}  // namespace orvo
