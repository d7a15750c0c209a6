#pragma once
// Test files for the language operations: CONFIG.INI as ANSI text, language.ini as the tool
// ships it (UTF-16LE with a byte-order mark).
#include "WideChars.h"

#include <string>
#include <string_view>

namespace orvo::testing {

inline std::string Utf16LeWithBom(std::wstring_view text) {
    std::string bytes = "\xFF\xFE";
    auto put = [&](char32_t unit) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    };
    widechars::ForEachCodePoint(text, [&](char32_t cp) {
        if (cp >= 0x10000) {
            put(0xD800 + ((cp - 0x10000) >> 10));
            put(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            put(cp);
        }
    });
    return bytes;
}

}  // namespace orvo::testing
