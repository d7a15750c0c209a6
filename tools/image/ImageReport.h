#pragma once
// What a technician wants to know of an upgrade file before sending it: its segment table,
// the two parts with their block counts, and whether the tool would take it.
#include <cstdint>
#include <string>
#include <vector>

namespace orvo::tools {

struct ImageReport {
    std::string text;  // the table and the verdict, one item a line
    bool accepted = false;
};

ImageReport InspectImage(const std::vector<std::uint8_t>& file);

}  // namespace orvo::tools
