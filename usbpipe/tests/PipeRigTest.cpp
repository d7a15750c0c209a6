// The library with the real Windows calls against a device played by the pipe rig server over
// real overlapped named-pipe I/O: found through the setup API, frames both ways, a silent
// device, and a device unplugged and plugged in again.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "BuiltPipeDlls.h"
#include "ChildProcess.h"
#include "PipeApi.h"
#include "PipeDll.h"
#include "RigProcess.h"
#include "UsbPipeLibrary.h"
#include "WindowsPath.h"

namespace orvo::usbpipe::testing {
namespace {

using orvo::testing::ChildProcess;
using orvo::testing::RigProcess;
using orvo::testing::WindowsPath;
using Bytes = std::vector<unsigned char>;

Bytes CommandFrame(unsigned char code) {
    Bytes frame(16, 0);
    frame[0] = 0x55;
    frame[1] = 0xAA;
    frame[2] = code;
    for (int i = 3; i < 15; ++i) {
        frame[i] = static_cast<unsigned char>(code * 16 + i);
    }
    return frame;
}

// Sync bytes, then bytes that differ from their neighbours, so a lost or moved byte shows.
Bytes DataFrame(std::size_t length) {
    Bytes frame{0x55, 0xAA, 0x55, 0xAA};
    for (std::size_t i = frame.size(); i < length; ++i) {
        frame.push_back(static_cast<unsigned char>(i * 7));
    }
    return frame;
}

class PipeRigTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        rig = std::make_unique<RigProcess>(ORVO_PIPE_RIG_SERVER);
        ASSERT_TRUE(rig->Start());
    }
    static void TearDownTestSuite() { rig.reset(); }

    // Writes the frame to `pipe` and reads the 16-byte reply from pipe 0.
    Bytes Exchange(const Bytes& frame, int pipe = 1) {
        Bytes copy = frame;
        EXPECT_EQ(library.WriteData(pipe, copy.data(), static_cast<int>(copy.size()), 1000),
                  static_cast<int>(copy.size()));
        Bytes reply(16, 0);
        EXPECT_EQ(library.ReadData(0, reply.data(), 16, 1000), 16);
        return reply;
    }

    static std::unique_ptr<RigProcess> rig;
    UsbPipeLibrary library{RealPipeApi()};
};

std::unique_ptr<RigProcess> PipeRigTest::rig;

TEST_F(PipeRigTest, FindsTheDeviceThroughTheSetupApi) {
    EXPECT_EQ(Exchange(CommandFrame(0x0A))[2], 0x8A);
    EXPECT_TRUE(library.DeviceFound());
    EXPECT_EQ(library.DevicePath(), rig->DevicePath());
}

TEST_F(PipeRigTest, CommandFramesAreAnsweredWithTheirCodeAndPayload) {
    for (unsigned char code : {1, 2, 3, 4, 6, 9, 10, 11}) {
        const Bytes frame = CommandFrame(code);
        const Bytes reply = Exchange(frame);
        EXPECT_EQ(reply[2], code + 0x80);
        EXPECT_EQ(Bytes(reply.begin() + 3, reply.begin() + 15),
                  Bytes(frame.begin() + 3, frame.begin() + 15))
            << "command " << int(code);
    }
}

TEST_F(PipeRigTest, DataFramesArriveWhole) {
    for (std::size_t length : {4104u, 4360u}) {
        Exchange(CommandFrame(1));
        const Bytes frame = DataFrame(length);
        const Bytes reply = Exchange(frame, 3);
        EXPECT_EQ(reply[2], 0x81);
        const Bytes lengthAndChecksum{0,
                                      0,
                                      static_cast<unsigned char>(length >> 8),
                                      static_cast<unsigned char>(length),
                                      frame[length - 4],
                                      frame[length - 3],
                                      frame[length - 2],
                                      frame[length - 1]};
        EXPECT_EQ(Bytes(reply.begin() + 3, reply.begin() + 11), lengthAndChecksum);
    }
}

TEST_F(PipeRigTest, SilentDeviceTimesTheReadOutAndThePipeWorksAfterwards) {
    ASSERT_TRUE(rig->Command("silent"));
    Bytes frame = CommandFrame(6);
    EXPECT_EQ(library.WriteData(1, frame.data(), 16, 1000), 16);
    constexpr int kTimeOutMs = 300;
    Bytes reply(16, 0);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(library.ReadData(0, reply.data(), 16, kTimeOutMs), -1);
    // Wine's clock may count the wait a tick short; it must not end much earlier.
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(kTimeOutMs - 20));
    ASSERT_TRUE(rig->Command("answer"));
    EXPECT_EQ(Exchange(CommandFrame(6))[2], 0x86);
}

// A caller may keep a read waiting on one thread while it writes on another: no transfer may
// hold up the other's.
TEST_F(PipeRigTest, ReadWaitingOnOneThreadGetsTheReplyToAWriteFromAnother) {
    Bytes reply(16, 0);
    int count = 0;
    std::thread reader([&] { count = library.ReadData(0, reply.data(), 16, 3000); });
    Sleep(100);  // lets the read start first
    Bytes frame = CommandFrame(9);
    EXPECT_EQ(library.WriteData(1, frame.data(), 16, 1000), 16);
    reader.join();
    EXPECT_EQ(count, 16);
    EXPECT_EQ(reply[2], 0x89);
}

TEST_F(PipeRigTest, UnpluggedDeviceFailsAndIsFoundAgainWhenPluggedIn) {
    EXPECT_EQ(Exchange(CommandFrame(10))[2], 0x8A);
    ASSERT_TRUE(rig->Quit());
    Bytes frame = CommandFrame(10);
    EXPECT_EQ(library.WriteData(1, frame.data(), 16, 1000), -1);
    EXPECT_FALSE(library.DeviceFound());
    EXPECT_EQ(library.ReadData(0, frame.data(), 16, 1000), -1);
    ASSERT_TRUE(rig->Start());
    EXPECT_EQ(Exchange(CommandFrame(10))[2], 0x8A);
    EXPECT_TRUE(library.DeviceFound());
}

TEST_F(PipeRigTest, DevicePulledWithoutNoticeFailsAndIsFoundAgain) {
    EXPECT_EQ(Exchange(CommandFrame(11))[2], 0x8B);
    rig->Kill();
    Bytes frame = CommandFrame(11);
    EXPECT_EQ(library.WriteData(1, frame.data(), 16, 1000), -1);
    EXPECT_FALSE(library.DeviceFound());
    ASSERT_TRUE(rig->Start());
    EXPECT_EQ(Exchange(CommandFrame(11))[2], 0x8B);
}

class PipeRigDllTest : public PipeRigTest, public ::testing::WithParamInterface<BuiltPipeDll> {};

TEST_P(PipeRigDllTest, ExchangesAFrameWithTheDevice) {
    usbpipe::PipeDll dll(WindowsPath(GetParam().path));
    ASSERT_TRUE(dll.IsLoaded());
    Bytes frame = CommandFrame(6);
    EXPECT_EQ(dll.write(1, frame.data(), 16, 1000), 16);
    Bytes reply(16, 0);
    EXPECT_EQ(dll.read(0, reply.data(), 16, 1000), 16);
    EXPECT_EQ(reply[2], 0x86);
}

INSTANTIATE_TEST_SUITE_P(BothDlls, PipeRigDllTest, ::testing::ValuesIn(kBuiltPipeDlls),
                         [](const auto& info) { return std::string(info.param.name); });

// A technician's check by hand: pipe-call writes command 10, then reads its reply.
TEST_P(PipeRigDllTest, PipeCallToolWritesAndReadsAPipe) {
    const std::string dll = "\"" + WindowsPath(GetParam().path) + "\" ";
    ChildProcess tool;
    std::string line;
    ASSERT_TRUE(tool.Start(ORVO_PIPE_CALL,
                           dll + "write 1 55 AA 0A 00 00 00 00 00 00 00 00 00 00 00 00 09"));
    ASSERT_TRUE(tool.ReadLine(line));
    EXPECT_EQ(line, "16 bytes written");
    EXPECT_EQ(tool.Finish(), 0);
    ASSERT_TRUE(tool.Start(ORVO_PIPE_CALL, dll + "read 0 16"));
    ASSERT_TRUE(tool.ReadLine(line));
    EXPECT_EQ(line, "16 bytes: 55 AA 8A 00 00 00 00 00 00 00 00 00 00 00 00 89");
    EXPECT_EQ(tool.Finish(), 0);
}

}  // namespace
}  // namespace orvo::usbpipe::testing
