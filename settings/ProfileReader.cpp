#include "ProfileReader.h"

#include "DurableFile.h"
#include "TextCodec.h"
#include "WideChars.h"

namespace orvo {

namespace {

bool IsProfileSpace(wchar_t c) {
    return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == 0x20;  // ^Z: DOS end of file
}

std::wstring_view Trim(std::wstring_view text) {
    while (!text.empty() && IsProfileSpace(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsProfileSpace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::wstring_view UpToNul(std::wstring_view text) {
    return text.substr(0, text.find(L'\0'));
}

wchar_t FoldCase(wchar_t c) {
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + (L'a' - L'A')) : c;
}

bool SameName(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldCase(a[i]) != FoldCase(b[i])) {
            return false;
        }
    }
    return true;
}

std::wstring DecodeUtf16(std::string_view bytes, bool bigEndian) {
    std::wstring units;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        auto first = static_cast<unsigned char>(bytes[i]);
        auto second = static_cast<unsigned char>(bytes[i + 1]);
        units.push_back(
            static_cast<wchar_t>(bigEndian ? (first << 8) | second : (second << 8) | first));
    }
    if constexpr (sizeof(wchar_t) == 2) {
        return units;
    }
    std::wstring text;
    // Pairs of surrogates become one character where wchar_t holds any code point.
    for (std::size_t i = 0; i < units.size(); ++i) {
        char32_t unit = static_cast<char32_t>(units[i]);
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] < 0xE000) {
            unit = 0x10000 + ((unit - 0xD800) << 10) + (static_cast<char32_t>(units[++i]) - 0xDC00);
        } else if (unit >= 0xD800 && unit < 0xE000) {
            unit = widechars::kReplacement;
        }
        widechars::AppendCodePoint(text, unit);
    }
    return text;
}

std::wstring DecodeProfileFile(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        return DecodeText(bytes.substr(3), kUtf8CodePage).value_or(std::wstring());
    }
    if (bytes.substr(0, 2) == "\xFF\xFE") {
        return DecodeUtf16(bytes.substr(2), false);
    }
    if (bytes.substr(0, 2) == "\xFE\xFF") {
        return DecodeUtf16(bytes.substr(2), true);
    }
    return FromAnsi(bytes);
}

// Matching quotes around a value are dropped. A value whose rest after the opening quote has
// exactly the capacity loses its last character as well as the quote, as the platform's does.
std::wstring CopyValue(std::wstring_view value) {
    value = UpToNul(value);
    bool quoted = value.size() >= 2 && (value.front() == L'\'' || value.front() == L'"') &&
                  value.back() == value.front();
    if (quoted) {
        value.remove_prefix(1);
    }
    std::wstring result(value.substr(0, ProfileReader::kResultCapacity - 1));
    if (quoted && ProfileReader::kResultCapacity >= value.size()) {
        result.pop_back();
    }
    return result;
}

}  // namespace

std::wstring ParseProfileValue(std::string_view fileBytes, std::wstring_view section,
                               std::wstring_view key) {
    section = Trim(UpToNul(section));
    key = Trim(UpToNul(key));

    std::wstring text = DecodeProfileFile(fileBytes);
    std::wstring_view rest(text);
    // Lines before the first header form a section without a name.
    bool inSection = section.empty();
    while (!rest.empty()) {
        std::size_t end = rest.find_first_of(L"\r\n");
        std::wstring_view line = Trim(rest.substr(0, end));
        std::size_t next = rest.find_first_not_of(L"\r\n", end);
        rest = next == std::wstring_view::npos ? std::wstring_view() : rest.substr(next);
        if (line.empty()) {
            continue;
        }
        std::size_t close = line.rfind(L']');
        if (line.front() == L'[' && close != std::wstring_view::npos && close > 0) {
            if (inSection) {
                return {};  // only the first matching section is searched
            }
            inSection = SameName(UpToNul(Trim(line.substr(1, close - 1))), section);
            continue;
        }
        if (!inSection) {
            continue;
        }
        std::size_t equals = line.find(L'=');
        std::wstring_view name = line.substr(0, equals);
        while (!name.empty() && IsProfileSpace(name.back())) {
            name.remove_suffix(1);
        }
        if (SameName(UpToNul(name), key)) {
            if (equals == std::wstring_view::npos) {
                return {};
            }
            std::wstring_view value = line.substr(equals + 1);
            while (!value.empty() && IsProfileSpace(value.front())) {
                value.remove_prefix(1);
            }
            return CopyValue(value);
        }
    }
    return {};
}

std::wstring ReadProfileFileValue(const std::string& path, std::wstring_view section,
                                  std::wstring_view key) {
    auto bytes = ReadWholeFile(path);
    return bytes ? ParseProfileValue(*bytes, section, key) : std::wstring();
}

}  // namespace orvo
