#pragma once
// Device serial numbers: 12 ASCII digits, a 5-character prefix that never changes and a
// 7-digit counter written with leading zeros.
#include "DeviceProtocol.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvo {

inline constexpr std::size_t kSerialPrefixLength = 5;
inline constexpr char kDefaultSerialNumber[] = "961990000100";

// Exactly 12 characters, each an ASCII digit. The wide form checks a field's text before any
// conversion, which could turn other characters into digits.
bool IsValidSerialNumber(std::string_view text);
bool IsValidSerialNumber(std::wstring_view text);

// The number after `text`: prefix kept, counter read as scanf's %d reads it (0 when no digit)
// plus one, at least 7 digits. The counter never carries into the prefix, so after 9999999 the
// result has 13 characters, which no write accepts. Empty when `text` is not 12 characters.
std::string NextSerialNumber(std::string_view text);

// The number to propose after the lines of the number file: the next after its last line of
// exactly 12 characters, else the default number. Nothing read (no file) gives the default.
std::string ProposeSerialNumber(const std::optional<std::vector<std::string>>& numberFileLines);

// The number to propose where the history is a file of its own: the later of the number file's
// proposal and the number after the history's last line of 12 characters, then past every
// number `given` holds, so that no number is proposed twice.
std::string ProposeSerialNumber(const std::optional<std::vector<std::string>>& numberFileLines,
                                const std::vector<std::string>& historyLines,
                                const std::function<bool(const std::string&)>& given);

}  // namespace orvo
