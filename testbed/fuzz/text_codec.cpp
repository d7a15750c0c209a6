// The text codec in both directions for the code pages it knows, against plain facts of each:
// single-byte pages decode one character per byte and encode it back to the same byte, UTF-8
// comes back byte for byte exactly when it is well formed, and unknown pages fail.
//
// Input: a code-page selector byte, then bytes (decoded) that also give a wide text (encoded).
#include "FuzzCheck.h"
#include "TextCodec.h"

#include <array>

namespace {

using namespace orvo::fuzz;

constexpr std::array<int, 8> kCodePages = {0, 1252, 28591, 20127, 65001, 437, -1, 1200};

// Well-formed UTF-8, from its definition: shortest forms only, no surrogates, at most U+10FFFF.
bool IsWellFormedUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        int more = 0;
        char32_t cp = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if ((lead & 0xE0) == 0xC0) {
            more = 1;
            cp = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            more = 2;
            cp = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            more = 3;
            cp = lead & 0x07;
        } else {
            return false;
        }
        if (i + more >= bytes.size()) {
            return false;
        }
        for (int k = 1; k <= more; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80) {
                return false;
            }
            cp = cp << 6 | (next & 0x3F);
        }
        const char32_t smallest = more == 1 ? 0x80 : more == 2 ? 0x800 : 0x10000;
        if (cp < smallest || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            return false;
        }
        i += more + 1;
    }
    return true;
}

// A wide text from bytes: most bytes stand for themselves; 0xF8 to 0xFF take two more bytes
// for a character beyond Latin-1, in any plane.
std::wstring WideText(std::string_view bytes) {
    std::wstring text;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0xF8 || i + 2 >= bytes.size()) {
            text.push_back(static_cast<wchar_t>(b));
            continue;
        }
        const char32_t low = static_cast<unsigned char>(bytes[i + 1]) << 8 |
                             static_cast<unsigned char>(bytes[i + 2]);
        text.push_back(static_cast<wchar_t>(((b - 0xF8u) << 16) + low));
        i += 2;
    }
    return text;
}

bool IsCodePoint(wchar_t c) {
    return static_cast<char32_t>(c) <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const int codePage = kCodePages[input.Byte() % kCodePages.size()];
    const std::string bytes = input.Rest();
    const auto decoded = orvo::DecodeText(bytes, codePage);
    const std::wstring text = WideText(bytes);
    const auto encoded = orvo::EncodeText(text, codePage);

    const bool known = codePage == 0 || codePage == 1252 || codePage == 28591 ||
                       codePage == 20127 || codePage == 65001;
    FUZZ_CHECK(decoded.has_value() == known);
    FUZZ_CHECK(encoded.has_value() == known);
    if (!known) {
        FUZZ_CHECK(orvo::ToNarrow(text, codePage).empty());
        return 0;
    }

    if (codePage == 65001) {
        const std::string again = *orvo::EncodeText(*decoded, codePage);
        FUZZ_CHECK_SAYING((again == bytes) == IsWellFormedUtf8(bytes),
                          "bytes " + Escaped(bytes) + " came back as " + Escaped(again));
        // Every character survives the trip through UTF-8; a non-character becomes U+FFFD.
        const auto back = orvo::DecodeText(*encoded, codePage);
        FUZZ_CHECK(back && back->size() == text.size());
        for (std::size_t i = 0; i < text.size(); ++i) {
            FUZZ_CHECK((*back)[i] == (IsCodePoint(text[i]) ? text[i] : L'\xFFFD'));
        }
    } else {
        FUZZ_CHECK(decoded->size() == bytes.size());
        FUZZ_CHECK(encoded->size() == text.size());
        const std::string again = *orvo::EncodeText(*decoded, codePage);
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            const auto b = static_cast<unsigned char>(bytes[i]);
            if (codePage == 28591) {
                FUZZ_CHECK(static_cast<unsigned char>((*decoded)[i]) == b && (*decoded)[i] == b);
            }
            // US-ASCII reads a byte without its high bit.
            const unsigned expected = codePage == 20127 ? (b & 0x7Fu) : b;
            FUZZ_CHECK_SAYING(
                static_cast<unsigned char>(again[i]) == expected,
                "byte " + std::to_string(b) + " in code page " + std::to_string(codePage));
        }
        // A character below 0x80 is itself in every page; anything a page cannot hold is '?'.
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] < 0x80) {
                FUZZ_CHECK((*encoded)[i] == static_cast<char>(text[i]));
            } else if (codePage == 20127 || text[i] > 0x2122) {
                FUZZ_CHECK((*encoded)[i] == '?');
            }
        }
    }

    const std::string narrow = orvo::ToNarrow(text, codePage);
    FUZZ_CHECK(narrow.size() < 256 && narrow.size() <= 2 * text.size());
    FUZZ_CHECK(narrow.empty() || narrow == *encoded);
    if (encoded->size() < 256 && encoded->size() <= 2 * text.size()) {
        FUZZ_CHECK(narrow == *encoded);
    }
    FUZZ_CHECK(orvo::FromAnsi(bytes) == *orvo::DecodeText(bytes, 1252));
    return 0;
}
