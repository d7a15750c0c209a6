#include "CodePageLine.h"

#include <cctype>
#include <climits>

namespace orvo {

std::optional<CodePageLine> ParseCodePageLine(std::string_view line) {
    std::size_t equals = line.find('=');
    if (line.find("PAGE") == std::string_view::npos || equals == std::string_view::npos) {
        return std::nullopt;
    }
    CodePageLine result;
    std::size_t marker = line.find("_PAGE");
    if (marker != std::string_view::npos) {
        result.sectionName = std::string(line.substr(0, marker));
    }
    result.codePage = ScanDecimal(line.substr(equals + 1));
    return result;
}

bool IsOfferedLanguageSection(std::string_view sectionName) {
    return sectionName == "LANGUAGE_EN" || sectionName == "LANGUAGE_FR" ||
           sectionName == "LANGUAGE_SP";
}

int ScanDecimal(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) {
            value = static_cast<long long>(INT_MAX) + 1;
        }
    }
    value = negative ? -value : value;
    if (value > INT_MAX) {
        return INT_MAX;
    }
    return static_cast<int>(value < INT_MIN ? INT_MIN : value);
}

}  // namespace orvo
