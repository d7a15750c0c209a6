// The number file and the history file: the number proposed after any number file, the next
// number after any text, and a record appended to any history file, which must keep every old
// byte, add exactly one record (none when the number stands on a line already) and then count
// as present.
//
// Input: the number NUL the file's bytes (used as number file and as history file).
#include "FuzzCheck.h"
#include "HistoryFile.h"
#include "SerialNumber.h"
#include "TextLines.h"

#include <algorithm>
#include <climits>
#include <cstdio>

namespace {

using namespace orvo::fuzz;

std::vector<std::string> Lines(std::string_view bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        const bool ended = end != std::string_view::npos;
        if (!ended)
            end = bytes.size();
        std::string line(bytes.substr(start, end - start));
        if (ended && !line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

// Prefix kept, the 7 characters after it read as %d reads them, plus one, at least 7 digits.
std::string Next(const std::string& number) {
    if (number.size() != 12)
        return {};
    const std::string counter = number.substr(5);
    long long value = 0;
    std::size_t i = counter.find_first_not_of(" \t\n\v\f\r");
    bool negative = false;
    if (i != std::string::npos && (counter[i] == '+' || counter[i] == '-')) {
        negative = counter[i] == '-';
        ++i;
    }
    for (; i < counter.size() && counter[i] >= '0' && counter[i] <= '9'; ++i) {
        value = value * 10 + (counter[i] - '0');
    }
    value = (negative ? -value : value) + 1;
    char digits[32];
    std::snprintf(digits, sizeof digits, "%07lld", value);
    return number.substr(0, 5) + digits;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const std::string number = input.Field();
    const std::string file = input.Rest();
    const std::vector<std::string> lines = Lines(file);

    // The proposal follows the last line of exactly 12 characters.
    const auto last = std::find_if(lines.rbegin(), lines.rend(),
                                   [](const std::string& line) { return line.size() == 12; });
    const std::string proposal = orvo::ProposeSerialNumber(orvo::SplitTextLines(file));
    FUZZ_CHECK_SAYING(proposal == (last == lines.rend() ? "961990000100" : Next(*last)),
                      "proposed " + Escaped(proposal));
    FUZZ_CHECK(orvo::NextSerialNumber(number) == Next(number));
    FUZZ_CHECK(
        orvo::IsValidSerialNumber(number) ==
        (number.size() == 12 && number.find_first_not_of("0123456789") == std::string::npos));

    WriteFile("history.txt", file);
    const std::string path = (ScratchFolder() / "history.txt").string();
    const bool present = std::find(lines.begin(), lines.end(), number) != lines.end();
    const orvo::HistoryResult result = orvo::RecordSerialNumber(path, number);
    const std::string after = ReadFile("history.txt");
    if (present) {
        FUZZ_CHECK(result == orvo::HistoryResult::kAlreadyPresent);
        FUZZ_CHECK(after == file);
        return 0;
    }
    FUZZ_CHECK(result == orvo::HistoryResult::kRecorded);
    const std::string separator = !file.empty() && file.back() != '\n' ? "\r\n" : "";
    FUZZ_CHECK_SAYING(after == file + separator + number + "\r\n", "history " + Escaped(after));
    // A number without a line feed is one line, found the next time.
    if (number.find('\n') == std::string::npos) {
        FUZZ_CHECK(orvo::RecordSerialNumber(path, number) == orvo::HistoryResult::kAlreadyPresent);
        FUZZ_CHECK(ReadFile("history.txt") == after);
    }
    return 0;
}
