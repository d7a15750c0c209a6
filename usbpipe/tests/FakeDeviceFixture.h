#pragma once
// A library bound to a fresh fake device, with the checks every case shares once it ends:
// nothing left open, no overlapped record given up too early, no call with bad arguments.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "FakeDevice.h"
#include "KeptPipeLibrary.h"
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

// Either library behind one face: qxUSBDev's (UsbPipeLibrary) or qxUSBDevAdv's
// (KeptPipeLibrary), for tables that hold for both.
enum class LibraryKind { PerCall, Kept };

inline const char* LibraryName(LibraryKind kind) {
    return kind == LibraryKind::PerCall ? "qxUSBDev" : "qxUSBDevAdv";
}

class EitherLibrary {
public:
    EitherLibrary(LibraryKind kind, const PipeApi& api) {
        if (kind == LibraryKind::PerCall) {
            part_ = std::make_unique<UsbPipeLibrary>(api);
        } else {
            kept_ = std::make_unique<KeptPipeLibrary>(api);
        }
    }
    int ReadData(int pipe, unsigned char* buffer, int length, int timeoutMs) {
        return part_ ? part_->ReadData(pipe, buffer, length, timeoutMs)
                     : kept_->ReadData(pipe, buffer, length, timeoutMs);
    }
    int WriteData(int pipe, const unsigned char* data, int length, int timeoutMs) {
        return part_ ? part_->WriteData(pipe, data, length, timeoutMs)
                     : kept_->WriteData(pipe, data, length, timeoutMs);
    }

private:
    std::unique_ptr<UsbPipeLibrary> part_;
    std::unique_ptr<KeptPipeLibrary> kept_;
};

// The shared checks for a library made by the test, destroyed first, since qxUSBDevAdv's keeps
// its pipes open until then.
class FakeDeviceLibraryTest : public ::testing::Test {
protected:
    void TearDown() override {
        library.reset();
        kept.reset();
        EXPECT_EQ(device.OpenHandles(), 0);
        EXPECT_EQ(device.AbandonedTransfers(), 0);
        EXPECT_THAT(device.Misuses(), ::testing::IsEmpty());
    }

    void PlugDevice() { device.Plug({Working(kDevicePath)}); }

    FakeDevice device;
    std::optional<EitherLibrary> library;
    std::optional<KeptPipeLibrary> kept{std::in_place, FakeDevice::Api()};
    unsigned char buffer[4360] = {};
};

}  // namespace orvo::usbpipe::testing
