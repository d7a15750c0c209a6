// The simulated device's own checks and faults, seen from the pipe calls.
#include "DeviceLink.h"
#include "Frames.h"
#include "RecordingView.h"
#include "SimulatedDevice.h"
#include "UpgradeBench.h"
#include "UpgradeImage.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace orvo::sim {
namespace {

using image::Bytes;
using image::MakeRandomImage;

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::SizeIs;

Bytes Command(std::uint8_t code, std::initializer_list<std::uint8_t> payload = {}) {
    Bytes frame(kCommandFrameLength, 0);
    std::copy(payload.begin(), payload.end(), frame.begin() + kPayloadOffset);
    BuildFrame(frame.data(), kCommandFrameLength, frame.data(), kCommandFrame, code);
    return frame;
}

Bytes DataFrame(int blockSize, const Bytes& data) {
    Bytes frame(blockSize + kDataFrameOverhead, 0);
    std::copy(data.begin(), data.end(), frame.begin() + kDataFrameHeaderLength);
    BuildFrame(frame.data(), static_cast<int>(frame.size()), frame.data(), kDataFrame, -1);
    return frame;
}

struct Device : ::testing::Test {
    // Writes a frame and reads its reply; the reply's bytes, empty when none came.
    Bytes Exchange(Bytes frame, int pipe = pipe::kCommand, int timeoutMs = 1000) {
        EXPECT_EQ(device.WriteData(pipe, frame.data(), static_cast<int>(frame.size()), 1000),
                  static_cast<int>(frame.size()));
        Bytes reply(kReplyLength, 0);
        const int read = device.ReadData(pipe::kReply, reply.data(), kReplyLength, timeoutMs);
        reply.resize(std::max(read, 0));
        return reply;
    }
    static Bytes Code(const Bytes& reply) {
        return reply.size() < 4 ? reply : Bytes(reply.begin() + 2, reply.begin() + 4);
    }

    SimulatedDevice device;
};

TEST_F(Device, RepliesAreWholeFramesWithTheirOwnChecksum) {
    const Bytes reply = Exchange(Command(command::kHandshake));
    ASSERT_THAT(reply, SizeIs(kReplyLength));
    EXPECT_THAT(reply, ElementsAre(0x55, 0xAA, 0x8A, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x89));
}

TEST_F(Device, WrittenSerialNumberIsReadBack) {
    EXPECT_THAT(Code(Exchange(Command(command::kWriteSerial, {'9', '6', '1', '9', '9', '0', '0',
                                                              '0', '0', '7', '7', '7'}))),
                ElementsAre(0x89, 0));
    const Bytes reply = Exchange(Command(command::kReadSerial));
    EXPECT_EQ(std::string(reply.begin() + 3, reply.begin() + 15), "961990000777");
    EXPECT_EQ(device.SerialNumber(), "961990000777");
}

TEST_F(Device, ShortSerialNumberIsPaddedWithZeros) {
    device.SetSerialNumber("96369");
    const Bytes reply = Exchange(Command(command::kReadSerial));
    EXPECT_EQ(std::string(reply.begin() + 3, reply.begin() + 15),
              std::string("96369\0\0\0\0\0\0\0", 12));
}

TEST_F(Device, RefusesFramesThatBreakTheProtocol) {
    Bytes badChecksum = Command(command::kHandshake);
    badChecksum[15] ^= 1;
    Bytes badSync = Command(command::kHandshake);
    badSync[1] = 0xAB;
    EXPECT_THAT(Code(Exchange(badChecksum)), ElementsAre(kFailureReply, kErrorBadFrame));
    EXPECT_THAT(Code(Exchange(badSync)), ElementsAre(kFailureReply, kErrorBadFrame));
    EXPECT_THAT(Code(Exchange(Command(0x33))), ElementsAre(kFailureReply, kErrorUnknownCommand));
    EXPECT_THAT(Code(Exchange(DataFrame(4096, {}), pipe::kData)),
                ElementsAre(kFailureReply, kErrorOutOfSequence));
    EXPECT_THAT(Code(Exchange(Command(command::kEndUpgrade))),
                ElementsAre(kFailureReply, kErrorOutOfSequence));
    EXPECT_THAT(device.ProtocolErrors(), SizeIs(5));
}

TEST_F(Device, ChecksTheOrderAndContentOfAPart) {
    EXPECT_THAT(Code(Exchange(Command(command::kStartExternal, {0, 2}))), ElementsAre(0x84, 0));
    // Block 1 before block 0, then a short block that is not the last.
    EXPECT_THAT(Code(Exchange(Command(command::kAnnounceBlock, {0x10, 0, 0, 1}))),
                ElementsAre(kFailureReply, kErrorOutOfSequence));
    EXPECT_THAT(Code(Exchange(Command(command::kAnnounceBlock, {0, 5, 0, 0}))),
                ElementsAre(kFailureReply, kErrorOutOfSequence));
    // Block 0 announced with 4096 bytes, but a data frame of the internal size comes.
    EXPECT_THAT(Code(Exchange(Command(command::kAnnounceBlock, {0x10, 0, 0, 0}))),
                ElementsAre(0x81, 0));
    EXPECT_THAT(Code(Exchange(DataFrame(4352, Bytes(4096, 1)), pipe::kData)),
                ElementsAre(kFailureReply, kErrorBadFrame));
    // Announced with 4096 bytes, and so it comes; a bad data checksum is refused.
    EXPECT_THAT(Code(Exchange(Command(command::kAnnounceBlock, {0x10, 0, 0, 0}))),
                ElementsAre(0x81, 0));
    Bytes corrupt = DataFrame(4096, Bytes(4096, 1));
    corrupt[100] ^= 0x40;
    EXPECT_THAT(Code(Exchange(corrupt, pipe::kData)), ElementsAre(kFailureReply, kErrorBadFrame));
    EXPECT_THAT(device.ProtocolErrors(), SizeIs(4));
    EXPECT_THAT(device.ExternalPart(), IsEmpty());
}

TEST_F(Device, LastBlockMustBePaddedWithZeros) {
    Exchange(Command(command::kStartInternal, {0, 1}));
    Exchange(Command(command::kAnnounceBlock, {0, 3, 0, 0}));
    Bytes frame = DataFrame(4352, {1, 2, 3, 4});
    EXPECT_THAT(Code(Exchange(frame, pipe::kData)), ElementsAre(kFailureReply, kErrorBadFrame));
}

TEST_F(Device, ReadWithoutReplyWaitsOutTheTimeOut) {
    Bytes reply(kReplyLength);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(device.ReadData(pipe::kReply, reply.data(), kReplyLength, 30), -1);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(30));
}

TEST_F(Device, NoReplyFaultTakesTheFrameButNeverAnswers) {
    device.AddFault({FaultKind::kNoReply, 0});
    EXPECT_THAT(Exchange(Command(command::kStartInternal, {0, 1}), pipe::kCommand, 20), IsEmpty());
    // The part was started all the same.
    EXPECT_THAT(Code(Exchange(Command(command::kAnnounceBlock, {0, 3, 0, 0}))),
                ElementsAre(0x81, 0));
}

TEST_F(Device, ShortWriteReportsTheGivenCountAndTheFrameIsLost) {
    device.AddFault({FaultKind::kShortWrite, 0, 7});
    Bytes frame = Command(command::kStartInternal, {0, 1});
    EXPECT_EQ(device.WriteData(pipe::kCommand, frame.data(), 16, 1000), 7);
    EXPECT_THAT(Code(Exchange(Command(command::kAnnounceBlock, {0, 3, 0, 0}))),
                ElementsAre(kFailureReply, kErrorOutOfSequence));
}

TEST_F(Device, UnpluggedStaysUnpluggedUntilFaultsAreCleared) {
    device.AddFault({FaultKind::kUnplugged, 1});
    EXPECT_THAT(Exchange(Command(command::kHandshake)), SizeIs(kReplyLength));
    Bytes frame = Command(command::kHandshake);
    Bytes reply(kReplyLength);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(device.WriteData(pipe::kCommand, frame.data(), 16, 1000), -1);
        EXPECT_EQ(device.ReadData(pipe::kReply, reply.data(), 16, 1000), -1);
    }
    device.ClearFaults();
    EXPECT_THAT(Exchange(Command(command::kHandshake)), SizeIs(kReplyLength));
}

TEST(DeviceThreads, CanBeInspectedWhileAnUpgradeRuns) {
    testing::UpgradeBench bench;
    const Bytes image = MakeRandomImage({40000, 60000});
    bench.WriteImage(image);
    int result = 0;
    std::atomic<bool> done{false};
    std::thread worker([&] {
        result = bench.Run();
        done = true;
    });
    std::size_t seen = 0;
    while (!done) {
        const auto traffic = bench.device.Traffic();
        EXPECT_GE(traffic.size(), seen);
        seen = traffic.size();
        bench.device.InternalPart();
    }
    worker.join();
    EXPECT_EQ(result, 1);
    EXPECT_EQ(bench.device.ExternalPart(), Bytes(image.begin() + 256 + 40000, image.end()));
}

// The link's account of each upgrade: every transfer counted once, the data frames among them,
// each taking at least the link's time, and the count started again for the next upgrade.
TEST(DeviceLinkTiming, ReportsEachUpgradeOnceAtTheReplyToItsEnd) {
    testing::UpgradeBench bench;
    bench.WriteImage(MakeRandomImage(
        {3 * std::size_t{kInternalBlockSize}, 2 * std::size_t{kExternalBlockSize} + 1}));
    std::vector<LinkTiming> reports;
    bench.device.SetTimingReport([&](const LinkTiming& timing) { reports.push_back(timing); });
    constexpr auto kLink = std::chrono::microseconds(300);
    bench.device.SetLatency(kLink);
    ASSERT_EQ(bench.Run(), 1);
    ASSERT_EQ(bench.Run(), 1);
    ASSERT_THAT(reports, SizeIs(2));
    for (const LinkTiming& timing : reports) {
        EXPECT_EQ(timing.transfers, 2 * (2 + 2 * (3 + 3) + 1));  // two starts, blocks, the end
        EXPECT_EQ(timing.dataFrames, 3 + 3);
        EXPECT_GE(timing.inCalls, timing.transfers * kLink);
        EXPECT_GE(timing.span, timing.inCalls);
        EXPECT_EQ(ParseLinkTiming(FormatLinkTiming(timing))->inCalls, timing.inCalls);
    }
    EXPECT_EQ(static_cast<long long>(bench.device.Traffic().size()), 2 * reports[0].transfers);
}

}  // namespace
}  // namespace orvo::sim
