#pragma once
// SHA-256 (FIPS 180-4) of a whole buffer, as lower-case hex: what sha256sum prints, so a log
// line can be checked against the file on any PC.
#include <cstddef>
#include <cstdint>
#include <string>

namespace orvo::console {

std::string Sha256Hex(const std::uint8_t* data, std::size_t size);

}  // namespace orvo::console
