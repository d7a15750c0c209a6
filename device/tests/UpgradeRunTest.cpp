// Whole upgrades against the simulated device: the frames in order, what the device
// reassembled, the progress bar and the status keys; and the files a run refuses.
#include "UpgradeBench.h"
#include "UpgradeImage.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace orvo {
namespace {

using image::Bytes;
using sim::Transfer;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;
using testing::UpgradeBench;

Bytes Slice(const Bytes& bytes, std::size_t from, std::size_t count) {
    return Bytes(bytes.begin() + from, bytes.begin() + from + count);
}

// Checks the frames of one part from `at` on; returns the index behind them.
std::size_t ExpectPart(const std::vector<Transfer>& frames, std::size_t at, const Bytes& image,
                       std::size_t partOffset, std::uint8_t startCommand, int blockSize,
                       const std::vector<unsigned>& blocks) {
    const auto count = static_cast<std::uint8_t>(blocks.size());
    EXPECT_EQ(frames.at(at).pipe, pipe::kCommand);
    EXPECT_THAT(Slice(frames.at(at).bytes, 2, 3), ElementsAre(startCommand, 0, count));
    ++at;
    std::size_t offset = partOffset;
    for (std::size_t k = 0; k < blocks.size(); ++k) {
        const unsigned length = blocks[k];
        EXPECT_THAT(Slice(frames.at(at).bytes, 2, 5),
                    ElementsAre(command::kAnnounceBlock, length >> 8, length & 0xFF, 0, k))
            << "announce of block " << k;
        const Bytes& data = frames.at(at + 1).bytes;
        EXPECT_EQ(frames.at(at + 1).pipe, pipe::kData);
        EXPECT_EQ(data.size(), static_cast<std::size_t>(blockSize + kDataFrameOverhead));
        if (data.size() == static_cast<std::size_t>(blockSize + kDataFrameOverhead)) {
            EXPECT_EQ(Slice(data, 4, length), Slice(image, offset, length)) << "block " << k;
            EXPECT_EQ(Slice(data, 4 + length, blockSize - length), Bytes(blockSize - length, 0));
        }
        offset += length;
        at += 2;
    }
    return at;
}

std::vector<int> BarPositions(const std::vector<unsigned>& internal,
                              const std::vector<unsigned>& external) {
    std::vector<int> positions;
    for (const auto* part : {&internal, &external}) {
        for (std::size_t k = 0; !part->empty() && k <= part->size(); ++k) {
            positions.push_back(static_cast<int>(k));
        }
    }
    return positions;
}

struct RunCase {
    const char* name;
    std::vector<std::size_t> segments;
    bool internal;
    bool external;
    std::vector<unsigned> internalBlocks;  // lengths of the blocks sent, none: part not sent
    std::vector<unsigned> externalBlocks;
    std::vector<std::string> statusKeys;
};

class WholeRun : public ::testing::TestWithParam<RunCase> {};

TEST_P(WholeRun, SendsThePartsInOrderAndTheDeviceGetsTheFilesBytes) {
    const RunCase& c = GetParam();
    UpgradeBench bench;
    const Bytes image = image::MakeRandomImage(c.segments);
    bench.WriteImage(image);
    bench.controls.SetChecked(control::kUpgradeInternal, c.internal);
    bench.controls.SetChecked(control::kUpgradeExternal, c.external);

    ASSERT_EQ(bench.Run(), 1);

    const std::size_t internalSize = c.segments[0];
    const std::size_t externalOffset = kImageHeaderLength + internalSize;
    const auto frames = bench.device.FramesWritten();
    std::size_t at = 0;
    if (c.internal) {
        at = ExpectPart(frames, at, image, kImageHeaderLength, command::kStartInternal,
                        kInternalBlockSize, c.internalBlocks);
        EXPECT_EQ(bench.device.InternalPart(), Slice(image, kImageHeaderLength, internalSize));
    }
    if (c.external) {
        at = ExpectPart(frames, at, image, externalOffset, command::kStartExternal,
                        kExternalBlockSize, c.externalBlocks);
        EXPECT_EQ(bench.device.ExternalPart(),
                  Slice(image, externalOffset, image.size() - externalOffset));
    }
    if (c.internal || c.external) {
        ASSERT_LT(at, frames.size());
        EXPECT_EQ(frames[at].bytes[2], command::kEndUpgrade);
        ++at;
        EXPECT_TRUE(bench.device.UpgradeEnded());
    }
    EXPECT_EQ(at, frames.size());
    EXPECT_THAT(bench.device.ProtocolErrors(), IsEmpty());
    EXPECT_THAT(bench.view.statusKeys, ElementsAreArray(c.statusKeys));
    EXPECT_THAT(bench.view.messages, IsEmpty());
    EXPECT_EQ(bench.view.statusTextMode, 0);
    EXPECT_THAT(bench.view.bar.positions,
                ElementsAreArray(BarPositions(c.internalBlocks, c.externalBlocks)));
    const auto& lastPart = c.external ? c.externalBlocks : c.internalBlocks;
    if (!lastPart.empty()) {
        EXPECT_EQ(bench.view.bar.upper, static_cast<int>(lastPart.size()));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WholeRun,
    ::testing::Values(
        RunCase{
            "InternalPartOf100Bytes", {100, 50}, true, true, {100}, {50}, {"F1", "F0", "F2", "T2"}},
        RunCase{"InternalPartOfOneFullBlock",
                {4352, 10},
                true,
                true,
                {4352},
                {10},
                {"F1", "F0", "F2", "T2"}},
        RunCase{"InternalPartOneByteOverABlock",
                {4353, 10},
                true,
                true,
                {4352, 1},
                {10},
                {"F1", "F0", "F2", "T2"}},
        RunCase{"ExternalPartOfTwoFullBlocks",
                {100, 8192},
                true,
                true,
                {100},
                {4096, 4096},
                {"F1", "F0", "F2", "F2", "T2"}},
        RunCase{"EmptyExternalPartIsOneEmptyBlock",
                {100},
                true,
                true,
                {100},
                {0},
                {"F1", "F0", "F1", "T2"}},
        RunCase{"ThreeEntriesAt256And356And1000",
                {100, 644, 500},
                true,
                true,
                {100},
                {1144},
                {"F1", "F0", "F2", "T2"}},
        RunCase{"BlocksAreLabelledByTheirSegment",
                {100, 4000, 5000},
                true,
                true,
                {100},
                {4096, 4096, 808},
                {"F1", "F0", "F2", "F3", "F3", "T2"}},
        RunCase{"OnlyInternalBox", {100, 50}, true, false, {100}, {}, {"F1", "T2"}},
        RunCase{"OnlyExternalBox", {5000, 50}, false, true, {}, {50}, {"F0", "F2", "T2"}},
        RunCase{"OnlyExternalBoxWithEmptyInternalPart",
                {0, 50},
                false,
                true,
                {},
                {50},
                {"F0", "F2", "T2"}},
        RunCase{"NeitherBox", {100, 50}, false, false, {}, {}, {"T2"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(UpgradeFile, AlternativeFlagTakesTheAlternativeFile) {
    UpgradeBench bench;
    bench.WriteImage(image::MakeRandomImage({100, 50}, 1));
    const Bytes alternative = image::MakeRandomImage({300, 70}, 7);
    bench.WriteImage(alternative, "alt.bin");
    ASSERT_EQ(bench.Run(true), 1);
    EXPECT_EQ(bench.device.InternalPart(), Slice(alternative, 256, 300));
}

TEST(UpgradeFile, AlternativeFlagWithoutItsKeyShowsT9) {
    UpgradeBench bench;
    bench.folder.Write("CONFIG.INI", "[FILE_PATH]\r\nUPGRADE_FILE=image.bin\r\n");
    bench.WriteImage(image::MakeRandomImage({100, 50}));
    EXPECT_EQ(bench.Run(true), 0);
    EXPECT_THAT(bench.view.messages, ElementsAre("T9"));
    EXPECT_THAT(bench.device.Traffic(), IsEmpty());
}

TEST(UpgradeFile, MissingOrEmptyConfigShowsT0) {
    for (const bool empty : {false, true}) {
        UpgradeBench bench;
        std::filesystem::remove(bench.folder.Path() / "CONFIG.INI");
        if (empty) {
            bench.folder.Write("CONFIG.INI", "");
        }
        bench.WriteImage(image::MakeRandomImage({100, 50}));
        EXPECT_EQ(bench.Run(), 0);
        EXPECT_THAT(bench.view.messages, ElementsAre("T0"));
        EXPECT_THAT(bench.device.Traffic(), IsEmpty());
    }
}

TEST(UpgradeFile, MissingFileShowsT9Only) {
    UpgradeBench bench;
    EXPECT_EQ(bench.Run(), 0);
    EXPECT_THAT(bench.view.messages, ElementsAre("T9"));
    EXPECT_EQ(bench.view.statusTextMode, 0);
    EXPECT_THAT(bench.device.Traffic(), IsEmpty());
}

TEST(UpgradeFile, PathMayBeAbsolute) {
    UpgradeBench bench;
    const Bytes image = image::MakeRandomImage({100, 50});
    bench.WriteImage(image, "elsewhere.bin");
    bench.folder.Write(
        "CONFIG.INI", "[FILE_PATH]\r\nUPGRADE_FILE=" + bench.folder.File("elsewhere.bin") + "\r\n");
    ASSERT_EQ(bench.Run(), 1);
    EXPECT_EQ(bench.device.ExternalPart(), Slice(image, 356, 50));
}

// The file is read block by block as it is sent, through a buffer far smaller than this one:
// a file cut short after its header was checked ends the run at the block it lacks, which the
// device never hears of.
TEST(UpgradeFile, CutShortMidRunShowsT9AfterTheLastWholeBlock) {
    constexpr int kWholeBlocks = 500;
    UpgradeBench bench;
    bench.WriteImage(image::MakeRandomImage({600 * kInternalBlockSize, 50}));
    UpgradeFile file(bench.kit);
    ASSERT_EQ(ReadUpgradeFile("image.bin", file), UpgradeFileRead::kRead);
    std::filesystem::resize_file(bench.folder.Path() / "image.bin",
                                 kImageHeaderLength + kWholeBlocks * kInternalBlockSize + 100);
    EXPECT_EQ(SendUpgrade(bench.link, PartChoice{true, true}, bench.view, file), 0);
    EXPECT_THAT(bench.view.messages, ElementsAre("T9"));
    EXPECT_EQ(bench.view.statusKeys.back(), "T3");
    // The start command, then each whole block announced and sent.
    EXPECT_EQ(bench.device.FramesWritten().size(), 1U + 2 * kWholeBlocks);
}

// A file against the format's rules is refused before any frame, with the same message as a
// missing file and the failure in the status line.
struct RefusedCase {
    const char* name;
    Bytes head;            // the file's first bytes
    std::uint64_t length;  // the file's length; the rest reads as zeros
    bool internalBox = true;
};

Bytes Patched(Bytes image, std::size_t at, std::initializer_list<std::uint8_t> bytes) {
    std::copy(bytes.begin(), bytes.end(), image.begin() + at);
    return image;
}

const Bytes kValid = image::MakeRandomImage({100, 644, 500});  // entries at 256, 356, 1000

class RefusedFile : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedFile, IsReportedWithT9AndTheFailureStatusBeforeAnyFrame) {
    const RefusedCase& c = GetParam();
    UpgradeBench bench;
    bench.WriteImage(c.head);
    std::filesystem::resize_file(bench.folder.Path() / "image.bin", c.length);
    bench.controls.SetChecked(control::kUpgradeInternal, c.internalBox);

    EXPECT_EQ(bench.Run(), 0);
    EXPECT_THAT(bench.device.Traffic(), IsEmpty());
    EXPECT_THAT(bench.view.messages, ElementsAre("T9"));
    EXPECT_EQ(bench.view.statusTextMode, 1);
    EXPECT_EQ(bench.view.statusText, L"text of T3");
    EXPECT_THAT(bench.view.statusKeys, ElementsAre("T3"));
    EXPECT_THAT(bench.view.bar.positions, IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Rules, RefusedFile,
    ::testing::Values(
        RefusedCase{"EmptyFile", {}, 0},
        RefusedCase{"ShorterThanHeader", Slice(kValid, 0, 255), 255},
        RefusedCase{"NoSegments", Patched(kValid, 0, {0}), kValid.size()},
        RefusedCase{"FiftyTwoSegments", Patched(kValid, 0, {52}), kValid.size()},
        RefusedCase{"FallingOffsets", Patched(kValid, 12, {0, 0, 1, 0x50}), kValid.size()},
        RefusedCase{"OffsetBeyondTheFile", Patched(kValid, 12, {0, 0, 0x05, 0xDD}), kValid.size()},
        RefusedCase{"InternalPartPastTheBody", Patched(kValid, 0, {1, 0, 0, 0, 0, 0}),
                    kValid.size()},
        RefusedCase{"EmptyInternalPartToSend", Patched(kValid, 7, {0, 0, 1, 0}), kValid.size()},
        // Refused from the header, before the body is read.
        RefusedCase{"TooManyExternalBlocks", Slice(kValid, 0, 1000), 356 + 65536ull * 4096}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace orvo
