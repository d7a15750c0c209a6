#include "TextLines.h"

#include "DurableFile.h"

namespace orvo {

std::vector<std::string> SplitTextLines(std::string_view bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t lf = bytes.find('\n', start);
        std::size_t end = lf == std::string_view::npos ? bytes.size() : lf;
        std::size_t contentEnd =
            (lf != std::string_view::npos && end > start && bytes[end - 1] == '\r') ? end - 1 : end;
        lines.emplace_back(bytes.substr(start, contentEnd - start));
        start = end + 1;
    }
    return lines;
}

std::optional<std::vector<std::string>> ReadTextLines(const std::string& path) {
    auto bytes = ReadWholeFile(path);
    if (!bytes) {
        return std::nullopt;
    }
    return SplitTextLines(*bytes);
}

}  // namespace orvo
