// The simulated device behind the rig's pipes: what a client of the pipes receives for each
// frame, faults included, and a small upgrade that reaches the device whole.
#include "PipeLibraryResponder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

#include "DeviceProtocol.h"
#include "Frames.h"
#include "SimulatedDevice.h"
#include "UpgradeImage.h"

namespace orvo::piperig {
namespace {

Bytes Command(std::uint8_t code, unsigned argument = 0, unsigned second = 0) {
    Bytes frame(kCommandFrameLength, 0);
    PutBigEndian16(frame.data() + 3, argument);
    PutBigEndian16(frame.data() + 5, second);
    BuildFrame(frame.data(), kCommandFrameLength, frame.data(), kCommandFrame, code);
    return frame;
}

Bytes DataFrame(const Bytes& data, int blockSize) {
    Bytes frame(static_cast<std::size_t>(blockSize) + 8, 0);
    std::copy(data.begin(), data.end(), frame.begin() + 4);
    BuildFrame(frame.data(), static_cast<int>(frame.size()), frame.data(), kDataFrame, -1);
    return frame;
}

struct FaultCase {
    const char* name;
    std::optional<sim::Fault> fault;
    std::size_t replyLength;  // 0: no reply reaches the client
    std::uint8_t replyCode;
};

class FirstFrame : public ::testing::TestWithParam<FaultCase> {};

TEST_P(FirstFrame, FaultReachesTheClientAndTheNextFrameIsAnswered) {
    sim::SimulatedDevice device;
    if (GetParam().fault) {
        device.AddFault(*GetParam().fault);
    }
    PipeLibraryResponder responder(device);
    const auto reply = responder.OnFrame(1, Command(command::kReadSerial));
    if (GetParam().replyLength == 0) {
        EXPECT_FALSE(reply.has_value());
    } else {
        ASSERT_TRUE(reply.has_value());
        EXPECT_EQ(reply->pipe, 0);
        EXPECT_EQ(reply->bytes.size(), GetParam().replyLength);
        EXPECT_EQ(reply->bytes[2], GetParam().replyCode);
    }
    const auto next = responder.OnFrame(1, Command(command::kReadSerial));
    ASSERT_TRUE(next.has_value());
    EXPECT_EQ(next->bytes[2], 0x86);
}

using sim::FaultKind;
INSTANTIATE_TEST_SUITE_P(
    Faults, FirstFrame,
    ::testing::Values(FaultCase{"None", std::nullopt, 16, 0x86},
                      FaultCase{"FailureReply", sim::Fault{FaultKind::kFailureReply, 0, 4}, 16, 8},
                      FaultCase{"WrongReplyCode", sim::Fault{FaultKind::kWrongReplyCode, 0, 0x89},
                                16, 0x89},
                      FaultCase{"ShortReply", sim::Fault{FaultKind::kShortReply, 0, 10}, 10, 0x86},
                      FaultCase{"NoReply", sim::Fault{FaultKind::kNoReply, 0}, 0, 0},
                      FaultCase{"FailedWrite", sim::Fault{FaultKind::kFailedWrite, 0}, 0, 0},
                      FaultCase{"ShortWrite", sim::Fault{FaultKind::kShortWrite, 0, 8}, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PipeLibraryResponder, SerialNumberComesBackInTheReply) {
    sim::SimulatedDevice device("963697001234");
    PipeLibraryResponder responder(device);
    const auto reply = responder.OnFrame(1, Command(command::kReadSerial));
    ASSERT_TRUE(reply.has_value());
    EXPECT_EQ(std::string(reply->bytes.begin() + 3, reply->bytes.begin() + 15), "963697001234");
}

// A failed write must not be followed by a read the device would count against the client.
TEST(PipeLibraryResponder, NothingIsReadBackAfterAFailedWrite) {
    sim::SimulatedDevice device;
    device.AddFault({FaultKind::kFailedWrite, 0});
    PipeLibraryResponder responder(device);
    responder.OnFrame(1, Command(command::kReadSerial));
    ASSERT_EQ(device.Traffic().size(), 1u);
    EXPECT_EQ(device.Traffic()[0].direction, sim::Transfer::Direction::kWrite);
}

TEST(PipeLibraryResponder, UpgradeOfOneBlockPerPartReachesTheDeviceWhole) {
    sim::SimulatedDevice device;
    PipeLibraryResponder responder(device);
    const Bytes internal(300, 0x5A);
    const Bytes external{1, 2, 3, 4, 5};
    const auto send = [&](int pipe, const Bytes& frame) {
        const auto reply = responder.OnFrame(pipe, frame);
        ASSERT_TRUE(reply.has_value());
        EXPECT_NE(reply->bytes[2], 8) << "refused: " << device.ProtocolErrors().back();
    };
    send(1, Command(command::kStartInternal, 1));
    send(1, Command(command::kAnnounceBlock, 300, 0));
    send(3, DataFrame(internal, kInternalBlockSize));
    send(1, Command(command::kStartExternal, 1));
    send(1, Command(command::kAnnounceBlock, 5, 0));
    send(3, DataFrame(external, kExternalBlockSize));
    send(1, Command(command::kEndUpgrade));
    EXPECT_TRUE(device.UpgradeEnded());
    EXPECT_EQ(device.InternalPart(), internal);
    EXPECT_EQ(device.ExternalPart(), external);
}

}  // namespace
}  // namespace orvo::piperig
