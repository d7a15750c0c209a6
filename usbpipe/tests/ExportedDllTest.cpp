// Both pipe DLLs as outside callers load them, with no device attached.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>

#include "BuiltPipeDlls.h"
#include "PipeDll.h"
#include "WindowsPath.h"

namespace orvo::usbpipe::testing {
namespace {

using orvo::testing::WindowsPath;
using ::testing::UnorderedElementsAre;

class ExportedDllTest : public ::testing::TestWithParam<BuiltPipeDll> {
protected:
    usbpipe::PipeDll dll{WindowsPath(GetParam().path)};
};

TEST_P(ExportedDllTest, LoadsAndExportsExactlyItsTwoCalls) {
    ASSERT_TRUE(dll.IsLoaded());
    const std::string prefix = GetParam().prefix;
    EXPECT_THAT(dll.ExportNames(), UnorderedElementsAre(prefix + "ReadData", prefix + "WriteData"));
    EXPECT_NE(dll.read, nullptr);
    EXPECT_NE(dll.write, nullptr);
}

// With nothing to wait for, no call may sit out its time-out.
TEST_P(ExportedDllTest, WithoutADeviceEveryCallFailsWithoutWaitingForItsTimeOut) {
    ASSERT_TRUE(dll.IsLoaded());
    constexpr int kTimeOutMs = 20000;
    unsigned char buffer[4104] = {0x55, 0xAA, 0x0A};
    const auto start = std::chrono::steady_clock::now();
    for (int pipe = -1; pipe <= 14; ++pipe) {
        EXPECT_EQ(dll.read(pipe, buffer, 16, kTimeOutMs), -1) << "read on pipe " << pipe;
        EXPECT_EQ(dll.write(pipe, buffer, 16, kTimeOutMs), -1) << "write on pipe " << pipe;
    }
    EXPECT_EQ(dll.write(3, buffer, sizeof buffer, kTimeOutMs), -1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(kTimeOutMs));
}

INSTANTIATE_TEST_SUITE_P(BothDlls, ExportedDllTest, ::testing::ValuesIn(kBuiltPipeDlls),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace orvo::usbpipe::testing
