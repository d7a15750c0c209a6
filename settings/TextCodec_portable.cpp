#include "TextCodec.h"

#include "WideChars.h"

#include <array>

namespace orvo {

namespace {

using widechars::AppendCodePoint;
using widechars::ForEachCodePoint;
using widechars::kReplacement;

constexpr int kWesternEuropean = 1252;
constexpr int kLatin1 = 28591;
constexpr int kUsAscii = 20127;

// 0x80..0x9F of code page 1252; the five unassigned bytes map to the same C1 control, as on
// Windows.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t DecodeSingleByte(unsigned char byte, int codePage) {
    if (byte < 0x80) {
        return byte;
    }
    if (codePage == kUsAscii) {
        return byte & 0x7F;  // Windows drops the high bit in this code page
    }
    if (codePage == kWesternEuropean && byte < 0xA0) {
        return kCp1252High[byte - 0x80];
    }
    return byte;
}

char EncodeSingleByte(char32_t cp, int codePage) {
    if (cp < 0x80) {
        return static_cast<char>(cp);
    }
    if (codePage == kWesternEuropean) {
        for (std::size_t i = 0; i < kCp1252High.size(); ++i) {
            if (kCp1252High[i] == cp) {
                return static_cast<char>(0x80 + i);
            }
        }
        if (cp >= 0xA0 && cp <= 0xFF) {
            return static_cast<char>(cp);
        }
    } else if (codePage == kLatin1 && cp <= 0xFF) {
        return static_cast<char>(cp);
    }
    return '?';
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// One character starting at bytes[i]; advances i past it. Malformed input yields U+FFFD and
// consumes one byte.
char32_t NextUtf8(std::string_view bytes, std::size_t& i) {
    unsigned char lead = static_cast<unsigned char>(bytes[i++]);
    if (lead < 0x80) {
        return lead;
    }
    int more = lead >= 0xF0 && lead <= 0xF4 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 ? 1 : -1;
    if (lead > 0xF4 || more < 0 || i + static_cast<std::size_t>(more) > bytes.size()) {
        return kReplacement;
    }
    char32_t cp = lead & (0x3F >> more);
    for (int k = 0; k < more; ++k) {
        unsigned char next = static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(k)]);
        if ((next & 0xC0) != 0x80) {
            return kReplacement;
        }
        cp = (cp << 6) | (next & 0x3F);
    }
    constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kSmallest[more] || cp > 0x10FFFF || (cp >= 0xD800 && cp < 0xE000)) {
        return kReplacement;
    }
    i += static_cast<std::size_t>(more);
    return cp;
}

bool IsKnown(int codePage) {
    return codePage == kAnsiCodePage || codePage == kWesternEuropean || codePage == kLatin1 ||
           codePage == kUsAscii || codePage == kUtf8CodePage;
}

int Resolve(int codePage) {
    return codePage == kAnsiCodePage ? kWesternEuropean : codePage;
}

}  // namespace

std::optional<std::string> EncodeText(std::wstring_view text, int codePage) {
    if (!IsKnown(codePage)) {
        return std::nullopt;
    }
    codePage = Resolve(codePage);
    std::string out;
    ForEachCodePoint(text, [&](char32_t cp) {
        if (codePage == kUtf8CodePage) {
            AppendUtf8(out, cp);
        } else {
            out.push_back(EncodeSingleByte(cp, codePage));
        }
    });
    return out;
}

std::optional<std::wstring> DecodeText(std::string_view bytes, int codePage) {
    if (!IsKnown(codePage)) {
        return std::nullopt;
    }
    codePage = Resolve(codePage);
    std::wstring out;
    for (std::size_t i = 0; i < bytes.size();) {
        if (codePage == kUtf8CodePage) {
            AppendCodePoint(out, NextUtf8(bytes, i));
        } else {
            AppendCodePoint(out,
                            DecodeSingleByte(static_cast<unsigned char>(bytes[i++]), codePage));
        }
    }
    return out;
}

}  // namespace orvo
