#include "ConsoleTexts.h"

#include "ProfileReader.h"
#include "SettingsFiles.h"

namespace orvo::console {

// The texts' source file (UTF-8), built into the program.
extern const char kBuiltInLanguageSource[];

std::wstring BuiltInEnglishText(std::string_view key) {
    return ParseProfileValue(kBuiltInLanguageSource, L"LANGUAGE_EN",
                             std::wstring(key.begin(), key.end()));
}

std::string ConsoleTexts::Load(const std::string& lang) {
    const LanguageTexts::LoadResult result = languages_.Load();
    if (result != LanguageTexts::LoadResult::kLoaded) {
        return lang.empty() || lang == "EN"
                   ? std::string()
                   : "no language texts (" + settings::TextsFile() + " or " +
                         settings::ConfigFile() + " missing): messages in English";
    }
    loaded_ = true;
    if (!lang.empty() &&
        !languages_.UseForThisRun(L"LANGUAGE_" + std::wstring(lang.begin(), lang.end()))) {
        loaded_ = false;
        return "language " + lang + " is not offered by " + settings::ConfigFile() + " and " +
               settings::TextsFile() + ": messages in English";
    }
    return {};
}

std::wstring ConsoleTexts::Text(std::string_view key) const {
    std::wstring text = loaded_ ? languages_.GetLangText(key) : std::wstring();
    return text.empty() ? BuiltInEnglishText(key) : text;
}

}  // namespace orvo::console
