// A device that fails at any frame of an upgrade: the run stops at once, says why, and leaves
// the progress bar where the failure found it.
#include "UpgradeBench.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvo {
namespace {

using sim::Fault;
using sim::FaultKind;
using sim::Transfer;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::UpgradeBench;

// Two internal and two external blocks. Frames: 0 command 3, 1-4 blocks 0 and 1 (command 1 and
// data frame each), 5 command 4, 6-9 the external blocks, 10 command 2.
const std::vector<std::size_t> kSegments = {4352 + 10, 4096 + 20};
constexpr int kFramesOfARun = 11;

struct FrameCase {
    const char* name;
    int frame;
    int barUpper;  // the range the bar shows at that frame
    int barPosition;
};

struct FaultCase {
    const char* name;
    FaultKind kind;
    int value;
    const char* key;  // nullptr: the fault does not stop the run
    bool replyRead;   // the tool read a reply to the failed frame
};

const FrameCase kFrames[] = {
    {"Command3", 0, 2, 0}, {"Command1", 3, 2, 1},          {"InternalDataFrame", 4, 2, 1},
    {"Command4", 5, 2, 0}, {"ExternalDataFrame", 9, 2, 1}, {"Command2", 10, 2, 2},
};

const FaultCase kFaults[] = {
    {"FailureReplyCode4", FaultKind::kFailureReply, 4, "E3", true},
    {"FailureReplyCode0", FaultKind::kFailureReply, 0, "T5", true},
    {"FailureReplyCode0x20", FaultKind::kFailureReply, 0x20, "E9", true},
    {"WrongReplyCode", FaultKind::kWrongReplyCode, 0x7E, nullptr, true},
    {"NoReply", FaultKind::kNoReply, -1, "T5", true},
    {"ShortReply", FaultKind::kShortReply, 10, "T5", true},
    {"FailedWrite", FaultKind::kFailedWrite, -1, "T5", false},
    {"ShortWrite", FaultKind::kShortWrite, -1, "T5", false},
    {"Unplugged", FaultKind::kUnplugged, -1, "T5", false},
};

class FaultAtFrame : public ::testing::TestWithParam<std::tuple<FrameCase, FaultCase>> {};

TEST_P(FaultAtFrame, StopsAtOnceWithTheRightMessage) {
    const auto& [at, fault] = GetParam();
    UpgradeBench bench;
    bench.WriteImage(image::MakeRandomImage(kSegments));
    bench.device.AddFault({fault.kind, at.frame, fault.value});

    const int result = bench.Run();

    const auto frames = bench.device.FramesWritten();
    if (fault.key == nullptr) {
        EXPECT_EQ(result, 1);
        EXPECT_EQ(frames.size(), static_cast<std::size_t>(kFramesOfARun));
        EXPECT_THAT(bench.view.messages, IsEmpty());
        EXPECT_EQ(bench.view.StatusKey(), "T2");
        return;
    }
    EXPECT_EQ(result, 0);
    EXPECT_THAT(bench.view.messages, ElementsAre(fault.key));
    EXPECT_EQ(bench.view.statusText, L"text of T3");
    EXPECT_EQ(bench.view.StatusKey(), "T3");
    EXPECT_EQ(bench.view.bar.upper, at.barUpper);
    EXPECT_EQ(bench.view.bar.position, at.barPosition);
    // Nothing after the failed frame but, at most, the read of its reply.
    const auto traffic = bench.device.Traffic();
    ASSERT_FALSE(traffic.empty());
    EXPECT_EQ(frames.size(), static_cast<std::size_t>(at.frame + 1));
    const bool lastIsRead = traffic.back().direction == Transfer::Direction::kRead;
    EXPECT_EQ(lastIsRead, fault.replyRead);
}

INSTANTIATE_TEST_SUITE_P(EveryFrameKindAndFault, FaultAtFrame,
                         ::testing::Combine(::testing::ValuesIn(kFrames),
                                            ::testing::ValuesIn(kFaults)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) + "_" +
                                    std::get<1>(info.param).name;
                         });

TEST(UpgradeFault, FailureReplyToTheThirdDataFrameLeavesTheBarAtTwo) {
    UpgradeBench bench;
    bench.WriteImage(image::MakeRandomImage({3 * 4352, 100}));
    bench.device.AddFault({FaultKind::kFailureReply, 6, 2});  // frames 2, 4, 6 are data
    EXPECT_EQ(bench.Run(), 0);
    EXPECT_THAT(bench.view.messages, ElementsAre("E1"));
    EXPECT_EQ(bench.view.bar.position, 2);
    EXPECT_EQ(bench.device.FramesWritten().size(), 7u);
}

TEST(UpgradeFault, ShortFailureReplyStillShowsTheDevicesError) {
    UpgradeBench bench;
    bench.WriteImage(image::MakeRandomImage(kSegments));
    bench.device.AddFault({FaultKind::kFailureReply, 1, 6});
    bench.device.AddFault({FaultKind::kShortReply, 1, 4});
    EXPECT_EQ(bench.Run(), 0);
    EXPECT_THAT(bench.view.messages, ElementsAre("E5"));
}

TEST(UpgradeFault, NextRunStartsAgainFromCommand3) {
    UpgradeBench bench;
    const auto image = image::MakeRandomImage(kSegments);
    bench.WriteImage(image);
    bench.device.AddFault({FaultKind::kFailureReply, 7, 1});
    ASSERT_EQ(bench.Run(), 0);
    bench.device.ClearFaults();
    ASSERT_EQ(bench.Run(), 1);
    EXPECT_EQ(bench.device.FramesWritten()[8].bytes[2], command::kStartInternal);
    EXPECT_EQ(bench.device.ExternalPart(), image::Bytes(image.begin() + 256 + 4362, image.end()));
    EXPECT_THAT(bench.device.ProtocolErrors(), IsEmpty());
}

}  // namespace
}  // namespace orvo
