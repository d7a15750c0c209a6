#pragma once
// The command line of pipe-call, and the hex bytes it reads and prints.
#include <optional>
#include <string>
#include <vector>

namespace orvo::pipecall {

enum class Action { Read, Write, Exports };

struct PipeCallArgs {
    std::string dll;
    Action action = Action::Read;
    int pipe = 0;
    int length = 0;                   // bytes to read
    std::vector<unsigned char> data;  // bytes to write
    int timeoutMs = 1000;
};

extern const char kPipeCallUsage[];

// Nothing, with the reason in `error`, when the arguments do not make a call.
std::optional<PipeCallArgs> ParsePipeCallArgs(const std::vector<std::string>& arguments,
                                              std::string& error);

// Hex digits in pairs; blanks, ':' and '-' between bytes are allowed. Nothing when malformed.
std::optional<std::vector<unsigned char>> ParseHexBytes(const std::string& text);
// "55 AA 8A"
std::string FormatHexBytes(const unsigned char* bytes, int count);

}  // namespace orvo::pipecall
