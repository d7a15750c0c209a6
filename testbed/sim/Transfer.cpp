#include "Transfer.h"

#include <cstdio>

namespace orvo::sim {
namespace {

constexpr std::size_t kShownBytes = 16;

void AppendHex(std::string& line, const std::vector<std::uint8_t>& bytes, std::size_t from,
               std::size_t to) {
    for (std::size_t i = from; i < to; ++i) {
        char hex[4];
        std::snprintf(hex, sizeof hex, " %02X", bytes[i]);
        line += hex;
    }
}

}  // namespace

std::string FormatTransfer(const Transfer& transfer) {
    char head[64];
    std::snprintf(head, sizeof head, "%s pipe %d %d -> %d:",
                  transfer.direction == Transfer::Direction::kWrite ? "write" : "read",
                  transfer.pipe, transfer.length, transfer.result);
    std::string line = head;
    const auto& bytes = transfer.bytes;
    if (bytes.size() <= 2 * kShownBytes) {
        AppendHex(line, bytes, 0, bytes.size());
    } else {
        AppendHex(line, bytes, 0, kShownBytes);
        line += " ...";
        AppendHex(line, bytes, bytes.size() - 4, bytes.size());
    }
    return line;
}

}  // namespace orvo::sim
