#pragma once
// Code points in and out of wide texts, whichever width wchar_t has: UTF-16 where it is 16 bits
// (Windows), UTF-32 where it is 32 bits. A lone surrogate reads as U+FFFD.
#include <string>
#include <string_view>

namespace orvo::widechars {

inline constexpr char32_t kReplacement = 0xFFFD;

inline void AppendCodePoint(std::wstring& out, char32_t cp) {
    if constexpr (sizeof(wchar_t) == 2) {
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<wchar_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<wchar_t>(0xDC00 + (cp & 0x3FF)));
            return;
        }
    }
    out.push_back(static_cast<wchar_t>(cp));
}

// Calls visit(codePoint) for each character of the text.
template <typename Visit>
void ForEachCodePoint(std::wstring_view text, Visit visit) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t unit = static_cast<char32_t>(text[i]);
        if constexpr (sizeof(wchar_t) == 2) {
            unit &= 0xFFFF;
            if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < text.size()) {
                char32_t low = static_cast<char32_t>(text[i + 1]) & 0xFFFF;
                if (low >= 0xDC00 && low < 0xE000) {
                    visit(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                    ++i;
                    continue;
                }
            }
        }
        bool surrogate = unit >= 0xD800 && unit < 0xE000;
        visit(surrogate || unit > 0x10FFFF ? kReplacement : unit);
    }
}

}  // namespace orvo::widechars
