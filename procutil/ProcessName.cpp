#include "ProcessName.h"

namespace orvo::procutil {

namespace {

// Not toupper: its answer for bytes above 0x7F depends on the locale.
char FoldAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

bool ProcessNamesMatch(const char* wanted, std::string_view reported) {
    if (wanted == nullptr) {
        return false;
    }
    for (char c : reported) {
        if (*wanted == '\0' || FoldAsciiLetter(*wanted) != FoldAsciiLetter(c)) {
            return false;
        }
        ++wanted;
    }
    return *wanted == '\0';
}

}  // namespace orvo::procutil
