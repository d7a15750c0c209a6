#pragma once
// The tool's one path to the device: every frame goes out through ExchangeFrame and gets one
// 16-byte reply. Operations return 1 (or true) for success; a failure that they report has
// been shown to the user when they return, so callers only stop.
#include "DeviceProtocol.h"
#include "Frames.h"
#include "PipeLibrary.h"
#include "TechnicianView.h"

#include <array>
#include <cstdint>
#include <string>

namespace orvo {

class DeviceLink {
public:
    DeviceLink(PipeLibrary& pipes, TechnicianView& texts) : pipes_(pipes), view_(texts) {}

    // Writes the frame, then reads the reply. -1 when the write moved a count other than
    // `length`, when reply byte 2 is the failure code (looked at first, whatever was read),
    // or when the read brought a count other than `replyLength`; otherwise 1. A write or read
    // that failed leaves the library's Windows error for WindowsError.
    int ExchangeFrame(std::uint8_t* frame, int length, int writePipe, int writeTimeoutMs,
                      std::uint8_t* reply, int replyLength, int readPipe, int readTimeoutMs);

    // A command frame with `payload` on the command pipe; `reply` is cleared first, so a
    // failure that brought no reply leaves error code 0 in it. The result of ExchangeFrame.
    int ExchangeCommand(int code, const CommandPayload& payload, ReplyFrame& reply);
    // A data frame of `length` bytes (built) on the data pipe, with its reply.
    int ExchangeData(std::uint8_t* frame, int length, ReplyFrame& reply);

    // Command `code` with an empty payload; true when it was answered with code + 0x80.
    // Reports nothing.
    bool SendShortCommand(int code);
    // Commands 10 and 11, with which every job on the device begins; their answers are not
    // looked at.
    void Greet();
    // Command 6: copies the 12 bytes of the serial number to `serial` and returns 1; otherwise
    // reports the failure (a wrong reply code is reported as the error code itself), returns 0.
    int ReadDeviceSerial(std::uint8_t* serial);
    // Shows the failure of an exchange with the text of the error code's key; returns the key.
    std::string ReportDeviceError(int errorCode);
    // The Windows error of the last exchange's failed write or read, kept beside the device's
    // own error code; 0 when that exchange had none.
    unsigned long WindowsError() const { return windowsError_; }

private:
    PipeLibrary& pipes_;
    TechnicianView& view_;
    unsigned long windowsError_ = 0;
};

}  // namespace orvo
