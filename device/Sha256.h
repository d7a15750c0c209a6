#pragma once
// SHA-256 (FIPS 180-4), as lower-case hex: what sha256sum prints, so that a log line can be
// checked against the file on any PC, and an image against the approved-images list.
#include <array>
#include <cstddef>
#include <cstdint>
#include <istream>
#include <optional>
#include <string>

namespace orvo {

// Bytes added piece by piece; Hex ends the sum.
class Sha256 {
public:
    void Add(const std::uint8_t* data, std::size_t size);
    std::string Hex();

private:
    std::array<std::uint32_t, 8> state_ = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                           0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
    std::array<std::uint8_t, 64> pending_{};
    std::size_t pendingLength_ = 0;
    std::uint64_t length_ = 0;
};

std::string Sha256Hex(const std::uint8_t* data, std::size_t size);
// What is left of the stream, read to its end; nothing when a read fails before.
std::optional<std::string> Sha256Hex(std::istream& stream);

}  // namespace orvo
