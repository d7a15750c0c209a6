// Every -1 of either library leaves the Windows error that caused it as the calling thread's
// last error, as Win32 functions do: the refusal, the search's, the open's, the transfer's own,
// ERROR_TIMEOUT for a time-out.
#include <functional>
#include <tuple>

#include "FakeDeviceFixture.h"

namespace orvo::usbpipe::testing {
namespace {

const std::string kOtherPath = "\\\\?\\usb#vid_0000&pid_0000#5&2#{8f49042e}";

FakeTransfer FailingWith(DWORD error) {
    FakeTransfer transfer = Failing();
    transfer.error = error;
    return transfer;
}

struct ErrorCase {
    const char* what;
    std::function<void(FakeDevice&)> script;
    bool read;
    int pipe;
    DWORD lastError;
};

const ErrorCase kErrors[] = {
    {"RefusedPipe", [](FakeDevice& d) { d.Plug({Working(kDevicePath)}); }, true, 14,
     ERROR_INVALID_PARAMETER},
    {"ReadOnAWritePipe", [](FakeDevice& d) { d.Plug({Working(kDevicePath)}); }, true, 1,
     ERROR_INVALID_PARAMETER},
    {"NoDeviceListed", [](FakeDevice&) {}, false, 1, ERROR_DEVICE_NOT_CONNECTED},
    {"DeviceSetNotMade", [](FakeDevice& d) { d.FailClassList(); }, false, 1,
     ERROR_INVALID_PARAMETER},
    {"ListedDeviceThatDoesNotOpen", [](FakeDevice& d) { d.Plug({NotOpening(kDevicePath)}); }, false,
     1, kDeviceOpenError},
    {"PipeThatDoesNotOpen",
     [](FakeDevice& d) {
         d.Plug({Working(kDevicePath)});
         d.FailPipeOpens(2);
     },
     false, 1, kPipeOpenError},
    {"ReadTimingOut",
     [](FakeDevice& d) {
         d.Plug({Working(kDevicePath)});
         d.QueueRead(UntilCancelled());
     },
     true, 0, ERROR_TIMEOUT},
    {"WriteTimingOut",
     [](FakeDevice& d) {
         d.Plug({Working(kDevicePath)});
         d.QueueWrite(UntilCancelled());
     },
     false, 1, ERROR_TIMEOUT},
    {"ReadFailingWithItsOwnError",
     [](FakeDevice& d) {
         d.Plug({Working(kDevicePath)});
         d.QueueRead(FailingWith(ERROR_CRC));
         d.QueueStatus(AtOnce({1, 0}));  // its reset must not change the error
     },
     true, 0, ERROR_CRC},
    {"WriteFailingWithItsOwnError",
     [](FakeDevice& d) {
         d.Plug({Working(kDevicePath)});
         d.QueueWrite(FailingWith(ERROR_SEM_TIMEOUT));
         d.QueueReset(Failing());
     },
     false, 1, ERROR_SEM_TIMEOUT},
    {"WaitThatFails",
     [](FakeDevice& d) {
         d.Plug({Working(kDevicePath)});
         d.QueueRead(WaitFailing());
     },
     true, 0, ERROR_INVALID_HANDLE},
};

using Param = std::tuple<LibraryKind, ErrorCase>;

class LastErrorTest : public FakeDeviceLibraryTest, public ::testing::WithParamInterface<Param> {};

TEST_P(LastErrorTest, MinusOneLeavesTheErrorThatCausedIt) {
    const auto& [kind, failure] = GetParam();
    library.emplace(kind, FakeDevice::Api());
    failure.script(device);
    FakeDevice::Api().SetLastError(ERROR_SUCCESS);
    const int result = failure.read ? library->ReadData(failure.pipe, buffer, 16, 300)
                                    : library->WriteData(failure.pipe, buffer, 16, 300);
    EXPECT_EQ(result, -1);
    EXPECT_EQ(FakeDevice::LastError(), failure.lastError);
}

INSTANTIATE_TEST_SUITE_P(BothLibraries, LastErrorTest,
                         ::testing::Combine(::testing::Values(LibraryKind::PerCall,
                                                              LibraryKind::Kept),
                                            ::testing::ValuesIn(kErrors)),
                         [](const auto& info) {
                             return std::string(LibraryName(std::get<0>(info.param))) + "_" +
                                    std::get<1>(info.param).what;
                         });

}  // namespace
}  // namespace orvo::usbpipe::testing
