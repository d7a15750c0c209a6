#pragma once
// The two calls of qxUSBDev, for outside callers, and the state they share: the device path of the
// last search and whether that search found the device. Each call opens its pipe, asks its status
// before a read, makes one transfer and closes the pipe again; the device is searched for when
// none is known or a pipe no longer opens, so a device plugged in again is found without the
// caller doing anything. Every -1 leaves the Windows error that caused it as the calling
// thread's last error.
#include <mutex>
#include <optional>
#include <string>

#include "ApiHandles.h"
#include "PipeApi.h"
#include "WindowsErrors.h"

namespace orvo::usbpipe {

class UsbPipeLibrary {
public:
    explicit UsbPipeLibrary(const PipeApi& api) : api_(api) {}
    UsbPipeLibrary(const UsbPipeLibrary&) = delete;
    UsbPipeLibrary& operator=(const UsbPipeLibrary&) = delete;

    // The byte count moved, or -1 for every failure. Reads take even pipes, writes odd ones.
    int ReadData(int pipe, unsigned char* buffer, int length, int timeoutMs);
    int WriteData(int pipe, const unsigned char* data, int length, int timeoutMs);

    bool DeviceFound() const;
    std::string DevicePath() const;

private:
    CallResult Read(int pipe, unsigned char* buffer, int length, int timeoutMs);
    CallResult Write(int pipe, const unsigned char* data, int length, int timeoutMs);
    int Finish(const CallResult& result) const;

    // The opened pipe, searching for the device first when none is known and again when the
    // pipe does not open; an invalid handle, with the reason in `error`, when that fails.
    ApiHandle OpenDevicePipe(int pipe, DWORD& error);
    // The device path, searched for first when no search has succeeded yet; nothing, with the
    // search's error, when that search fails.
    std::optional<std::string> KnownDevicePath(DWORD& error);
    // The device path after a renewed search; nothing, with the device forgotten, when it fails.
    std::optional<std::string> RenewedDevicePath();

    const PipeApi& api_;
    // Guards the state below; held during searches, so two callers never search at once, but
    // never during a transfer, so a long read does not hold up a write on another pipe.
    mutable std::mutex stateLock_;
    std::string devicePath_;
    bool deviceFound_ = false;
};

// A negative length would reach the system as a huge one, and a missing buffer has no room.
bool IsUsableBuffer(const unsigned char* buffer, int length);

}  // namespace orvo::usbpipe
