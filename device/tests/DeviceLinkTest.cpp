// The exchange, the two small command operations and the device error report.
#include "DeviceErrorKeys.h"
#include "DeviceLink.h"
#include "RecordingView.h"
#include "SimulatedDevice.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace orvo {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::RecordingView;

// Pipes that answer each write with a given count and each read with given bytes and count.
// A call that returns -1 leaves kWindowsError.
class ScriptedPipes : public PipeLibrary {
public:
    int WriteData(int, unsigned char*, int, int) override {
        failed = writeResult < 0;
        return writeResult;
    }
    int ReadData(int, unsigned char* data, int length, int) override {
        ++reads;
        std::copy_n(reply.begin(), std::min<std::size_t>(length, reply.size()), data);
        failed = readResult < 0;
        return readResult;
    }
    unsigned long LastError() const override { return failed ? kWindowsError : 0; }
    static constexpr unsigned long kWindowsError = 1460;
    bool failed = false;
    int writeResult = kCommandFrameLength;
    std::vector<std::uint8_t> reply;
    int readResult = kReplyLength;
    int reads = 0;
};

struct ExchangeCase {
    const char* name;
    int writeResult;
    std::vector<std::uint8_t> reply;
    int readResult;
    int expected;
    int reads;
    unsigned long windowsError = 0;  // kept for the exchange
};

class Exchange : public ::testing::TestWithParam<ExchangeCase> {};

TEST_P(Exchange, ResultFollowsWriteCountReplyCodeAndReadCount) {
    const ExchangeCase& c = GetParam();
    ScriptedPipes pipes;
    pipes.writeResult = c.writeResult;
    pipes.reply = c.reply;
    pipes.readResult = c.readResult;
    RecordingView texts;
    DeviceLink link(pipes, texts);
    std::uint8_t frame[kCommandFrameLength] = {};
    std::uint8_t reply[kReplyLength] = {};
    EXPECT_EQ(link.ExchangeFrame(frame, kCommandFrameLength, pipe::kCommand, 1000, reply,
                                 kReplyLength, pipe::kReply, 1000),
              c.expected);
    EXPECT_EQ(pipes.reads, c.reads);
    EXPECT_EQ(link.WindowsError(), c.windowsError);
    EXPECT_THAT(texts.messages, IsEmpty());
}

std::vector<std::uint8_t> Reply(std::uint8_t code, std::uint8_t byte3 = 0) {
    std::vector<std::uint8_t> reply(kReplyLength, 0);
    reply[0] = 0x55;
    reply[1] = 0xAA;
    reply[2] = code;
    reply[3] = byte3;
    return reply;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Exchange,
    ::testing::Values(ExchangeCase{"Accepted", 16, Reply(0x86), 16, 1, 1},
                      ExchangeCase{"FailedWriteMakesNoRead", -1, Reply(0x86), 16, -1, 0, 1460},
                      ExchangeCase{"ShortWriteMakesNoRead", 15, Reply(0x86), 16, -1, 0},
                      ExchangeCase{"FailureReplyOfFullLength", 16, Reply(8, 2), 16, -1, 1},
                      ExchangeCase{"ShortReplyWithRightCode", 16, Reply(0x86), 10, -1, 1},
                      ExchangeCase{"ShortFailureReply", 16, Reply(8, 2), 3, -1, 1},
                      ExchangeCase{"NoReply", 16, {}, -1, -1, 1, 1460},
                      ExchangeCase{"WrongSyncAndChecksumAreNotLookedAt",
                                   16,
                                   {0, 0, 0x81, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x77},
                                   16,
                                   1,
                                   1}),
    [](const auto& info) { return std::string(info.param.name); });

struct ErrorKeyCase {
    int code;
    const char* key;
};

class ErrorKey : public ::testing::TestWithParam<ErrorKeyCase> {};

TEST_P(ErrorKey, ReportShowsTheCodesKeyAndTheFailureStatus) {
    ScriptedPipes pipes;
    RecordingView texts;
    DeviceLink link(pipes, texts);
    EXPECT_EQ(link.ReportDeviceError(GetParam().code), GetParam().key);
    EXPECT_THAT(texts.messages, ElementsAre(GetParam().key));
    EXPECT_EQ(texts.statusTextMode, 1);
    EXPECT_EQ(texts.statusText, L"text of T3");
    EXPECT_THAT(texts.statusKeys, ElementsAre("T3"));
}

INSTANTIATE_TEST_SUITE_P(Codes, ErrorKey,
                         ::testing::Values(ErrorKeyCase{0, "T5"}, ErrorKeyCase{1, "E0"},
                                           ErrorKeyCase{2, "E1"}, ErrorKeyCase{3, "E2"},
                                           ErrorKeyCase{4, "E3"}, ErrorKeyCase{5, "E4"},
                                           ErrorKeyCase{6, "E5"}, ErrorKeyCase{7, "E6"},
                                           ErrorKeyCase{8, "E7"}, ErrorKeyCase{9, "E9"},
                                           ErrorKeyCase{0x20, "E9"}, ErrorKeyCase{0xFF, "E9"},
                                           ErrorKeyCase{0x104, "E3"}, ErrorKeyCase{-1, "E9"}));

struct LinkOnDevice : ::testing::Test {
    sim::SimulatedDevice device;
    RecordingView texts;
    DeviceLink link{device, texts};
    std::uint8_t serial[kSerialLength] = {};
};

TEST_F(LinkOnDevice, ReadDeviceSerialCopiesTheTwelveBytes) {
    device.SetSerialNumber("963695001234");
    ASSERT_EQ(link.ReadDeviceSerial(serial), 1);
    EXPECT_EQ(std::string(serial, serial + kSerialLength), "963695001234");
    EXPECT_THAT(texts.messages, IsEmpty());
}

TEST_F(LinkOnDevice, ReadDeviceSerialReportsAFailureReplyByItsErrorCode) {
    device.AddFault({sim::FaultKind::kFailureReply, 0, 4});
    EXPECT_EQ(link.ReadDeviceSerial(serial), 0);
    EXPECT_THAT(texts.messages, ElementsAre("E3"));
    EXPECT_EQ(texts.StatusKey(), "T3");
}

TEST_F(LinkOnDevice, ReadDeviceSerialReportsAWrongReplyCodeAsTheErrorCode) {
    device.AddFault({sim::FaultKind::kWrongReplyCode, 0, 0x89});
    device.AddFault({sim::FaultKind::kWrongReplyCode, 1, 5});
    EXPECT_EQ(link.ReadDeviceSerial(serial), 0);
    EXPECT_EQ(link.ReadDeviceSerial(serial), 0);
    EXPECT_THAT(texts.messages, ElementsAre("E9", "E4"));
}

TEST_F(LinkOnDevice, ReadDeviceSerialWithoutDeviceShowsT5) {
    device.AddFault({sim::FaultKind::kUnplugged, 0});
    EXPECT_EQ(link.ReadDeviceSerial(serial), 0);
    EXPECT_THAT(texts.messages, ElementsAre("T5"));
    EXPECT_EQ(texts.statusText, L"text of T3");
}

TEST_F(LinkOnDevice, ShortCommandNeedsItsOwnReplyCodeAndReportsNothing) {
    device.AddFault({sim::FaultKind::kWrongReplyCode, 1, 0x8B});
    device.AddFault({sim::FaultKind::kUnplugged, 2});
    EXPECT_TRUE(link.SendShortCommand(command::kHandshake));
    EXPECT_FALSE(link.SendShortCommand(command::kHandshake));
    EXPECT_FALSE(link.SendShortCommand(command::kHandshakeNext));
    EXPECT_THAT(texts.messages, IsEmpty());
    EXPECT_THAT(texts.statusKeys, IsEmpty());
}

}  // namespace
}  // namespace orvo
