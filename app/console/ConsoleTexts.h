#pragma once
// The texts orvo's messages show: language.ini's texts of the keys the window shows, in the
// language asked for or the one CONFIG.INI stores; English texts built in stand in for a
// missing file, section or key, so that no message is ever empty.
#include "LanguageTexts.h"

#include <string>
#include <string_view>

namespace orvo::console {

class ConsoleTexts {
public:
    // `lang` is EN, FR or SP, or empty for the stored language. Returns a note for the user
    // when the texts asked for cannot be had (English then); empty when all is well.
    std::string Load(const std::string& lang);

    std::wstring Text(std::string_view key) const;

private:
    LanguageTexts languages_;
    bool loaded_ = false;
};

// The English text of `key` as the program carries it, from the texts' source file.
std::wstring BuiltInEnglishText(std::string_view key);

}  // namespace orvo::console
