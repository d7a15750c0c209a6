#pragma once
// What a technician wants to know of an upgrade file before sending it: its segment table,
// the two parts with their block counts, the frames an upgrade of both takes, and whether the
// tool would take it.
#include "UpgradeImage.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orvo {

struct ImageReport {
    std::string text;  // the table and the verdict, one item a line
    bool accepted = false;
};

ImageReport InspectImage(const std::vector<std::uint8_t>& file);

// Why a file breaks the rules, in a few words; empty for kNone.
const char* ImageFaultReason(ImageFault fault);

}  // namespace orvo
