#pragma once
// The progress line of a part on a terminal: part, blocks done of total, percent, speed and
// time left, as "internal part  12/35 blocks  34%  1.4 MB/s  0:03 left".
#include <string>
#include <string_view>

namespace orvo::console {

struct ProgressFigures {
    std::string_view part;  // "internal" or "external"
    int done = 0;
    int total = 0;
    double bytesPerSecond = 0;  // 0 while unknown: speed and time left are left out
};

// Whole percent, rounded down, so 100 means every block; 100 for a part of no blocks.
int PercentDone(int done, int total);

std::string FormatProgressLine(const ProgressFigures& figures, int blockSize);

}  // namespace orvo::console
