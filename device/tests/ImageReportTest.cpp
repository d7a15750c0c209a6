// The inspector's verdict and table.
#include "ImageMaker.h"
#include "ImageReport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace orvo {
namespace {

using ::testing::HasSubstr;

TEST(InspectImage, ListsSegmentsPartsAndBlocks) {
    const ImageReport report = InspectImage(image::MakeRandomImage({100, 644, 500}));
    EXPECT_TRUE(report.accepted);
    EXPECT_THAT(report.text, HasSubstr("segment F2: offset 356, 644 bytes\n"));
    EXPECT_THAT(report.text, HasSubstr("internal part: 100 bytes from offset 256, 1 blocks"));
    EXPECT_THAT(report.text, HasSubstr("external part: 1144 bytes from offset 356, 1 blocks"));
    EXPECT_THAT(report.text, HasSubstr("frames: 7 for both parts and the end command\n"));
    EXPECT_THAT(report.text, HasSubstr("accepted\n"));
}

TEST(InspectImage, SaysWhyAFileIsRefused) {
    auto image = image::MakeRandomImage({100, 644});
    image[0] = 52;
    const ImageReport tooMany = InspectImage(image);
    EXPECT_FALSE(tooMany.accepted);
    EXPECT_THAT(tooMany.text, HasSubstr("refused: the header lists more than 51 segments"));
    EXPECT_FALSE(InspectImage(image::MakeRandomImage({0, 10})).accepted);
    EXPECT_THAT(InspectImage({}).text, HasSubstr("refused: the file is empty"));
}

}  // namespace
}  // namespace orvo
