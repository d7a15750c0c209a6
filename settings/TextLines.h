#pragma once
// Line-by-line reading of 8-bit text files (CONFIG.INI's code-page lines, the number file).
// A line ends at LF; a CR directly before the LF is not part of it. A last line without LF
// counts; an empty file has no lines.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvo {

std::vector<std::string> SplitTextLines(std::string_view bytes);

// Nothing when the file cannot be opened.
std::optional<std::vector<std::string>> ReadTextLines(const std::string& path);

}  // namespace orvo
