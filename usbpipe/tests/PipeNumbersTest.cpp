// Pipe numbers, their names and the pipe path that must fit its 256-byte buffer.
#include "PipeNumbers.h"

#include <gtest/gtest.h>

#include <string>

namespace orvo::usbpipe {
namespace {

TEST(PipeNumbers, EvenPipesAreReadAndOddPipesWrittenFromZeroToThirteen) {
    for (int pipe = -2; pipe <= 15; ++pipe) {
        const bool valid = pipe >= 0 && pipe <= 13;
        EXPECT_EQ(IsReadPipe(pipe), valid && pipe % 2 == 0) << pipe;
        EXPECT_EQ(IsWritePipe(pipe), valid && pipe % 2 != 0) << pipe;
    }
}

TEST(PipeNumbers, NamesHaveTwoDigits) {
    EXPECT_EQ(PipeName(0), "PIPE00");
    EXPECT_EQ(PipeName(9), "PIPE09");
    EXPECT_EQ(PipeName(10), "PIPE10");
    EXPECT_EQ(PipeName(13), "PIPE13");
}

TEST(PipeNumbers, PipePathIsTheDevicePathAndTheNameJoinedByABackslash) {
    EXPECT_EQ(BuildPipePath("\\\\?\\usb#dev", 3), "\\\\?\\usb#dev\\PIPE03");
}

TEST(PipeNumbers, PipePathWithItsZeroMustFitTwoHundredFiftySixBytes) {
    const auto longest = BuildPipePath(std::string(248, 'd'), 12);
    ASSERT_TRUE(longest.has_value());
    EXPECT_EQ(longest->size() + 1, kPipePathSize);
    EXPECT_FALSE(BuildPipePath(std::string(249, 'd'), 12).has_value());
    EXPECT_FALSE(BuildPipePath(std::string(5000, 'd'), 0).has_value());
}

}  // namespace
}  // namespace orvo::usbpipe
