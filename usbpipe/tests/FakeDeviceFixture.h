#pragma once
// A library bound to a fresh fake device, with the checks every case shares once it ends:
// nothing left open, no overlapped record given up too early, no call with bad arguments.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeDevice.h"
#include "UsbPipeLibrary.h"

namespace orvo::usbpipe::testing {

inline const std::string kDevicePath = "\\\\?\\usb#vid_0000&pid_0000#5&1#{8f49042e}";

class FakeDeviceTest : public ::testing::Test {
  protected:
    void TearDown() override {
        EXPECT_EQ(device.OpenHandles(), 0);
        EXPECT_EQ(device.AbandonedTransfers(), 0);
        EXPECT_THAT(device.Misuses(), ::testing::IsEmpty());
    }

    void PlugDevice() { device.Plug({Working(kDevicePath)}); }

    // Reads 16 bytes from pipe 0 with a one-second time-out.
    int ReadReply() { return library.ReadData(0, buffer, 16, 1000); }
    // Writes a 16-byte command frame to pipe 1 with a one-second time-out.
    int WriteCommand() { return library.WriteData(1, buffer, 16, 1000); }

    static std::vector<unsigned char> Bytes(int count) {
        std::vector<unsigned char> bytes(count);
        for (int i = 0; i < count; ++i) {
            bytes[i] = static_cast<unsigned char>(0xA0 + i);
        }
        return bytes;
    }

    FakeDevice device;
    UsbPipeLibrary library{FakeDevice::Api()};
    unsigned char buffer[4360] = {};
};

}  // namespace orvo::usbpipe::testing
