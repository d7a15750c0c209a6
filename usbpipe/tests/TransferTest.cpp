// One read or write per call: what the library asks of the pipe and the driver, and what the
// caller gets back, for transfers that complete at once, pend, time out or fail.
#include <algorithm>
#include <functional>

#include "FakeDeviceFixture.h"

namespace orvo::usbpipe::testing {
namespace {

using ::testing::ElementsAreArray;

struct TransferCase {
    const char* what;
    std::function<void(FakeDevice&)> script;
    bool read;
    int timeoutMs;
    int result;
    // The calls from the pipe's opening on.
    std::vector<std::string> calls;
};

void PrintTo(const TransferCase& param, std::ostream* out) {
    *out << param.what;
}

const FakeTransfer kStatusAsksReset = AtOnce({1, 0});
const FakeTransfer kStatusFine = AtOnce({0, 0});
const FakeTransfer kUntilCancelled = UntilCancelled();

class TransferTest : public FakeDeviceTest, public ::testing::WithParamInterface<TransferCase> {
protected:
    std::vector<std::string> CallsFromPipeOpen() const {
        std::vector<std::string> calls = device.Calls();
        const auto open = std::find_if(calls.begin(), calls.end(), [](const std::string& call) {
            return call.find(" overlapped") != std::string::npos;
        });
        return std::vector<std::string>(open, calls.end());
    }
};

TEST_P(TransferTest, MakesTheseCallsAndReturns) {
    PlugDevice();
    const TransferCase& transfer = GetParam();
    transfer.script(device);
    const int result = transfer.read ? library.ReadData(0, buffer, 16, transfer.timeoutMs)
                                     : library.WriteData(1, buffer, 16, transfer.timeoutMs);
    EXPECT_EQ(result, transfer.result);
    EXPECT_THAT(CallsFromPipeOpen(), ElementsAreArray(transfer.calls));
}

const std::string kOpenReadPipe = "CreateFileA " + kDevicePath + "\\PIPE00 overlapped";
const std::string kOpenWritePipe = "CreateFileA " + kDevicePath + "\\PIPE01 overlapped";

INSTANTIATE_TEST_SUITE_P(
    Reads, TransferTest,
    ::testing::Values(
        TransferCase{"PendingReadAnsweredWithTenBytes",
                     [](FakeDevice& d) {
                         d.QueueRead(Pending({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
                     },
                     true,
                     1000,
                     10,
                     {kOpenReadPipe, "DeviceIoControl status", "ReadFile 16",
                      "WaitForSingleObject 1000", "GetOverlappedResult", "CloseHandle pipe"}},
        TransferCase{"ReadCompletingAtOnce",
                     [](FakeDevice& d) { d.QueueRead(AtOnce(std::vector<unsigned char>(16, 7))); },
                     true,
                     1000,
                     16,
                     {kOpenReadPipe, "DeviceIoControl status", "ReadFile 16", "CloseHandle pipe"}},
        TransferCase{"StatusAskingResetBeforeTheRead",
                     [](FakeDevice& d) { d.QueueStatus(kStatusAsksReset); },
                     true,
                     1000,
                     0,
                     {kOpenReadPipe, "DeviceIoControl status", "DeviceIoControl reset",
                      "ReadFile 16", "CloseHandle pipe"}},
        TransferCase{"ReadTimingOutIsCancelledThenResetWhenTheStatusAsks",
                     [](FakeDevice& d) {
                         d.QueueRead(kUntilCancelled);
                         d.QueueStatus(kStatusFine);
                         d.QueueStatus(kStatusAsksReset);
                     },
                     true,
                     300,
                     -1,
                     {kOpenReadPipe, "DeviceIoControl status", "ReadFile 16",
                      "WaitForSingleObject 300", "CancelIo", "GetOverlappedResult wait",
                      "DeviceIoControl status", "DeviceIoControl reset", "CloseHandle pipe"}},
        TransferCase{
            "ReadTimingOutWithoutResetWhenTheStatusIsFine",
            [](FakeDevice& d) { d.QueueRead(kUntilCancelled); },
            true,
            300,
            -1,
            {kOpenReadPipe, "DeviceIoControl status", "ReadFile 16", "WaitForSingleObject 300",
             "CancelIo", "GetOverlappedResult wait", "DeviceIoControl status", "CloseHandle pipe"}},
        TransferCase{"ReadFailingAtOnce",
                     [](FakeDevice& d) {
                         d.QueueRead(Failing());
                         d.QueueStatus(kStatusFine);
                         d.QueueStatus(kStatusAsksReset);
                     },
                     true,
                     1000,
                     -1,
                     {kOpenReadPipe, "DeviceIoControl status", "ReadFile 16",
                      "DeviceIoControl status", "DeviceIoControl reset", "CloseHandle pipe"}},
        TransferCase{
            "ReadWhoseWaitFailsIsCancelled",
            [](FakeDevice& d) { d.QueueRead(WaitFailing()); },
            true,
            1000,
            -1,
            {kOpenReadPipe, "DeviceIoControl status", "ReadFile 16", "WaitForSingleObject 1000",
             "CancelIo", "GetOverlappedResult wait", "DeviceIoControl status", "CloseHandle pipe"}},
        TransferCase{"MinusOneTimeOutWaitsWithoutEnd",
                     [](FakeDevice& d) { d.QueueRead(Pending(std::vector<unsigned char>(16, 5))); },
                     true,
                     -1,
                     16,
                     {kOpenReadPipe, "DeviceIoControl status", "ReadFile 16",
                      "WaitForSingleObject 4294967295", "GetOverlappedResult", "CloseHandle pipe"}},
        TransferCase{"StatusRequestTimingOutAfterOneSecond",
                     [](FakeDevice& d) { d.QueueStatus(kUntilCancelled); },
                     true,
                     200,
                     0,
                     {kOpenReadPipe, "DeviceIoControl status", "WaitForSingleObject 1000",
                      "CancelIo", "GetOverlappedResult wait", "ReadFile 16", "CloseHandle pipe"}}),
    [](const auto& info) { return std::string(info.param.what); });

INSTANTIATE_TEST_SUITE_P(
    Writes, TransferTest,
    ::testing::Values(
        TransferCase{"WriteCompletingAtOnceDoesNotWait",
                     [](FakeDevice&) {},
                     false,
                     1000,
                     16,
                     {kOpenWritePipe, "WriteFile 16", "CloseHandle pipe"}},
        TransferCase{"ShortWriteCompletingAtOnce",
                     [](FakeDevice& d) { d.QueueWrite(ShortWriteAtOnce(10)); },
                     false,
                     1000,
                     10,
                     {kOpenWritePipe, "WriteFile 16", "CloseHandle pipe"}},
        TransferCase{"PendingWrite",
                     [](FakeDevice& d) { d.QueueWrite(Pending()); },
                     false,
                     1000,
                     16,
                     {kOpenWritePipe, "WriteFile 16", "WaitForSingleObject 1000",
                      "GetOverlappedResult", "CloseHandle pipe"}},
        TransferCase{"FailedWriteResetsWithoutAskingTheStatus",
                     [](FakeDevice& d) { d.QueueWrite(Failing()); },
                     false,
                     1000,
                     -1,
                     {kOpenWritePipe, "WriteFile 16", "DeviceIoControl reset", "CloseHandle pipe"}},
        TransferCase{"WriteTimingOutIsCancelledThenReset",
                     [](FakeDevice& d) { d.QueueWrite(kUntilCancelled); },
                     false,
                     500,
                     -1,
                     {kOpenWritePipe, "WriteFile 16", "WaitForSingleObject 500", "CancelIo",
                      "GetOverlappedResult wait", "DeviceIoControl reset", "CloseHandle pipe"}},
        TransferCase{
            "ResetTimingOutIsCancelledAfterOneSecond",
            [](FakeDevice& d) {
                d.QueueWrite(Failing());
                d.QueueReset(kUntilCancelled);
            },
            false,
            200,
            -1,
            {kOpenWritePipe, "WriteFile 16", "DeviceIoControl reset", "WaitForSingleObject 1000",
             "CancelIo", "GetOverlappedResult wait", "CloseHandle pipe"}}),
    [](const auto& info) { return std::string(info.param.what); });

using TransferResultTest = FakeDeviceTest;

TEST_F(TransferResultTest, ReadDeliversTheDevicesBytesIntoTheCallersBuffer) {
    PlugDevice();
    const std::vector<unsigned char> reply = Bytes(10);
    device.QueueRead(Pending(reply));
    ASSERT_EQ(ReadReply(), 10);
    EXPECT_EQ(std::vector<unsigned char>(buffer, buffer + 10), reply);
    EXPECT_EQ(buffer[10], 0);
}

TEST_F(TransferResultTest, PipeWorksAgainAfterATimedOutRead) {
    PlugDevice();
    device.QueueRead(kUntilCancelled);
    ASSERT_EQ(ReadReply(), -1);
    device.QueueRead(Pending(Bytes(16)));
    EXPECT_EQ(ReadReply(), 16);
    EXPECT_EQ(device.Searches(), 1);
}

TEST_F(TransferResultTest, FailedTransfersKeepTheDevice) {
    PlugDevice();
    device.QueueWrite(Failing());
    device.QueueRead(Failing());
    EXPECT_EQ(WriteCommand(), -1);
    EXPECT_EQ(ReadReply(), -1);
    EXPECT_TRUE(library.DeviceFound());
    EXPECT_EQ(device.Searches(), 1);
}

}  // namespace
}  // namespace orvo::usbpipe::testing
