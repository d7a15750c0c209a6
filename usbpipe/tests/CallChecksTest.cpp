// Calls that the library refuses before it touches the device.
#include "FakeDeviceFixture.h"

namespace orvo::usbpipe::testing {
namespace {

using ::testing::IsEmpty;

struct RefusedCall {
    const char* what;
    bool read;
    int pipe;
    int length;
    bool withBuffer;
};

void PrintTo(const RefusedCall& param, std::ostream* out) {
    *out << param.what;
}

class RefusedCallTest : public FakeDeviceTest, public ::testing::WithParamInterface<RefusedCall> {};

TEST_P(RefusedCallTest, ReturnsMinusOneWithoutAnyWindowsCall) {
    PlugDevice();
    const RefusedCall& call = GetParam();
    unsigned char* data = call.withBuffer ? buffer : nullptr;
    const int result = call.read ? library.ReadData(call.pipe, data, call.length, 1000)
                                 : library.WriteData(call.pipe, data, call.length, 1000);
    EXPECT_EQ(result, -1);
    EXPECT_THAT(device.Calls(), IsEmpty());
    EXPECT_FALSE(library.DeviceFound());
}

INSTANTIATE_TEST_SUITE_P(PipeAndBufferChecks, RefusedCallTest,
                         ::testing::Values(RefusedCall{"ReadPipe14", true, 14, 16, true},
                                           RefusedCall{"WritePipe14", false, 14, 16, true},
                                           RefusedCall{"ReadPipeMinus1", true, -1, 16, true},
                                           RefusedCall{"WritePipeMinus1", false, -1, 16, true},
                                           RefusedCall{"ReadOddPipe1", true, 1, 16, true},
                                           RefusedCall{"ReadOddPipe13", true, 13, 16, true},
                                           RefusedCall{"WriteEvenPipe0", false, 0, 16, true},
                                           RefusedCall{"WriteEvenPipe12", false, 12, 16, true},
                                           RefusedCall{"ReadNegativeLength", true, 0, -1, true},
                                           RefusedCall{"WriteNegativeLength", false, 1, -16, true},
                                           RefusedCall{"ReadIntoNoBuffer", true, 0, 16, false},
                                           RefusedCall{"WriteFromNoBuffer", false, 1, 16, false}),
                         [](const auto& info) { return std::string(info.param.what); });

}  // namespace
}  // namespace orvo::usbpipe::testing
