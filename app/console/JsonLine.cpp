#include "JsonLine.h"

#include <cstdio>

namespace orvo::console {

std::string JsonQuoted(std::string_view utf8) {
    std::string quoted = "\"";
    for (const char c : utf8) {
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
                    char escape[8];
                    std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
                    quoted += escape;
                } else {
                    quoted += c;
                }
        }
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
