#pragma once
// Pipe numbers, names and paths of the device: pipes 0 to 13, even ones read, odd ones written.
#include <cstddef>
#include <optional>
#include <string>

namespace orvo::usbpipe {

constexpr int kPipeCount = 14;
// The pipe path must fit a buffer of this many bytes, the terminating zero included.
constexpr std::size_t kPipePathSize = 256;

bool IsReadPipe(int pipe);
bool IsWritePipe(int pipe);

// "PIPE00" to "PIPE13"; only meaningful for pipes 0 to 13.
std::string PipeName(int pipe);

// device path + "\" + pipe name, or nothing when that would not fit kPipePathSize bytes.
std::optional<std::string> BuildPipePath(const std::string& devicePath, int pipe);

}  // namespace orvo::usbpipe
