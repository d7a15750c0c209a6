// qxUSBDevAdv's library over the table of Windows calls: each pipe kept open while its transfers
// succeed, so that a block costs its four transfers alone; a failed or timed-out transfer
// recovered as qxUSBDev's are and every pipe renewed; one device for a job.
#include <algorithm>
#include <chrono>
#include <thread>

#include "FakeDeviceFixture.h"

namespace orvo::usbpipe::testing {
namespace {

using namespace std::chrono_literals;
using ::testing::Contains;
using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

const std::string kOtherPath = "\\\\?\\usb#vid_0000&pid_0000#5&2#{8f49042e}";

std::string PipeOpen(const std::string& devicePath, const char* pipe) {
    return "CreateFileA " + devicePath + "\\" + pipe + " overlapped";
}

std::vector<unsigned char> Bytes(int count) {
    return std::vector<unsigned char>(static_cast<std::size_t>(count), 0xA5);
}

int CountContaining(const std::vector<std::string>& calls, const std::string& part) {
    return static_cast<int>(std::count_if(calls.begin(), calls.end(), [&](const std::string& c) {
        return c.find(part) != std::string::npos;
    }));
}

class KeptPipeLibraryTest : public FakeDeviceLibraryTest {
protected:
    int Read(int timeoutMs = 1000) { return kept->ReadData(0, buffer, 16, timeoutMs); }
    int Write(int pipe = 1, int length = 16) { return kept->WriteData(pipe, buffer, length, 1000); }

    // One block as the tool sends it: the announcing command and its reply, the data frame and
    // its reply.
    void SendBlock() {
        EXPECT_EQ(Write(1), 16);
        EXPECT_EQ(Read(), 0);
        EXPECT_EQ(Write(3, 4104), 4104);
        EXPECT_EQ(Read(), 0);
    }
};

TEST_F(KeptPipeLibraryTest, SteadyStateBlockCostsItsFourTransfersAndNothingElse) {
    PlugDevice();
    SendBlock();
    EXPECT_EQ(kept->KeptPipes(), 3);
    device.ClearCalls();
    const int events = device.EventsMade();
    constexpr int kBlocks = 10;
    for (int block = 0; block < kBlocks; ++block) {
        SendBlock();
    }
    EXPECT_EQ(device.Calls().size(), 4u * kBlocks);
    EXPECT_THAT(device.Calls(),
                Each(::testing::AnyOf("WriteFile 16", "ReadFile 16", "WriteFile 4104")));
    EXPECT_EQ(device.EventsMade(), events);
    EXPECT_EQ(device.Searches(), 1);
}

TEST_F(KeptPipeLibraryTest, PendingTransfersAddOnlyTheirWaits) {
    PlugDevice();
    SendBlock();
    device.ClearCalls();
    device.QueueWrite(Pending());
    device.QueueRead(Pending(std::vector<unsigned char>(16, 1)));
    device.QueueWrite(Pending());
    device.QueueRead(Pending(std::vector<unsigned char>(16, 2)));
    EXPECT_EQ(Write(1), 16);
    EXPECT_EQ(Read(), 16);
    EXPECT_EQ(Write(3, 4104), 4104);
    EXPECT_EQ(Read(), 16);
    EXPECT_EQ(CountContaining(device.Calls(), "File "), 4);
    EXPECT_EQ(CountContaining(device.Calls(), "WaitForSingleObject 1000"), 4);
    EXPECT_EQ(CountContaining(device.Calls(), "GetOverlappedResult"), 4);
    EXPECT_EQ(device.Calls().size(), 12u);
}

// qxUSBDev asks the status before every read; a kept pipe before its first read only.
TEST_F(KeptPipeLibraryTest, FreshReadPipeAsksItsStatusBeforeItsFirstReadOnly) {
    PlugDevice();
    device.QueueStatus(AtOnce({1, 0}));
    EXPECT_EQ(Read(), 0);
    EXPECT_EQ(Read(), 0);
    EXPECT_THAT(device.Calls(), Contains(PipeOpen(kDevicePath, "PIPE00")));
    EXPECT_EQ(CountContaining(device.Calls(), "DeviceIoControl status"), 1);
    EXPECT_EQ(CountContaining(device.Calls(), "DeviceIoControl reset"), 1);
    EXPECT_EQ(CountContaining(device.Calls(), "ReadFile"), 2);
}

TEST_F(KeptPipeLibraryTest, FailingWriteIsResetAndClosedAndTheNextOneRenewsTheHandle) {
    PlugDevice();
    ASSERT_EQ(Write(), 16);
    device.QueueWrite(Failing());
    device.ClearCalls();
    EXPECT_EQ(Write(), -1);
    EXPECT_EQ(FakeDevice::LastError(), ERROR_GEN_FAILURE);
    EXPECT_THAT(device.Calls(),
                ElementsAre("WriteFile 16", "DeviceIoControl reset", "CloseHandle pipe"));
    EXPECT_EQ(kept->KeptPipes(), 0);
    device.ClearCalls();
    EXPECT_EQ(Write(), 16);
    EXPECT_THAT(device.Calls(), ElementsAre(PipeOpen(kDevicePath, "PIPE01"), "WriteFile 16"));
    EXPECT_EQ(device.Searches(), 1);
    EXPECT_TRUE(kept->DeviceFound());
}

TEST_F(KeptPipeLibraryTest, FailingReadAsksTheStatusResetsAsAskedAndTheNextOneRenewsTheHandle) {
    PlugDevice();
    ASSERT_EQ(Read(), 0);
    device.QueueRead(Failing());
    device.QueueStatus(AtOnce({1, 0}));
    device.ClearCalls();
    EXPECT_EQ(Read(), -1);
    EXPECT_THAT(device.Calls(), ElementsAre("ReadFile 16", "DeviceIoControl status",
                                            "DeviceIoControl reset", "CloseHandle pipe"));
    device.QueueRead(AtOnce(Bytes(16)));
    device.ClearCalls();
    EXPECT_EQ(Read(), 16);
    EXPECT_THAT(device.Calls(), ElementsAre(PipeOpen(kDevicePath, "PIPE00"),
                                            "DeviceIoControl status", "ReadFile 16"));
}

TEST_F(KeptPipeLibraryTest, TimedOutReadGivesErrorTimeoutAndClosesThePipe) {
    PlugDevice();
    ASSERT_EQ(Read(), 0);
    device.QueueRead(UntilCancelled());
    device.ClearCalls();
    EXPECT_EQ(Read(300), -1);
    EXPECT_EQ(FakeDevice::LastError(), ERROR_TIMEOUT);
    EXPECT_THAT(device.Calls(), ElementsAre("ReadFile 16", "WaitForSingleObject 300", "CancelIo",
                                            "GetOverlappedResult wait", "DeviceIoControl status",
                                            "CloseHandle pipe"));
    EXPECT_EQ(Read(), 0);
}

// A handle of a device that went away never works again; the pipes a failure did not touch
// are renewed too, or the next job would stumble on them once the device is back.
TEST_F(KeptPipeLibraryTest, FailedTransferClosesEveryKeptPipe) {
    PlugDevice();
    SendBlock();
    device.QueueRead(Failing());
    device.ClearCalls();
    EXPECT_EQ(Write(1), 16);
    EXPECT_EQ(Read(), -1);
    EXPECT_EQ(CountContaining(device.Calls(), "CloseHandle pipe"), 3);
    EXPECT_EQ(kept->KeptPipes(), 0);
}

TEST_F(KeptPipeLibraryTest, UnplugFailsTheKeptHandleThenGivesTheOpensError) {
    PlugDevice();
    SendBlock();
    device.Unplug();
    EXPECT_EQ(Write(), -1);
    EXPECT_EQ(FakeDevice::LastError(), kDeadHandleError);  // the transfer's own
    EXPECT_EQ(Write(), -1);
    EXPECT_EQ(FakeDevice::LastError(), kPipeOpenError);  // the open's, after a renewed search
    EXPECT_FALSE(kept->DeviceFound());
    EXPECT_EQ(Read(), -1);
    EXPECT_EQ(FakeDevice::LastError(), ERROR_DEVICE_NOT_CONNECTED);  // nothing listed
    PlugDevice();
    SendBlock();
    EXPECT_TRUE(kept->DeviceFound());
}

TEST_F(KeptPipeLibraryTest, RefusedCallTouchesNothing) {
    PlugDevice();
    EXPECT_EQ(kept->ReadData(1, buffer, 16, 1000), -1);
    EXPECT_EQ(FakeDevice::LastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(kept->WriteData(3, nullptr, 16, 1000), -1);
    EXPECT_EQ(kept->WriteData(14, buffer, 16, 1000), -1);
    EXPECT_THAT(device.Calls(), ::testing::IsEmpty());
}

// --- One device for a job. --------------------------------------------------------------------

TEST_F(KeptPipeLibraryTest, PulledDeviceStillListedIsNeverLeftForAnother) {
    device.Plug({Working(kDevicePath), Working(kOtherPath)});
    SendBlock();
    device.Plug({NotOpening(kDevicePath), Working(kOtherPath)});  // listed, but gone
    for (int call = 0; call < 4; ++call) {
        EXPECT_EQ(Write(), -1);
        EXPECT_EQ(Read(), -1);
    }
    EXPECT_THAT(device.Calls(), Not(Contains(HasSubstr(kOtherPath))));
    device.Plug({Working(kDevicePath), Working(kOtherPath)});
    SendBlock();
    EXPECT_EQ(kept->DevicePath(), kDevicePath);
    EXPECT_THAT(device.Calls(), Not(Contains(HasSubstr(kOtherPath))));
}

TEST_F(KeptPipeLibraryTest, RenewedSearchPrefersTheDeviceInUseWhereverTheSetListsIt) {
    device.Plug({Working(kDevicePath), Working(kOtherPath)});
    SendBlock();
    device.Plug({Working(kOtherPath), Working(kDevicePath)});
    EXPECT_EQ(Write(), -1);  // the kept handle was of the device before it was plugged again
    device.FailPipeOpens(1);
    EXPECT_EQ(Write(), 16);  // the open failed once, and the renewed search kept the device
    EXPECT_EQ(device.Searches(), 2);
    EXPECT_EQ(kept->DevicePath(), kDevicePath);
    EXPECT_THAT(device.Calls(), Not(Contains(HasSubstr(kOtherPath))));
}

TEST_F(KeptPipeLibraryTest, UnpluggedDeviceIsLeftOnlyOnceNoPipeOfItIsOpen) {
    device.Plug({Working(kDevicePath), Working(kOtherPath)});
    EXPECT_EQ(Write(1), 16);
    EXPECT_EQ(Read(), 0);
    device.Plug({Working(kOtherPath)});
    // The data pipe's first open finds the device gone while two of its pipes are still open.
    EXPECT_EQ(Write(3, 4104), -1);
    EXPECT_EQ(FakeDevice::LastError(), kPipeOpenError);
    EXPECT_THAT(device.Calls(), Not(Contains(HasSubstr(kOtherPath + "\\PIPE"))));
    EXPECT_EQ(kept->KeptPipes(), 2);
    // The next transfer on a kept pipe fails, and every pipe is closed.
    EXPECT_EQ(Write(1), -1);
    EXPECT_EQ(kept->KeptPipes(), 0);
    // Now the device is gone with nothing open on it: the next call takes the other one.
    EXPECT_EQ(Write(1), 16);
    EXPECT_EQ(kept->DevicePath(), kOtherPath);
}

// --- Several callers. -------------------------------------------------------------------------

TEST_F(KeptPipeLibraryTest, ReadWaitingOnOneThreadDoesNotHoldUpAWriteOnAnother) {
    PlugDevice();
    SendBlock();
    device.QueueRead(EndingAfter(400ms, Bytes(16)));
    int count = 0;
    std::thread reader([&] { count = kept->ReadData(0, buffer, 16, 3000); });
    std::this_thread::sleep_for(50ms);
    unsigned char frame[16] = {};
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(kept->WriteData(1, frame, 16, 1000), 16);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 300ms);
    reader.join();
    EXPECT_EQ(count, 16);
}

TEST_F(KeptPipeLibraryTest, SecondTransferOnAPipeAtOnceMakesAnEventOfItsOwn) {
    PlugDevice();
    EXPECT_EQ(Read(), 0);
    const int events = device.EventsMade();
    device.QueueRead(EndingAfter(300ms, Bytes(16)));
    device.QueueRead(EndingAfter(100ms, Bytes(16)));
    int first = 0;
    unsigned char other[16] = {};
    std::thread reader([&] { first = kept->ReadData(0, buffer, 16, 3000); });
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(kept->ReadData(0, other, 16, 3000), 16);
    reader.join();
    EXPECT_EQ(first, 16);
    EXPECT_EQ(device.EventsMade(), events + 1);
    EXPECT_EQ(kept->KeptPipes(), 1);
}

}  // namespace
}  // namespace orvo::usbpipe::testing
