// The sample files shipped in data/: every text key in all three languages, language.ini in
// step with its editable source, and a start-up over them as a technician would see it.
#include "LanguageTexts.h"
#include "ProfileReader.h"
#include "TempFolder.h"
#include "TextCodec.h"
#include "TextKeys.h"
#include "TextLines.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

namespace orvo {
namespace {

using orvo::testing::ScopedCurrentDir;
using orvo::testing::TempFolder;

const std::filesystem::path kDataDir = ORVO_DATA_DIR;
const wchar_t* const kSections[] = {L"LANGUAGE_EN", L"LANGUAGE_FR", L"LANGUAGE_SP"};

std::vector<std::string> TextKeys() {
    std::vector<std::string> keys(std::begin(text::kCatalogue), std::end(text::kCatalogue));
    // The status keys of the upgrade-file items, F followed by the item in hexadecimal.
    for (int item = 2; item <= 0x33; ++item) {
        char key[8];
        std::snprintf(key, sizeof key, "F%x", item);
        keys.push_back(key);
    }
    return keys;
}

class SampleData : public ::testing::Test {
protected:
    SampleData() {
        for (const char* name : {"CONFIG.INI", "language.ini", "burn_sn.txt"}) {
            std::filesystem::copy_file(kDataDir / name, folder_.Path() / name);
        }
    }

    static std::wstring Read(const std::wstring& section, const std::string& key) {
        return ProfileReader().ReadProfileText(section, std::wstring(key.begin(), key.end()),
                                               L"language.ini");
    }

    TempFolder folder_;
    ScopedCurrentDir inFolder_{folder_.Path()};
};

TEST_F(SampleData, EveryKeyHasATextInEveryLanguage) {
    for (const wchar_t* section : kSections) {
        for (const std::string& key : TextKeys()) {
            std::wstring text = Read(section, key);
            EXPECT_FALSE(text.empty()) << key;
            EXPECT_LT(text.size(), 256u) << key;
        }
    }
    EXPECT_EQ(Read(L"LANGUAGE_EN", "LANGUAGE_FR"), L"Fran\u00E7ais");
}

TEST_F(SampleData, LanguageFileMatchesItsSource) {
    auto source = ReadTextLines((kDataDir / "language-source.ini").string());
    ASSERT_TRUE(source);
    std::wstring section;
    int compared = 0;
    for (const std::string& line : *source) {
        std::wstring text = DecodeText(line, kUtf8CodePage).value_or(L"?");
        if (text.empty() || text[0] == L';') {
            continue;
        }
        if (text[0] == L'[') {
            section = text.substr(1, text.find(L']') - 1);
            continue;
        }
        std::size_t equals = text.find(L'=');
        ASSERT_NE(equals, std::wstring::npos) << line;
        std::wstring key = text.substr(0, equals);
        EXPECT_EQ(ProfileReader().ReadProfileText(section, key, L"language.ini"),
                  text.substr(equals + 1))
            << line;
        ++compared;
    }
    EXPECT_GT(compared, 3 * 60);
}

TEST_F(SampleData, StartsInEnglishWithThreeLanguages) {
    LanguageTexts texts;
    ASSERT_EQ(texts.Load(), LanguageTexts::LoadResult::kLoaded);
    std::vector<std::wstring> names;
    for (const LanguageEntry& entry : texts.Languages()) {
        names.push_back(entry.displayName);
    }
    EXPECT_EQ(names, (std::vector<std::wstring>{L"English", L"Fran\u00E7ais", L"Espa\u00F1ol"}));
    EXPECT_EQ(texts.CurrentIndex(), 0);
    EXPECT_EQ(texts.GetLangText(text::kStartUpgradeCaption), L"Start Upgrade");
    ASSERT_EQ(texts.Select(1), LanguageTexts::Choice::kApplied);
    EXPECT_EQ(texts.GetLangText(text::kStartUpgradeCaption), L"Lancer la mise \u00E0 jour");
}

}  // namespace
}  // namespace orvo
