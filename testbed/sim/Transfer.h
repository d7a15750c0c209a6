#pragma once
// One call of the pipe library as the simulated device saw it, and its line in a traffic log.
#include <cstdint>
#include <string>
#include <vector>

namespace orvo::sim {

struct Transfer {
    enum class Direction { kWrite, kRead };
    Direction direction = Direction::kWrite;
    int pipe = 0;
    int length = 0;                   // bytes the caller asked to move
    int result = 0;                   // what the call returned
    std::vector<std::uint8_t> bytes;  // the frame written, or the reply delivered
};

// "write pipe 1 16 -> 16: 55 AA 06 ..."; long frames show their first and last bytes.
std::string FormatTransfer(const Transfer& transfer);

}  // namespace orvo::sim
