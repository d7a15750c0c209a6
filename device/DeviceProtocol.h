#pragma once
// The device's protocol as the tool speaks it: pipes, time-outs, frame sizes, command and reply
// codes. Every frame is a strict request and reply: one frame out, one 16-byte reply in.
#include <cstdint>

namespace orvo {

namespace pipe {
inline constexpr int kReply = 0;    // every reply comes back here
inline constexpr int kCommand = 1;  // command frames to the device
inline constexpr int kData = 3;     // data frames to the device
}  // namespace pipe

inline constexpr int kTransferTimeoutMs = 1000;  // each way, every exchange

// Command frame: 55 AA code, 12 payload bytes, low 8 bits of the sum of bytes 0-14.
inline constexpr int kCommandFrameLength = 16;
inline constexpr int kPayloadOffset = 3;
inline constexpr int kPayloadLength = 12;
inline constexpr int kReplyLength = 16;
// Data frame: 55 AA 55 AA, the block, 32-bit big-endian sum of everything before it.
inline constexpr int kDataFrameHeaderLength = 4;
inline constexpr int kDataFrameChecksumLength = 4;
inline constexpr int kDataFrameOverhead = kDataFrameHeaderLength + kDataFrameChecksumLength;

inline constexpr std::uint8_t kSync0 = 0x55;
inline constexpr std::uint8_t kSync1 = 0xAA;

namespace command {
inline constexpr std::uint8_t kAnnounceBlock = 1;  // bytes 3-4 block length, 5-6 block index
inline constexpr std::uint8_t kEndUpgrade = 2;
inline constexpr std::uint8_t kStartInternal = 3;   // bytes 3-4 block count
inline constexpr std::uint8_t kStartExternal = 4;   // bytes 3-4 block count
inline constexpr std::uint8_t kReadSerial = 6;      // reply bytes 3-14: the serial number
inline constexpr std::uint8_t kWriteSerial = 9;     // bytes 3-14: the serial number
inline constexpr std::uint8_t kHandshake = 10;      // before every serial-number job and upgrade
inline constexpr std::uint8_t kHandshakeNext = 11;  // directly after kHandshake
}  // namespace command

// Reply byte 2: the command code plus kPositiveReply, or kFailureReply with the device's error
// code in byte 3.
inline constexpr int kReplyCodeOffset = 2;
inline constexpr int kErrorCodeOffset = 3;
inline constexpr std::uint8_t kPositiveReply = 0x80;
inline constexpr std::uint8_t kFailureReply = 8;

inline constexpr int kSerialLength = 12;  // ASCII digits

}  // namespace orvo
