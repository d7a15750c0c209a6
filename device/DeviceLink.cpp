#include "DeviceLink.h"

#include "DeviceErrorKeys.h"
#include "Frames.h"

#include <algorithm>

namespace orvo {

int DeviceLink::ExchangeFrame(std::uint8_t* frame, int length, int writePipe, int writeTimeoutMs,
                              std::uint8_t* reply, int replyLength, int readPipe,
                              int readTimeoutMs) {
    windowsError_ = 0;
    const int written = pipes_.WriteData(writePipe, frame, length, writeTimeoutMs);
    if (written != length) {
        windowsError_ = written < 0 ? pipes_.LastError() : 0;
        return -1;
    }
    const int received = pipes_.ReadData(readPipe, reply, replyLength, readTimeoutMs);
    if (received < 0) {
        windowsError_ = pipes_.LastError();
    }
    // The failure code counts even in a short reply, so it is looked at before the count.
    if (reply[kReplyCodeOffset] == kFailureReply) {
        return -1;
    }
    return received == replyLength ? 1 : -1;
}

int DeviceLink::ExchangeCommand(int code, const CommandPayload& payload, ReplyFrame& reply) {
    std::array<std::uint8_t, kCommandFrameLength> request{};
    std::copy(payload.begin(), payload.end(), request.begin() + kPayloadOffset);
    BuildFrame(request.data(), kCommandFrameLength, request.data(), kCommandFrame, code);
    reply.fill(0);
    return ExchangeFrame(request.data(), kCommandFrameLength, pipe::kCommand, kTransferTimeoutMs,
                         reply.data(), kReplyLength, pipe::kReply, kTransferTimeoutMs);
}

int DeviceLink::ExchangeData(std::uint8_t* frame, int length, ReplyFrame& reply) {
    reply.fill(0);
    return ExchangeFrame(frame, length, pipe::kData, kTransferTimeoutMs, reply.data(), kReplyLength,
                         pipe::kReply, kTransferTimeoutMs);
}

bool DeviceLink::SendShortCommand(int code) {
    ReplyFrame reply;
    const std::uint8_t command = static_cast<std::uint8_t>(code);
    return ExchangeCommand(command, CommandPayload{}, reply) > 0 &&
           reply[kReplyCodeOffset] == static_cast<std::uint8_t>(command + kPositiveReply);
}

void DeviceLink::Greet() {
    SendShortCommand(command::kHandshake);
    SendShortCommand(command::kHandshakeNext);
}

int DeviceLink::ReadDeviceSerial(std::uint8_t* serial) {
    ReplyFrame reply;
    if (ExchangeCommand(command::kReadSerial, CommandPayload{}, reply) < 0) {
        ReportDeviceError(reply[kErrorCodeOffset]);
        return 0;
    }
    if (reply[kReplyCodeOffset] != command::kReadSerial + kPositiveReply) {
        ReportDeviceError(reply[kReplyCodeOffset]);
        return 0;
    }
    std::copy_n(reply.begin() + kPayloadOffset, kSerialLength, serial);
    return 1;
}

std::string DeviceLink::ReportDeviceError(int errorCode) {
    const std::string key = DeviceErrorKey(errorCode);
    view_.ReportDeviceFailure(key, errorCode);
    return key;
}

}  // namespace orvo
