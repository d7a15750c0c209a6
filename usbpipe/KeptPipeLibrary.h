#pragma once
// The two calls of the project's qxUSBDevAdv, the pipe library the tool links for real devices:
// the arguments and results of qxUSBDev's (UsbPipeLibrary.h), but each pipe is opened at its first
// use and kept for as long as its transfers succeed, so that in the steady state a transfer costs
// the driver the transfer alone: no open, no close, no status request.
//
// - A pipe is opened with an event of its own for its transfers. The first read on a freshly
//   opened pipe asks its status first and resets it when the status says so, as qxUSBDev does
//   before every read.
// - A failed or timed-out transfer runs qxUSBDev's recovery on its pipe (a read's status request
//   and the reset it asks for, a write's reset) and then closes every kept pipe: a handle of a
//   device that was pulled out never works again, even once the device is back. The next call
//   opens its pipe again, and searches again when that open fails.
// - One device for a job. A renewed search prefers the device path in use: while that path is
//   listed in the device set, the library takes no other device, even when the path does not
//   open. It takes another (the first listed that opens, as qxUSBDev's search does) only once
//   that path has gone from the set and no pipe of it is kept open.
// - Every -1 leaves the Windows error that caused it as the calling thread's last error:
//   ERROR_TIMEOUT for a time-out, the transfer's or the open's own error otherwise (that of
//   the pipe's open when it failed, of the device's when the search found it and it did not
//   open, ERROR_DEVICE_NOT_CONNECTED when none is listed, ERROR_INVALID_PARAMETER for a call
//   refused before the device is touched).
//
// No lock is held during a transfer: a read waiting on one pipe never holds up a write on
// another. Two transfers on one pipe at once are allowed; the second makes its own event.
#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <string>

#include "ApiHandles.h"
#include "PipeApi.h"
#include "PipeNumbers.h"
#include "WindowsErrors.h"

namespace orvo::usbpipe {

class KeptPipeLibrary {
public:
    explicit KeptPipeLibrary(const PipeApi& api) : api_(api) {}
    ~KeptPipeLibrary();  // closes the pipes still kept
    KeptPipeLibrary(const KeptPipeLibrary&) = delete;
    KeptPipeLibrary& operator=(const KeptPipeLibrary&) = delete;

    // The byte count moved, or -1 for every failure. Reads take even pipes, writes odd ones.
    int ReadData(int pipe, unsigned char* buffer, int length, int timeoutMs);
    int WriteData(int pipe, const unsigned char* data, int length, int timeoutMs);

    bool DeviceFound() const;
    // The path of the device in use, or of the last one used.
    std::string DevicePath() const;
    // How many pipes are kept open.
    int KeptPipes() const;

private:
    struct KeptPipe;

    CallResult Transfer(int pipe, bool read, unsigned char* data, int length, int timeoutMs);
    int Finish(const CallResult& result) const;

    // The pipe's kept handle, opened first when none is kept; nothing, with the reason in
    // `error`, when the pipe cannot be opened.
    std::shared_ptr<KeptPipe> TakePipe(int pipe, DWORD& error);
    // Under stateLock_: a device for the pipes by the rule of one device for a job; true with
    // devicePath_ set, or false with the reason in `error`.
    bool SearchDevice(DWORD& error);
    bool AnyPipeKept() const;
    // Closes every kept pipe (each as soon as no transfer uses it any more).
    void ForgetPipes();

    const PipeApi& api_;
    // Guards the state below; held during searches and opens, never during a transfer.
    mutable std::mutex stateLock_;
    std::string devicePath_;
    bool deviceFound_ = false;
    std::array<std::shared_ptr<KeptPipe>, kPipeCount> pipes_;
};

}  // namespace orvo::usbpipe
