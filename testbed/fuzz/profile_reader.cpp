// The portable profile reader (language.ini) against the reading rules written out plainly,
// on one text stored four ways: UTF-8 and UTF-16 of both byte orders with their signatures,
// and, when every character allows it, as ANSI bytes without one. All must read alike.
//
// Input: section NUL key NUL text; bytes 0xF8 to 0xFF take two more for a character beyond
// Latin-1, so the text can hold any plane.
#include "FuzzCheck.h"
#include "ProfileReader.h"

#include <optional>
#include <vector>

namespace {

using namespace orvo::fuzz;

std::wstring WideText(std::string_view bytes) {
    std::wstring text;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0xF8 || i + 2 >= bytes.size()) {
            text.push_back(static_cast<wchar_t>(b));
            continue;
        }
        char32_t cp = ((b - 0xF8u) << 16) + (static_cast<unsigned char>(bytes[i + 1]) << 8 |
                                             static_cast<unsigned char>(bytes[i + 2]));
        if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp += 0x800;  // a surrogate is no character to store
        }
        text.push_back(static_cast<wchar_t>(cp));
        i += 2;
    }
    return text;
}

std::string Utf8(std::wstring_view text) {
    std::string out = "\xEF\xBB\xBF";
    for (wchar_t c : text) {
        const auto cp = static_cast<char32_t>(c);
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | cp >> 6);
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | cp >> 12);
            out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | cp >> 18);
            out += static_cast<char>(0x80 | (cp >> 12 & 0x3F));
            out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

std::string Utf16(std::wstring_view text, bool bigEndian) {
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    auto unit = [&](unsigned u) {
        const char high = static_cast<char>(u >> 8);
        const char low = static_cast<char>(u & 0xFF);
        out += bigEndian ? high : low;
        out += bigEndian ? low : high;
    };
    for (wchar_t c : text) {
        const auto cp = static_cast<char32_t>(c);
        if (cp >= 0x10000) {
            unit(0xD800 + ((cp - 0x10000) >> 10));
            unit(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            unit(cp);
        }
    }
    return out;
}

// ANSI bytes of the text where each character is one byte of code page 1252 standing for
// itself (ASCII and 0xA0 to 0xFF), else nothing.
std::optional<std::string> Ansi(std::wstring_view text) {
    std::string out;
    for (wchar_t c : text) {
        if (c >= 0x100 || (c >= 0x80 && c < 0xA0)) {
            return std::nullopt;
        }
        out += static_cast<char>(c);
    }
    // Bytes that would read as a signature mean another encoding.
    if (out.rfind("\xEF\xBB\xBF", 0) == 0 || out.rfind("\xFF\xFE", 0) == 0 ||
        out.rfind("\xFE\xFF", 0) == 0) {
        return std::nullopt;
    }
    return out;
}

// --- The reading rules, one by one ---------------------------------------------------------

bool IsBlank(wchar_t c) {
    return c == ' ' || (c >= 0x09 && c <= 0x0D) || c == 0x1A;
}

std::wstring_view Trimmed(std::wstring_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

// Names and values are C strings to the platform: they end at a NUL.
std::wstring_view CString(std::wstring_view s) {
    return s.substr(0, s.find(L'\0'));
}

bool SameName(std::wstring_view a, std::wstring_view b) {
    auto lower = [](wchar_t c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; };
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

struct Section {
    std::wstring_view name;
    std::vector<std::wstring_view> lines;
};

std::wstring Expected(std::wstring_view text, std::wstring_view section, std::wstring_view key) {
    std::vector<Section> sections{{L"", {}}};  // lines before the first header
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find_first_of(L"\r\n", start);
        if (end == std::wstring_view::npos)
            end = text.size();
        std::wstring_view line = Trimmed(text.substr(start, end - start));
        start = end + 1;
        if (line.empty())
            continue;
        const std::size_t close = line.rfind(L']');
        if (line.front() == L'[' && close != std::wstring_view::npos) {
            sections.push_back({CString(Trimmed(line.substr(1, close - 1))), {}});
        } else {
            sections.back().lines.push_back(line);
        }
    }
    section = Trimmed(CString(section));
    key = Trimmed(CString(key));
    for (const Section& s : sections) {
        if (!SameName(s.name, section))
            continue;
        // Only the first section of that name is searched.
        for (std::wstring_view line : s.lines) {
            const std::size_t equals = line.find(L'=');
            std::wstring_view name = line.substr(0, equals);
            while (!name.empty() && IsBlank(name.back())) name.remove_suffix(1);
            if (!SameName(CString(name), key))
                continue;
            if (equals == std::wstring_view::npos)
                return {};
            std::wstring_view value = line.substr(equals + 1);
            while (!value.empty() && IsBlank(value.front())) value.remove_prefix(1);
            value = CString(value);
            const bool quoted = value.size() >= 2 &&
                                (value.front() == L'"' || value.front() == L'\'') &&
                                value.back() == value.front();
            if (!quoted)
                return std::wstring(value.substr(0, 255));
            // Quoted: what stays after the opening quote, cut to the buffer, less its last
            // character when it ended inside the buffer (the closing quote, or one character
            // more when it filled the buffer exactly).
            std::wstring_view inner = value.substr(1);
            std::wstring result(inner.substr(0, 255));
            if (inner.size() <= 256)
                result.pop_back();
            return result;
        }
        return {};
    }
    return {};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const std::wstring section = WideText(input.Field());
    const std::wstring key = WideText(input.Field());
    const std::wstring text = WideText(input.Rest());
    const std::wstring expected = Expected(text, section, key);

    std::vector<std::string> files = {Utf8(text), Utf16(text, false), Utf16(text, true)};
    if (auto ansi = Ansi(text))
        files.push_back(*ansi);
    for (const std::string& file : files) {
        const std::wstring got = orvo::ParseProfileValue(file, section, key);
        FUZZ_CHECK_SAYING(got == expected, "file " + Escaped(file) + "\ngot " + Escaped(got) +
                                               "\nexpected " + Escaped(expected));
    }
    return 0;
}
