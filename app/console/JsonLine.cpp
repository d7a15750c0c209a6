#include "JsonLine.h"

#include <cstdio>

namespace orvo::console {

namespace {

// The length of the well-formed UTF-8 sequence at the start of `bytes`, or 0 when there is none
// (a stray byte, a sequence cut short, an overlong form, a surrogate, past U+10FFFF).
std::size_t Utf8SequenceLength(std::string_view bytes) {
    const auto lead = static_cast<unsigned char>(bytes[0]);
    const std::size_t length = lead < 0x80   ? 1
                               : lead < 0xC2 ? 0
                               : lead < 0xE0 ? 2
                               : lead < 0xF0 ? 3
                               : lead < 0xF5 ? 4
                                             : 0;
    if (length == 0 || bytes.size() < length) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((static_cast<unsigned char>(bytes[i]) & 0xC0) != 0x80) {
            return 0;
        }
    }
    const auto second = static_cast<unsigned char>(bytes.size() > 1 ? bytes[1] : 0);
    const bool overlongOrOutside =
        (lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0) ||
        (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second >= 0x90);
    return overlongOrOutside ? 0 : length;
}

void AppendEscaped(std::string& quoted, unsigned char c) {
    char escape[8];
    std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
    quoted += escape;
}

}  // namespace

// Bytes that are not UTF-8 (a device's, a path in another code page) come out as the code
// points of the same numbers, so that every line stays valid JSON.
std::string JsonQuoted(std::string_view utf8) {
    std::string quoted = "\"";
    for (std::size_t at = 0; at < utf8.size();) {
        const char c = utf8[at];
        switch (c) {
            case '"':
                quoted += "\\\"";
                break;
            case '\\':
                quoted += "\\\\";
                break;
            case '\n':
                quoted += "\\n";
                break;
            case '\r':
                quoted += "\\r";
                break;
            case '\t':
                quoted += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    AppendEscaped(quoted, static_cast<unsigned char>(c));
                } else if (const std::size_t length = Utf8SequenceLength(utf8.substr(at))) {
                    quoted.append(utf8.substr(at, length));
                    at += length;
                    continue;
                } else {
                    AppendEscaped(quoted, static_cast<unsigned char>(c));
                }
        }
        ++at;
    }
    return quoted + "\"";
}

JsonLine::JsonLine(std::string_view event) : text_("{\"event\":" + JsonQuoted(event)) {}

JsonLine& JsonLine::Name(std::string_view name) {
    text_ += "," + JsonQuoted(name) + ":";
    return *this;
}

JsonLine& JsonLine::Add(std::string_view name, std::string_view text) {
    Name(name).text_ += JsonQuoted(text);
    return *this;
}

JsonLine& JsonLine::Add(std::string_view name, long long number) {
    Name(name).text_ += std::to_string(number);
    return *this;
}

JsonLine& JsonLine::Add(std::string_view name, double number) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", number);
    Name(name).text_ += text;
    return *this;
}

JsonLine& JsonLine::Add(std::string_view name, bool value) {
    Name(name).text_ += value ? "true" : "false";
    return *this;
}

JsonLine& JsonLine::AddJson(std::string_view name, std::string_view json) {
    Name(name).text_ += json;
    return *this;
}

JsonLine& JsonLine::AddNull(std::string_view name) {
    Name(name).text_ += "null";
    return *this;
}

}  // namespace orvo::console
