#include "SerialNumber.h"

#include "CodePageLine.h"

#include <algorithm>
#include <cstdio>

namespace orvo {

namespace {

template <typename Char>
bool IsTwelveDigits(std::basic_string_view<Char> text) {
    return text.size() == static_cast<std::size_t>(kSerialLength) &&
           std::all_of(text.begin(), text.end(), [](Char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

bool IsValidSerialNumber(std::string_view text) { return IsTwelveDigits(text); }
bool IsValidSerialNumber(std::wstring_view text) { return IsTwelveDigits(text); }

std::string NextSerialNumber(std::string_view text) {
    if (text.size() != static_cast<std::size_t>(kSerialLength)) {
        return {};
    }
    // Seven characters can hold at most 9999999, so the sum cannot overflow.
    long long counter = static_cast<long long>(ScanDecimal(text.substr(kSerialPrefixLength))) + 1;
    char digits[24];
    std::snprintf(digits, sizeof digits, "%07lld", counter);
    return std::string(text.substr(0, kSerialPrefixLength)) + digits;
}

std::string ProposeSerialNumber(const std::optional<std::vector<std::string>>& numberFileLines) {
    if (numberFileLines) {
        auto last = std::find_if(numberFileLines->rbegin(), numberFileLines->rend(),
                                 [](const std::string& line) { return line.size() == static_cast<std::size_t>(kSerialLength); });
        if (last != numberFileLines->rend()) {
            return NextSerialNumber(*last);
        }
    }
    return kDefaultSerialNumber;
}

}  // namespace orvo
