// The upgrade file's layout: segment table, parts, labels, and the rules a file must keep.
#include "ImageMaker.h"
#include "UpgradeImage.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvo {
namespace {

using ::testing::ElementsAre;

// A header with the given offsets (count = number of offsets unless given).
std::vector<std::uint8_t> Header(const std::vector<std::uint32_t>& offsets, int count = -1) {
    std::vector<std::uint8_t> header(kImageHeaderLength, 0);
    header[0] = static_cast<std::uint8_t>(count < 0 ? offsets.size() : count);
    for (std::size_t i = 0; i < offsets.size(); ++i) {
        header[1 + 5 * i] = 0xC3;  // the entry's first byte is not the tool's
        for (int b = 0; b < 4; ++b) {
            header[2 + 5 * i + b] = static_cast<std::uint8_t>(offsets[i] >> (24 - 8 * b));
        }
    }
    return header;
}

ImageLayout Layout(const std::vector<std::uint8_t>& header, std::uint64_t fileLength) {
    return ReadImageLayout(header.data(), std::min<std::uint64_t>(header.size(), fileLength),
                           fileLength);
}

TEST(ImageLayout, ThreeSegmentsGiveInternalAndExternalPartAndLabels) {
    const ImageLayout layout = Layout(Header({256, 356, 1000}), 1500);
    ASSERT_EQ(layout.fault, ImageFault::kNone);
    EXPECT_EQ(layout.internalSize, 100u);
    EXPECT_EQ(layout.externalSize, 1144u);
    ASSERT_EQ(layout.segments.size(), 3u);
    EXPECT_EQ(layout.segments[1].length, 644u);
    EXPECT_EQ(layout.segments[2].length, 500u);
    EXPECT_EQ(*layout.LabelAt(356), "F2");
    EXPECT_EQ(*layout.LabelAt(999), "F2");
    EXPECT_EQ(*layout.LabelAt(1000), "F3");
    EXPECT_EQ(*layout.LabelAt(100000), "F3");
    EXPECT_EQ(*layout.LabelAt(0), "F3");  // before every range: the last entry's
}

TEST(ImageLayout, InternalPartStartsBehindTheHeaderWhateverEntryZeroSays) {
    const ImageLayout layout = Layout(Header({300, 400}), 1000);
    ASSERT_EQ(layout.fault, ImageFault::kNone);
    EXPECT_EQ(layout.internalSize, 100u);
    EXPECT_EQ(layout.externalSize, 1000u - 256 - 100);
}

TEST(ImageLayout, SingleSegmentRunsToTheEndOfTheFile) {
    const ImageLayout layout = Layout(Header({256}), 356);
    ASSERT_EQ(layout.fault, ImageFault::kNone);
    EXPECT_EQ(layout.internalSize, 100u);
    EXPECT_EQ(layout.externalSize, 0u);
}

TEST(ImageLayout, FiftyOneSegmentsFillTheHeader) {
    const auto image = image::MakeRandomImage(std::vector<std::size_t>(51, 10));
    const ImageLayout layout = ReadImageLayout(image.data(), image.size(), image.size());
    ASSERT_EQ(layout.fault, ImageFault::kNone);
    EXPECT_EQ(layout.segments.back().offset, 256u + 500);
    EXPECT_EQ(layout.segments.back().label, "F33");
}

TEST(SegmentLabel, IsFAndTheNumberFromOneInLowerCaseHex) {
    EXPECT_EQ(SegmentLabel(0), "F1");
    EXPECT_EQ(SegmentLabel(8), "F9");
    EXPECT_EQ(SegmentLabel(9), "Fa");
    EXPECT_EQ(SegmentLabel(14), "Ff");
    EXPECT_EQ(SegmentLabel(15), "F10");
}

TEST(BlockCount, RoundsUpAndCountsAnEmptyPartAsOneBlock) {
    EXPECT_EQ(BlockCount(0, 4352), 1u);
    EXPECT_EQ(BlockCount(100, 4352), 1u);
    EXPECT_EQ(BlockCount(4352, 4352), 1u);
    EXPECT_EQ(BlockCount(4353, 4352), 2u);
    EXPECT_EQ(BlockCount(8192, 4096), 2u);
    // Sizes near the top of the range must not wrap round while rounding up.
    constexpr std::uint64_t kTop = ~std::uint64_t{0};
    EXPECT_EQ(BlockCount(kTop, 4096), kTop / 4096 + 1);
    EXPECT_EQ(BlockCount(kTop - 100, 4352), kTop / 4352 + 1);
    EXPECT_EQ(BlockCount(kTop - kTop % 4352, 4352), kTop / 4352);
}

struct BrokenCase {
    const char* name;
    std::vector<std::uint8_t> header;
    std::uint64_t fileLength;
    ImageFault fault;
};

class BrokenImage : public ::testing::TestWithParam<BrokenCase> {};

TEST_P(BrokenImage, IsRefusedForTheFirstRuleItBreaks) {
    EXPECT_EQ(Layout(GetParam().header, GetParam().fileLength).fault, GetParam().fault);
}

constexpr std::uint64_t kMaxInternal = 65535ull * 4352;
constexpr std::uint64_t kMaxExternal = 65535ull * 4096;

INSTANTIATE_TEST_SUITE_P(
    Rules, BrokenImage,
    ::testing::Values(
        BrokenCase{"Empty", {}, 0, ImageFault::kEmpty},
        BrokenCase{"ShorterThanHeader", Header({256}), 255, ImageFault::kShorterThanHeader},
        BrokenCase{"NoSegments", Header({}, 0), 1000, ImageFault::kNoSegments},
        BrokenCase{"FiftyTwoSegments", Header({256}, 52), 1000, ImageFault::kTooManySegments},
        BrokenCase{"SegmentCount255", Header({256}, 255), 1000, ImageFault::kTooManySegments},
        BrokenCase{"FallingOffsets", Header({256, 500, 400}), 1000, ImageFault::kFallingOffset},
        BrokenCase{"OffsetBeyondFile", Header({256, 1001}), 1000, ImageFault::kOffsetBeyondFile},
        BrokenCase{"LastOffsetBeyondFile", Header({256, 300, 0xFFFFFFFF}), 1000,
                   ImageFault::kOffsetBeyondFile},
        BrokenCase{"SingleEntryBeforeTheBody", Header({100}), 1000, ImageFault::kInternalPastBody},
        BrokenCase{"InternalPartPastTheBody", Header({0, 900}), 1000,
                   ImageFault::kInternalPastBody},
        BrokenCase{"TooManyInternalBlocks", Header({256, 256 + kMaxInternal + 1}),
                   256 + kMaxInternal + 1, ImageFault::kTooManyInternalBlocks},
        BrokenCase{"TooManyExternalBlocks", Header({256, 356}), 356 + kMaxExternal + 1,
                   ImageFault::kTooManyExternalBlocks},
        BrokenCase{"FileLengthAtTheTopOfTheRange", Header({256}), ~std::uint64_t{0},
                   ImageFault::kTooManyInternalBlocks},
        BrokenCase{"ExternalPartAtTheTopOfTheRange", Header({256, 256}), ~std::uint64_t{0} - 50,
                   ImageFault::kTooManyExternalBlocks}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ImageLayout, LargestPartsAreAccepted) {
    const ImageLayout layout =
        Layout(Header({256, 256 + kMaxInternal}), 256 + kMaxInternal + kMaxExternal);
    EXPECT_EQ(layout.fault, ImageFault::kNone);
}

TEST(ImageLayout, EqualOffsetsMakeEmptySegments) {
    const ImageLayout layout = Layout(Header({256, 256, 300}), 400);
    ASSERT_EQ(layout.fault, ImageFault::kNone);
    EXPECT_EQ(layout.internalSize, 0u);
    EXPECT_THAT(std::vector<std::uint64_t>({layout.segments[1].length, layout.segments[2].length}),
                ElementsAre(44u, 100u));
}

}  // namespace
}  // namespace orvo
