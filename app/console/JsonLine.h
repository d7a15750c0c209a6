#pragma once
// One JSON object on one line, built member by member: what --json prints for each event.
// Texts are UTF-8 and come out escaped as JSON requires.
#include <string>
#include <string_view>

namespace orvo::console {

class JsonLine {
public:
    explicit JsonLine(std::string_view event);

    JsonLine& Add(std::string_view name, std::string_view text);
    JsonLine& Add(std::string_view name, const char* text) {
        return Add(name, std::string_view(text));
    }
    JsonLine& Add(std::string_view name, long long number);
    JsonLine& Add(std::string_view name, double number);  // three decimals
    JsonLine& Add(std::string_view name, bool value);
    JsonLine& AddNull(std::string_view name);
    // A value already in JSON, such as an object of counts.
    JsonLine& AddJson(std::string_view name, std::string_view json);

    // The object, closed, without a line end.
    std::string Text() const { return text_ + "}"; }

private:
    JsonLine& Name(std::string_view name);

    std::string text_;
};

std::string JsonQuoted(std::string_view utf8);

}  // namespace orvo::console
