#include "SerialNumber.h"

#include "CodePageLine.h"

#include <algorithm>
#include <cstdio>

namespace orvo {

namespace {

bool HasTwelveCharacters(const std::string& line) {
    return line.size() == static_cast<std::size_t>(kSerialLength);
}

// Later in numbering order: a longer text is a counter past its end.
bool IsLater(const std::string& a, const std::string& b) {
    return a.size() != b.size() ? a.size() > b.size() : a > b;
}

template <typename Char>
bool IsTwelveDigits(std::basic_string_view<Char> text) {
    return text.size() == static_cast<std::size_t>(kSerialLength) &&
           std::all_of(text.begin(), text.end(), [](Char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

bool IsValidSerialNumber(std::string_view text) {
    return IsTwelveDigits(text);
}
bool IsValidSerialNumber(std::wstring_view text) {
    return IsTwelveDigits(text);
}

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
        auto last =
            std::find_if(numberFileLines->rbegin(), numberFileLines->rend(), HasTwelveCharacters);
        if (last != numberFileLines->rend()) {
            return NextSerialNumber(*last);
        }
    }
    return kDefaultSerialNumber;
}

std::string ProposeSerialNumber(const std::optional<std::vector<std::string>>& numberFileLines,
                                const std::vector<std::string>& historyLines,
                                const std::function<bool(const std::string&)>& given) {
    std::string proposal = ProposeSerialNumber(numberFileLines);
    auto last = std::find_if(historyLines.rbegin(), historyLines.rend(), HasTwelveCharacters);
    if (last != historyLines.rend() && IsLater(NextSerialNumber(*last), proposal)) {
        proposal = NextSerialNumber(*last);
    }
    while (HasTwelveCharacters(proposal) && given(proposal)) {
        proposal = NextSerialNumber(proposal);
    }
    return proposal;
}

}  // namespace orvo
