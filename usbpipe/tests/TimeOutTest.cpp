// The caller's time-out goes to the wait: -1 waits without end (INFINITE), as
// the Windows calls that take a time-out do, 0 does not wait, and a time-out that expires
// cancels the transfer and awaits the cancellation. The same for qxUSBDev and qxUSBDevAdv. The
// fake device completes the read 1.5 s after it starts; the bounds are generous, since a loaded
// machine may run late, but never early.
#include <chrono>
#include <tuple>

#include "FakeDeviceFixture.h"

namespace orvo::usbpipe::testing {
namespace {

using namespace std::chrono_literals;
using ::testing::Contains;
using ::testing::Not;

constexpr auto kCompletesAfter = 1500ms;

struct TimeOutCase {
    const char* what;
    int timeoutMs;
    int result;        // 16 bytes read, or -1
    DWORD lastError;   // after a -1
    const char* wait;  // the wait the library asks for
    std::chrono::milliseconds atLeast;
    std::chrono::milliseconds below;
};

const TimeOutCase kTimeOuts[] = {
    {"MinusOneWaitsUntilTheReadCompletes", -1, 16, ERROR_SUCCESS, "WaitForSingleObject 4294967295",
     kCompletesAfter - 100ms, 10s},
    {"ZeroFailsAtOnceWhenNothingIsReady", 0, -1, ERROR_TIMEOUT, "WaitForSingleObject 0", 0ms,
     kCompletesAfter - 500ms},
    {"ThreeHundredWaitsThreeHundredMilliseconds", 300, -1, ERROR_TIMEOUT, "WaitForSingleObject 300",
     280ms, kCompletesAfter - 200ms},
};

using Param = std::tuple<LibraryKind, TimeOutCase>;

class TimeOutTest : public FakeDeviceLibraryTest, public ::testing::WithParamInterface<Param> {};

TEST_P(TimeOutTest, WaitsForTheCallersTimeOut) {
    const auto& [kind, timeOut] = GetParam();
    library.emplace(kind, FakeDevice::Api());
    PlugDevice();
    device.QueueRead(EndingAfter(kCompletesAfter, std::vector<unsigned char>(16, 0x42)));
    const auto start = std::chrono::steady_clock::now();
    const int result = library->ReadData(0, buffer, 16, timeOut.timeoutMs);
    const auto waited = std::chrono::steady_clock::now() - start;
    const DWORD lastError = FakeDevice::LastError();

    EXPECT_EQ(result, timeOut.result);
    EXPECT_GE(waited, timeOut.atLeast);
    EXPECT_LT(waited, timeOut.below);
    EXPECT_THAT(device.Calls(), Contains(timeOut.wait));
    if (result < 0) {
        EXPECT_EQ(lastError, timeOut.lastError);
        // The read is cancelled and its end awaited before the call returns.
        EXPECT_THAT(device.Calls(), Contains("CancelIo"));
        EXPECT_THAT(device.Calls(), Contains("GetOverlappedResult wait"));
    } else {
        EXPECT_EQ(buffer[15], 0x42);
        EXPECT_THAT(device.Calls(), Not(Contains("CancelIo")));
    }
}

INSTANTIATE_TEST_SUITE_P(BothLibraries, TimeOutTest,
                         ::testing::Combine(::testing::Values(LibraryKind::PerCall,
                                                              LibraryKind::Kept),
                                            ::testing::ValuesIn(kTimeOuts)),
                         [](const auto& info) {
                             return std::string(LibraryName(std::get<0>(info.param))) + "_" +
                                    std::get<1>(info.param).what;
                         });

}  // namespace
}  // namespace orvo::usbpipe::testing
