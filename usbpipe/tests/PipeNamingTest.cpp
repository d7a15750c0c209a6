// Each pipe number opens its own pipe below the device path.
#include "FakeDeviceFixture.h"

namespace orvo::usbpipe::testing {
namespace {

using ::testing::Contains;

struct NamedPipe {
    int pipe;
    const char* name;
};

void PrintTo(const NamedPipe& param, std::ostream* out) {
    *out << param.name;
}

class PipeNamingTest : public FakeDeviceTest, public ::testing::WithParamInterface<NamedPipe> {};

TEST_P(PipeNamingTest, OpensThePipeOfItsNumberForOverlappedIo) {
    PlugDevice();
    const NamedPipe& named = GetParam();
    const int result = named.pipe % 2 == 0 ? library.ReadData(named.pipe, buffer, 16, 1000)
                                           : library.WriteData(named.pipe, buffer, 16, 1000);
    EXPECT_NE(result, -1);
    EXPECT_THAT(device.Calls(),
                Contains("CreateFileA " + kDevicePath + "\\" + named.name + " overlapped"));
}

INSTANTIATE_TEST_SUITE_P(AllPipes, PipeNamingTest,
                         ::testing::Values(NamedPipe{0, "PIPE00"}, NamedPipe{1, "PIPE01"},
                                           NamedPipe{2, "PIPE02"}, NamedPipe{3, "PIPE03"},
                                           NamedPipe{4, "PIPE04"}, NamedPipe{5, "PIPE05"},
                                           NamedPipe{6, "PIPE06"}, NamedPipe{7, "PIPE07"},
                                           NamedPipe{8, "PIPE08"}, NamedPipe{9, "PIPE09"},
                                           NamedPipe{10, "PIPE10"}, NamedPipe{11, "PIPE11"},
                                           NamedPipe{12, "PIPE12"}, NamedPipe{13, "PIPE13"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace orvo::usbpipe::testing
