#pragma once
// The wire format, both ways: building command, data and reply frames, checking frames as the
// device checks them, and the byte order of their fields (the layouts are in DeviceProtocol.h).
// The tool builds with it; the simulated device and the pipe rig read and answer with it.
#include "DeviceProtocol.h"

#include <array>
#include <cstdint>

namespace orvo {

inline constexpr int kCommandFrame = 0;
inline constexpr int kDataFrame = 1;

using ReplyFrame = std::array<std::uint8_t, kReplyLength>;
using CommandPayload = std::array<std::uint8_t, kPayloadLength>;  // frame bytes 3-14

// Builds a frame of `length` bytes into `destination`, which may be `source` itself.
//   kCommandFrame: 55 AA `command`, bytes 3 to length-2 from the same places of `source`, the
//                  8-bit checksum in the last byte.
//   kDataFrame:    55 AA 55 AA, bytes 4 to length-5 from `source`, the 32-bit big-endian
//                  checksum in the last four bytes; `command` is not used (callers pass -1).
// Any other kind, or a length too short for the kind's fixed bytes, writes nothing.
void BuildFrame(const std::uint8_t* source, int length, std::uint8_t* destination, int kind,
                int command);

// A reply as the device sends it: laid out as a command frame with `code` in byte 2 and
// `payload` (zeros when null) in bytes 3-14.
ReplyFrame BuildReply(std::uint8_t code, const std::uint8_t* payload = nullptr);

// Whole, well-formed frames as the device accepts them: the sync bytes, the length (16 for a
// command frame, more than the fixed bytes for a data frame) and the checksum.
bool IsCommandFrame(const std::uint8_t* frame, int length);
bool IsDataFrame(const std::uint8_t* frame, int length);

inline void PutBigEndian16(std::uint8_t* at, unsigned value) {
    at[0] = static_cast<std::uint8_t>(value >> 8);
    at[1] = static_cast<std::uint8_t>(value);
}

inline void PutBigEndian32(std::uint8_t* at, std::uint32_t value) {
    PutBigEndian16(at, value >> 16);
    PutBigEndian16(at + 2, value & 0xFFFF);
}

inline unsigned ReadBigEndian16(const std::uint8_t* at) {
    return unsigned{at[0]} << 8 | at[1];
}

inline std::uint32_t ReadBigEndian32(const std::uint8_t* at) {
    return std::uint32_t{ReadBigEndian16(at)} << 16 | ReadBigEndian16(at + 2);
}

}  // namespace orvo
