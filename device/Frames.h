#pragma once
// Building command and data frames (the layouts are in DeviceProtocol.h).
#include <cstdint>

namespace orvo {

inline constexpr int kCommandFrame = 0;
inline constexpr int kDataFrame = 1;

// Builds a frame of `length` bytes into `destination`, which may be `source` itself.
//   kCommandFrame: 55 AA `command`, bytes 3 to length-2 from the same places of `source`, the
//                  8-bit checksum in the last byte.
//   kDataFrame:    55 AA 55 AA, bytes 4 to length-5 from `source`, the 32-bit big-endian
//                  checksum in the last four bytes; `command` is not used (callers pass -1).
// Any other kind, or a length too short for the kind's fixed bytes, writes nothing.
void BuildFrame(const std::uint8_t* source, int length, std::uint8_t* destination, int kind,
                int command);

inline void PutBigEndian16(std::uint8_t* at, unsigned value) {
    at[0] = static_cast<std::uint8_t>(value >> 8);
    at[1] = static_cast<std::uint8_t>(value);
}

}  // namespace orvo
