// Callers on several threads share the device path and the device-found flag.
#include <chrono>
#include <functional>
#include <thread>

#include "FakeDeviceFixture.h"

namespace orvo::usbpipe::testing {
namespace {

using ::testing::Each;
using ::testing::Eq;

constexpr int kCallsPerThread = 5;

using SharedStateTest = FakeDeviceTest;

void OnTwoThreads(const std::function<void()>& calls) {
    std::thread other(calls);
    calls();
    other.join();
}

TEST_F(SharedStateTest, TwoCallersNeverSearchAtTheSameMoment) {
    device.SlowSearches(std::chrono::milliseconds(20));
    OnTwoThreads([&] {
        unsigned char frame[16] = {};
        for (int i = 0; i < kCallsPerThread; ++i) {
            EXPECT_EQ(library.WriteData(1, frame, 16, 1000), -1);
        }
    });
    EXPECT_EQ(device.Searches(), 2 * kCallsPerThread);
    EXPECT_EQ(device.MostSearchesAtOnce(), 1);
}

TEST_F(SharedStateTest, CallersOfAFreshLibrarySearchOnceAndOpenTheWholePath) {
    PlugDevice();
    device.SlowSearches(std::chrono::milliseconds(20));
    OnTwoThreads([&] {
        unsigned char frame[16] = {};
        for (int i = 0; i < kCallsPerThread; ++i) {
            EXPECT_EQ(library.WriteData(1, frame, 16, 1000), 16);
        }
    });
    EXPECT_EQ(device.Searches(), 1);
    std::vector<std::string> pipeOpens;
    for (const std::string& call : device.Calls()) {
        if (call.find(" overlapped") != std::string::npos) {
            pipeOpens.push_back(call);
        }
    }
    EXPECT_EQ(pipeOpens.size(), 2u * kCallsPerThread);
    EXPECT_THAT(pipeOpens, Each(Eq("CreateFileA " + kDevicePath + "\\PIPE01 overlapped")));
}

}  // namespace
}  // namespace orvo::usbpipe::testing
