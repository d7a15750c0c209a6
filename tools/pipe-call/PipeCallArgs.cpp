#include "PipeCallArgs.h"

#include <cctype>
#include <cstdio>
#include <limits>

namespace orvo::pipecall {

const char kPipeCallUsage[] =
    "usage: pipe-call [--timeout MS] DLL read PIPE LENGTH\n"
    "       pipe-call [--timeout MS] DLL write PIPE HEXBYTES...\n"
    "       pipe-call DLL exports\n"
    "  DLL is qxUSBDev, qxUSBDevAdv or a path to either. Reads take even pipes 0 to 12, writes\n"
    "  odd pipes 1 to 13. The time-out is 1000 ms unless given. Prints the bytes read or the\n"
    "  count written; exits with 1 when the library returns -1.\n"
    "  example: pipe-call qxUSBDev write 1 55 AA 0A 00 00 00 00 00 00 00 00 00 00 00 00 09\n"
    "           pipe-call qxUSBDev read 0 16\n";

namespace {

std::optional<int> ParseNumber(const std::string& text) {
    if (text.empty() || text.size() > 9) {
        return std::nullopt;
    }
    int value = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    const int lower = std::tolower(static_cast<unsigned char>(c));
    return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

}  // namespace

std::optional<PipeCallArgs> ParsePipeCallArgs(const std::vector<std::string>& arguments,
                                              std::string& error) {
    PipeCallArgs args;
    std::size_t next = 0;
    if (arguments.size() >= 2 && arguments[0] == "--timeout") {
        const auto timeout = ParseNumber(arguments[1]);
        if (!timeout) {
            error = "the time-out must be a number of milliseconds";
            return std::nullopt;
        }
        args.timeoutMs = *timeout;
        next = 2;
    }
    if (arguments.size() < next + 2) {
        error = "a DLL and an action are needed";
        return std::nullopt;
    }
    args.dll = arguments[next];
    const std::string& action = arguments[next + 1];
    if (action == "exports" && arguments.size() == next + 2) {
        args.action = Action::Exports;
        return args;
    }
    if ((action != "read" && action != "write") || arguments.size() < next + 4) {
        error = "the action is read PIPE LENGTH, write PIPE HEXBYTES... or exports";
        return std::nullopt;
    }
    const auto pipe = ParseNumber(arguments[next + 2]);
    if (!pipe) {
        error = "the pipe must be a number";
        return std::nullopt;
    }
    args.pipe = *pipe;
    if (action == "read") {
        const auto length = ParseNumber(arguments[next + 3]);
        if (!length || arguments.size() != next + 4) {
            error = "read takes one length in bytes";
            return std::nullopt;
        }
        args.action = Action::Read;
        args.length = *length;
        return args;
    }
    std::string hex;
    for (std::size_t i = next + 3; i < arguments.size(); ++i) {
        hex += arguments[i] + " ";
    }
    const auto data = ParseHexBytes(hex);
    if (!data) {
        error = "the bytes to write must be hex digits in pairs";
        return std::nullopt;
    }
    args.action = Action::Write;
    args.data = *data;
    return args;
}

std::optional<std::vector<unsigned char>> ParseHexBytes(const std::string& text) {
    std::vector<unsigned char> bytes;
    int high = -1;
    for (char c : text) {
        const int digit = HexDigit(c);
        if (digit >= 0) {
            if (high < 0) {
                high = digit;
            } else {
                bytes.push_back(static_cast<unsigned char>(high * 16 + digit));
                high = -1;
            }
        } else if (high >= 0 ||
                   !(std::isspace(static_cast<unsigned char>(c)) || c == ':' || c == '-')) {
            return std::nullopt;  // a lone digit, or a character that is no separator
        }
    }
    if (high >= 0 || bytes.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        return std::nullopt;
    }
    return bytes;
}

std::string FormatHexBytes(const unsigned char* bytes, int count) {
    std::string text;
    char pair[4];
    for (int i = 0; i < count; ++i) {
        std::snprintf(pair, sizeof pair, i == 0 ? "%02X" : " %02X", bytes[i]);
        text += pair;
    }
    return text;
}

}  // namespace orvo::pipecall
