// CONFIG.INI's code-page lines: the file split into lines, each line read as a code-page line,
// and the number after '=' read as scanf's %d reads it; all against plain restatements.
//
// Input: the file's bytes.
#include "CodePageLine.h"
#include "FuzzCheck.h"
#include "TextLines.h"

#include <climits>
#include <vector>

namespace {

using namespace orvo::fuzz;

std::vector<std::string> Lines(std::string_view bytes) {
    std::vector<std::string> lines;
    while (!bytes.empty()) {
        const std::size_t lf = bytes.find('\n');
        std::string line(bytes.substr(0, lf));
        if (lf != std::string_view::npos && !line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
        bytes.remove_prefix(lf == std::string_view::npos ? bytes.size() : lf + 1);
    }
    return lines;
}

// %d: white space, a sign, digits; beyond int it stays at the nearest end of the range.
int Decimal(std::string_view text) {
    std::size_t i = text.find_first_not_of(" \t\n\v\f\r");
    if (i == std::string_view::npos)
        return 0;
    const bool negative = text[i] == '-';
    if (text[i] == '+' || text[i] == '-')
        ++i;
    std::string digits;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') digits += text[i++];
    digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size()));
    const std::string limit = negative ? "2147483648" : "2147483647";
    if (digits.size() > limit.size() || (digits.size() == limit.size() && digits > limit)) {
        return negative ? INT_MIN : INT_MAX;
    }
    const long long magnitude = digits.empty() ? 0 : std::stoll(digits);
    return static_cast<int>(negative ? -magnitude : magnitude);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> lines = orvo::SplitTextLines(bytes);
    FUZZ_CHECK(lines == Lines(bytes));

    for (const std::string& line : lines) {
        const auto parsed = orvo::ParseCodePageLine(line);
        const std::size_t equals = line.find('=');
        const bool isCodePageLine =
            line.find("PAGE") != std::string::npos && equals != std::string::npos;
        FUZZ_CHECK_SAYING(parsed.has_value() == isCodePageLine, Escaped(line));
        if (parsed) {
            const std::size_t marker = line.find("_PAGE");
            FUZZ_CHECK(parsed->sectionName ==
                       (marker == std::string::npos ? "" : line.substr(0, marker)));
            FUZZ_CHECK_SAYING(parsed->codePage == Decimal(line.substr(equals + 1)),
                              Escaped(line) + " gave " + std::to_string(parsed->codePage));
            const std::string& name = parsed->sectionName;
            FUZZ_CHECK(orvo::IsOfferedLanguageSection(name) ==
                       (name == "LANGUAGE_EN" || name == "LANGUAGE_FR" || name == "LANGUAGE_SP"));
        }
        FUZZ_CHECK(orvo::ScanDecimal(line) == Decimal(line));
    }
    return 0;
}
