// Language set-up from any CONFIG.INI and language.ini, then a language change: the list holds
// exactly the code-page lines of the three languages (in a known code page), the stored
// language is selected, every caption comes from the current language's section, and the
// change rewrites nothing in CONFIG.INI but the stored language's value.
//
// Input: a flag byte (bits 0-5 choose the list entry, bit 6: CONFIG.INI missing, bit 7:
// language.ini missing), CONFIG.INI NUL language.ini.
#include "DialogControls.h"
#include "FakeDialogControls.h"
#include "FuzzCheck.h"
#include "IniModel.h"
#include "LanguageTexts.h"
#include "LanguageView.h"
#include "ProfileReader.h"
#include "TextCodec.h"

#include <utility>

namespace {

using namespace orvo::fuzz;
namespace control = orvo::control;

struct Language {
    std::string section;
    int codePage;
};

std::vector<Language> ExpectedLanguages(const std::string& config) {
    std::vector<Language> languages;
    std::size_t start = 0;
    while (start < config.size() && languages.size() < 256) {
        std::size_t end = config.find('\n', start);
        if (end == std::string::npos)
            end = config.size();
        std::string line = config.substr(start, end - start);
        start = end + 1;
        if (end < config.size() && !line.empty() && line.back() == '\r')
            line.pop_back();
        const std::size_t equals = line.find('=');
        if (line.find("PAGE") == std::string::npos || equals == std::string::npos)
            continue;
        const std::string section = line.substr(0, line.find("_PAGE"));
        if (section != "LANGUAGE_EN" && section != "LANGUAGE_FR" && section != "LANGUAGE_SP") {
            continue;
        }
        // Only a code page the codec knows carries the name through unchanged.
        const long long page = std::strtoll(line.c_str() + equals + 1, nullptr, 10);
        if (page == 0 || page == 1252 || page == 28591 || page == 20127 || page == 65001) {
            languages.push_back({section, static_cast<int>(page)});
        }
    }
    return languages;
}

std::wstring Wide(const std::string& ascii) {
    return std::wstring(ascii.begin(), ascii.end());
}

// Captions and the keys they come from.
constexpr std::pair<int, const wchar_t*> kCaptions[] = {
    {control::kLanguageLabel, L"C2"}, {control::kStartUpgrade, L"C5"}, {control::kExit, L"C9"},
    {control::kWriteSn, L"C0"},       {control::kExitCaption, L"C9"},
};

void CheckCaptions(const orvo::testing::FakeDialogControls& controls, const std::string& texts,
                   const std::vector<Language>& languages, int current) {
    for (const auto& [id, key] : kCaptions) {
        const std::wstring expected =
            current < 0 ? std::wstring()
                        : orvo::ParseProfileValue(texts, Wide(languages[current].section), key);
        FUZZ_CHECK_SAYING(
            controls.GetText(id) == expected,
            "caption " + Escaped(controls.GetText(id)) + ", expected " + Escaped(expected));
        FUZZ_CHECK(expected.size() < 256);
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    EnterScratchFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const std::uint8_t flags = input.Byte();
    const std::string config = input.Field();
    const std::string texts = input.Rest();
    RemoveFile("CONFIG.INI");
    RemoveFile("language.ini");
    if (!(flags & 0x40))
        WriteFile("CONFIG.INI", config);
    if (!(flags & 0x80))
        WriteFile("language.ini", texts);

    orvo::testing::FakeDialogControls controls;
    orvo::LanguageTexts languageData;
    orvo::LanguageView language(languageData, controls);
    const bool loaded = language.LoadLanguages();
    FUZZ_CHECK(loaded == !(flags & 0xC0));
    if (!loaded) {
        FUZZ_CHECK(languageData.Languages().empty() && languageData.CurrentIndex() == -1);
        FUZZ_CHECK(controls.Messages().size() == 1);
        return 0;
    }

    const std::vector<Language> expected = ExpectedLanguages(config);
    const auto& languages = languageData.Languages();
    FUZZ_CHECK_SAYING(languages.size() == expected.size(), std::to_string(languages.size()) +
                                                               " languages, expected " +
                                                               std::to_string(expected.size()));
    const auto items = controls.State(control::kLanguageList).items;
    FUZZ_CHECK(items.size() == expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        FUZZ_CHECK(languages[i].sectionName == Wide(expected[i].section));
        FUZZ_CHECK(languages[i].codePage == expected[i].codePage);
        FUZZ_CHECK(items[i] ==
                   orvo::ParseProfileValue(texts, L"LANGUAGE_EN", Wide(expected[i].section)));
    }

    // The stored language is selected, else the first; with none listed, nothing is.
    const std::string stored = ini::Lookup(config, "SETTING", "LANGUAGE");
    int chosen = expected.empty() ? -1 : 0;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        if (expected[i].section == stored) {
            chosen = static_cast<int>(i);
            break;
        }
    }
    FUZZ_CHECK(languageData.CurrentIndex() == chosen);
    language.ApplyTexts();
    CheckCaptions(controls, texts, expected, chosen);

    // A change of language while the status line shows the result of an upgrade.
    const int pick = (flags & 0x3F) % (static_cast<int>(expected.size()) + 2) - 1;
    controls.SetListSelection(control::kLanguageList, pick);
    language.SetStatusTextMode(1);
    language.SetStatusKey("T2");
    language.OnSelChangeLanguage();
    const bool valid = pick >= 0 && pick < static_cast<int>(expected.size());
    const int current = valid ? pick : chosen;
    FUZZ_CHECK(languageData.CurrentIndex() == current);
    CheckCaptions(controls, texts, expected, current);
    FUZZ_CHECK(controls.GetText(control::kProgress) ==
               (current < 0
                    ? std::wstring()
                    : orvo::ParseProfileValue(texts, Wide(expected[current].section), L"T2")));
    std::string after = config;
    if (valid) {
        const ini::Update update = ini::Set(config, "SETTING", "LANGUAGE", expected[pick].section);
        if (update.saves)
            after = update.bytes;
    }
    FUZZ_CHECK_SAYING(ReadFile("CONFIG.INI") == after,
                      "CONFIG.INI " + Escaped(ReadFile("CONFIG.INI")));
    return 0;
}
