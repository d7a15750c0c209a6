// Finding the device, keeping it, and finding it again once it is gone.
#include <algorithm>
#include <string>

#include "DeviceSearch.h"
#include "FakeDeviceFixture.h"

namespace orvo::usbpipe::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

const std::string kOtherPath = "\\\\?\\usb#vid_0000&pid_0000#5&2#{8f49042e}";

int Count(const std::vector<std::string>& calls, const std::string& start) {
    int count = 0;
    for (const std::string& call : calls) {
        count += call.rfind(start, 0) == 0 ? 1 : 0;
    }
    return count;
}

int CountContaining(const std::vector<std::string>& calls, const std::string& part) {
    return static_cast<int>(std::count_if(calls.begin(), calls.end(), [&](const std::string& call) {
        return call.find(part) != std::string::npos;
    }));
}

using DeviceSearchTest = FakeDeviceTest;

TEST_F(DeviceSearchTest, FirstCallSearchesOpensAndClosesTheDeviceThenUsesItsPipe) {
    PlugDevice();
    EXPECT_EQ(WriteCommand(), 16);
    EXPECT_THAT(
        device.Calls(),
        ElementsAre("SetupDiGetClassDevsA", "SetupDiEnumDeviceInterfaces 0",
                    "SetupDiGetDeviceInterfaceDetailA", "SetupDiGetDeviceInterfaceDetailA",
                    "CreateFileA " + kDevicePath, "SetupDiDestroyDeviceInfoList",
                    "CloseHandle device", "CreateFileA " + kDevicePath + "\\PIPE01 overlapped",
                    "WriteFile 16", "CloseHandle pipe"));
    EXPECT_TRUE(library.DeviceFound());
    EXPECT_EQ(library.DevicePath(), kDevicePath);
}

TEST_F(DeviceSearchTest, LaterCallsUseTheKeptPathWithoutSearching) {
    PlugDevice();
    EXPECT_EQ(WriteCommand(), 16);
    EXPECT_EQ(ReadReply(), 0);
    EXPECT_EQ(WriteCommand(), 16);
    EXPECT_EQ(device.Searches(), 1);
}

TEST_F(DeviceSearchTest, DetailRecordCarriesTheSizeOfItsOwnLayout) {
    PlugDevice();
    WriteCommand();
    const DWORD layoutSize = sizeof(void*) == 4 ? 5 : 8;
    EXPECT_THAT(device.DetailSizeFields(), ElementsAre(layoutSize));
}

TEST_F(DeviceSearchTest, WithNoDeviceEveryCallFailsAndSearchesAgain) {
    EXPECT_EQ(WriteCommand(), -1);
    EXPECT_EQ(ReadReply(), -1);
    EXPECT_EQ(WriteCommand(), -1);
    EXPECT_EQ(device.Searches(), 3);
    EXPECT_FALSE(library.DeviceFound());
    EXPECT_THAT(device.Calls(), Not(Contains(HasSubstr("overlapped"))));
}

TEST_F(DeviceSearchTest, DeviceSetThatCannotBeMadeEndsTheSearch) {
    device.FailClassList();
    EXPECT_EQ(WriteCommand(), -1);
    EXPECT_THAT(device.Calls(), ElementsAre("SetupDiGetClassDevsA"));
}

struct SkippedInterface {
    const char* what;
    FakeInterface first;
};

void PrintTo(const SkippedInterface& param, std::ostream* out) {
    *out << param.what;
}

class SkippedInterfaceTest : public FakeDeviceTest,
                             public ::testing::WithParamInterface<SkippedInterface> {};

TEST_P(SkippedInterfaceTest, SearchGoesOnToTheNextInterface) {
    device.Plug({GetParam().first, Working(kOtherPath)});
    EXPECT_EQ(WriteCommand(), 16);
    EXPECT_EQ(library.DevicePath(), kOtherPath);
    EXPECT_THAT(device.Calls(), Contains("CreateFileA " + kOtherPath + "\\PIPE01 overlapped"));
}

INSTANTIATE_TEST_SUITE_P(
    FailingFirstInterface, SkippedInterfaceTest,
    ::testing::Values(
        SkippedInterface{"EnumerationFails", FailingEnumeration(kDevicePath, ERROR_INVALID_DATA)},
        SkippedInterface{"DetailFails", FailingDetail(kDevicePath)},
        SkippedInterface{"DeviceDoesNotOpen", NotOpening(kDevicePath)},
        SkippedInterface{"DetailLargerThanAnyPath", Working("\\\\?\\" + std::string(40000, 'x'))}),
    [](const auto& info) { return std::string(info.param.what); });

TEST_F(DeviceSearchTest, PathOfALastInterfaceThatDidNotOpenIsKept) {
    device.Plug({NotOpening(kDevicePath)});
    EXPECT_EQ(WriteCommand(), -1);
    EXPECT_EQ(library.DevicePath(), kDevicePath);
    EXPECT_FALSE(library.DeviceFound());
}

TEST_F(DeviceSearchTest, EnumerationThatKeepsFailingEndsAfterTheBound) {
    device.Plug(
        std::vector<FakeInterface>(10000, FailingEnumeration(kDevicePath, ERROR_INVALID_DATA)));
    EXPECT_EQ(WriteCommand(), -1);
    EXPECT_EQ(Count(device.Calls(), "SetupDiEnumDeviceInterfaces"), kMaxFailedEnumerations);
    EXPECT_THAT(device.Calls(), Contains("SetupDiDestroyDeviceInfoList"));
}

TEST_F(DeviceSearchTest, FailuresShortOfTheBoundDoNotEndTheSearch) {
    std::vector<FakeInterface> interfaces(kMaxFailedEnumerations - 1,
                                          FailingEnumeration(kDevicePath, ERROR_INVALID_DATA));
    interfaces.push_back(Working(kOtherPath));
    device.Plug(interfaces);
    EXPECT_EQ(WriteCommand(), 16);
    EXPECT_EQ(library.DevicePath(), kOtherPath);
}

TEST_F(DeviceSearchTest, UnpluggedDeviceIsForgottenAndFoundAgainWhenPluggedIn) {
    PlugDevice();
    ASSERT_EQ(WriteCommand(), 16);
    device.Unplug();
    EXPECT_EQ(WriteCommand(), -1);
    EXPECT_FALSE(library.DeviceFound());
    EXPECT_EQ(ReadReply(), -1);
    EXPECT_EQ(device.Searches(), 3);
    PlugDevice();
    EXPECT_EQ(WriteCommand(), 16);
    EXPECT_TRUE(library.DeviceFound());
    EXPECT_EQ(device.Searches(), 4);
}

TEST_F(DeviceSearchTest, DeviceThatMovedIsFoundAtItsNewPath) {
    PlugDevice();
    ASSERT_EQ(WriteCommand(), 16);
    device.Plug({Working(kOtherPath)});
    EXPECT_EQ(WriteCommand(), 16);
    EXPECT_EQ(library.DevicePath(), kOtherPath);
}

TEST_F(DeviceSearchTest, FlagStaysSetWhenTheRenewedSearchSucceedsButThePipeStillFails) {
    PlugDevice();
    ASSERT_EQ(WriteCommand(), 16);
    device.FailPipeOpens(2);
    device.ClearCalls();
    EXPECT_EQ(WriteCommand(), -1);
    EXPECT_TRUE(library.DeviceFound());
    EXPECT_EQ(Count(device.Calls(), "SetupDiGetClassDevsA"), 1);
    EXPECT_EQ(Count(device.Calls(), "CreateFileA " + kDevicePath + "\\PIPE01"), 2);
    EXPECT_EQ(WriteCommand(), 16);
    EXPECT_EQ(device.Searches(), 2);
}

TEST_F(DeviceSearchTest, PipeThatOpensAfterTheRenewedSearchCarriesTheTransfer) {
    PlugDevice();
    ASSERT_EQ(WriteCommand(), 16);
    device.FailPipeOpens(1);
    EXPECT_EQ(WriteCommand(), 16);
    EXPECT_EQ(device.Searches(), 2);
}

struct DevicePathLength {
    std::size_t length;
    bool fits;
};

void PrintTo(const DevicePathLength& param, std::ostream* out) {
    *out << param.length;
}

class DevicePathLengthTest : public FakeDeviceTest,
                             public ::testing::WithParamInterface<DevicePathLength> {};

// "\PIPE01" and the terminating zero take 8 of the pipe path's 256 bytes.
TEST_P(DevicePathLengthTest, PipePathMustFitItsBuffer) {
    const std::string path = "\\\\?\\" + std::string(GetParam().length - 4, 'x');
    device.Plug({Working(path)});
    EXPECT_EQ(WriteCommand(), GetParam().fits ? 16 : -1);
    EXPECT_EQ(CountContaining(device.Calls(), " overlapped"), GetParam().fits ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(AroundTheLimit, DevicePathLengthTest,
                         ::testing::Values(DevicePathLength{247, true}, DevicePathLength{248, true},
                                           DevicePathLength{249, false},
                                           DevicePathLength{600, false}),
                         [](const auto& info) { return std::to_string(info.param.length); });

}  // namespace
}  // namespace orvo::usbpipe::testing
