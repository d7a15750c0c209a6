#pragma once
// Whole files in and out, for the image tools.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orvo::tools {

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path);
bool WriteWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace orvo::tools
