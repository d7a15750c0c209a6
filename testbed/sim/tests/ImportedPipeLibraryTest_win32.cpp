// The tool's pipe calls bound to the imports of qxUSBDevAdv.dll, here the simulator's.
#include "DeviceLink.h"
#include "ImportedPipeLibrary.h"
#include "RecordingView.h"

#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

namespace orvo {
namespace {

using ::testing::IsEmpty;

TEST(ImportedPipeLibrary, ReachesTheDllThroughItsImports) {
    // The simulator reads its settings at its first call.
    SetEnvironmentVariableA("ORVO_SIM_SERIAL", "961990004321");
    ImportedPipeLibrary pipes;
    testing::RecordingView texts;
    DeviceLink link(pipes, texts);
    std::uint8_t serial[kSerialLength];
    EXPECT_TRUE(link.SendShortCommand(command::kHandshake));
    EXPECT_TRUE(link.SendShortCommand(command::kHandshakeNext));
    ASSERT_EQ(link.ReadDeviceSerial(serial), 1);
    EXPECT_EQ(std::string(serial, serial + kSerialLength), "961990004321");
    EXPECT_THAT(texts.messages, IsEmpty());
}

}  // namespace
}  // namespace orvo
