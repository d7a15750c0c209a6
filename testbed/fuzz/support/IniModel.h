#pragma once
// The INI document's text model written out plainly, line by line, as the reference the fuzz
// targets hold IniDocument to: what a lookup gives and what an update makes of the bytes.
#include <string>
#include <string_view>

namespace orvo::fuzz::ini {

// The value of `key` in `section`, or empty when either is missing.
std::string Lookup(const std::string& bytes, std::string_view section, std::string_view key);

struct Update {
    bool accepted = false;  // what SetString returns when the save (if any) succeeds
    bool saves = false;     // an existing value was replaced: the file is written
    std::string bytes;      // the document's bytes afterwards
};

Update Set(const std::string& bytes, std::string_view section, std::string_view key,
           std::string_view value);

// The part of `value` that a lookup reads back: up to the first byte that ends a value.
std::string_view ReadBack(std::string_view value);

}  // namespace orvo::fuzz::ini
