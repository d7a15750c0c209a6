#include "LanguageView.h"

#include "FakeDialogControls.h"
#include "LanguageFiles.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <thread>

namespace orvo {
namespace {

using orvo::testing::FakeDialogControls;
using orvo::testing::ScopedCurrentDir;
using orvo::testing::TempFolder;
using orvo::testing::Utf16LeWithBom;

const std::string kThreePages =
    "[LANGUAGE_PAGE]\r\nLANGUAGE_EN_PAGE=1252\r\nLANGUAGE_FR_PAGE=1252\r\nLANGUAGE_SP_PAGE="
    "1252\r\n";

std::string Config(const std::string& language, const std::string& pages = kThreePages) {
    return "[SETTING]\r\nVERSIONNO=V1.6.0.0\r\nLANGUAGE=" + language + "\r\n\r\n" + pages;
}

std::wstring Keys(const std::wstring& prefix) {
    std::wstring text;
    for (const wchar_t* key : {L"C0", L"C1", L"C2", L"C3", L"C4", L"C5", L"C6", L"C7", L"C9", L"T2",
                               L"T3", L"T4", L"T10", L"T11", L"T13"}) {
        text += std::wstring(key) + L"=" + prefix + L" " + key + L"\r\n";
    }
    return text;
}

// Each language's texts are "<prefix> <key>"; the list names are only taken from LANGUAGE_EN.
const std::wstring kLanguageText =
    L"[LANGUAGE_EN]\r\nLANGUAGE_EN=English\r\nLANGUAGE_FR=Fran\u00E7ais\r\n"
    L"LANGUAGE_SP=Espa\u00F1ol\r\n" +
    Keys(L"en") + L"[LANGUAGE_FR]\r\nLANGUAGE_FR=not this one\r\n" + Keys(L"fr") +
    L"[LANGUAGE_SP]\r\n" + Keys(L"sp");

class LanguageViewTest : public ::testing::Test {
protected:
    LanguageViewTest() : inFolder_(folder_.Path()) {}

    void WriteFiles(const std::string& config, const std::wstring& language = kLanguageText) {
        folder_.Write("CONFIG.INI", config);
        folder_.Write("language.ini", Utf16LeWithBom(language));
    }

    // Start-up as the main window runs it.
    bool Start() {
        bool loaded = texts_.LoadLanguages();
        if (loaded) {
            texts_.ApplyTexts();
        }
        return loaded;
    }

    void Choose(int index) {
        controls_.SetListSelection(control::kLanguageList, index);
        texts_.OnSelChangeLanguage();
    }

    std::wstring Caption(int id) const { return controls_.GetText(id); }
    std::vector<std::wstring> Items() const {
        return controls_.State(control::kLanguageList).items;
    }

    TempFolder folder_;
    ScopedCurrentDir inFolder_;
    FakeDialogControls controls_;
    LanguageTexts languages_;
    LanguageView texts_{languages_, controls_};
};

TEST_F(LanguageViewTest, ListsLanguagesInCodePageLineOrderWithEnglishSectionNames) {
    WriteFiles(Config("LANGUAGE_EN",
                      "LANGUAGE_SP_PAGE=1252\r\nLANGUAGE_EN_PAGE=1252\r\n"
                      "LANGUAGE_FR_PAGE=1252\r\n"));
    ASSERT_TRUE(Start());
    EXPECT_EQ(Items(), (std::vector<std::wstring>{L"Espa\u00F1ol", L"English", L"Fran\u00E7ais"}));
    ASSERT_EQ(languages_.Languages().size(), 3u);
    EXPECT_EQ(languages_.Languages()[0].sectionName, L"LANGUAGE_SP");
    EXPECT_EQ(languages_.Languages()[0].codePage, 1252);
    EXPECT_EQ(languages_.Languages()[2].displayName, L"Fran\u00E7ais");
}

TEST_F(LanguageViewTest, PreparesTheControlsBeforeLoading) {
    controls_.SetShowText(false);
    WriteFiles(Config("LANGUAGE_EN"));
    ASSERT_TRUE(Start());
    EXPECT_TRUE(controls_.BarState().showText);
    EXPECT_EQ(controls_.State(control::kSnField).textLimit, 12);
    for (int id : {control::kUpgradeExternal, control::kUpgradeInternal, control::kIncrease}) {
        EXPECT_TRUE(controls_.IsChecked(id)) << id;
    }
}

struct StoredLanguageCase {
    const char* name;
    std::string config;
    int expectedIndex;
    std::wstring expectedLabel;
};

class StoredLanguage : public LanguageViewTest,
                       public ::testing::WithParamInterface<StoredLanguageCase> {};

TEST_P(StoredLanguage, IsSelectedElseTheFirst) {
    WriteFiles(GetParam().config);
    ASSERT_TRUE(Start());
    EXPECT_EQ(languages_.CurrentIndex(), GetParam().expectedIndex);
    EXPECT_EQ(controls_.GetListSelection(control::kLanguageList), GetParam().expectedIndex);
    EXPECT_EQ(Caption(control::kLanguageLabel), GetParam().expectedLabel);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StoredLanguage,
    ::testing::Values(StoredLanguageCase{"french", Config("LANGUAGE_FR"), 1, L"fr C2"},
                      StoredLanguageCase{"spanish", Config("LANGUAGE_SP"), 2, L"sp C2"},
                      StoredLanguageCase{"unknown", Config("LANGUAGE_DE"), 0, L"en C2"},
                      StoredLanguageCase{"differentCase", Config("language_fr"), 0, L"en C2"},
                      StoredLanguageCase{"noKey", "[SETTING]\r\nVERSIONNO=1\r\n" + kThreePages, 0,
                                         L"en C2"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LanguageViewTest, ChangingLanguageRewritesOnlyTheStoredValueAndEveryCaption) {
    const std::string before = Config("LANGUAGE_FR");
    WriteFiles(before);
    ASSERT_TRUE(Start());
    controls_.ClearRecords();

    Choose(2);

    std::string expected = before;
    expected.replace(expected.find("=LANGUAGE_FR") + 1, 11, "LANGUAGE_SP");
    EXPECT_EQ(folder_.Read("CONFIG.INI"), expected);
    EXPECT_EQ(languages_.CurrentIndex(), 2);

    const std::vector<std::pair<int, std::wstring>> captions = {
        {control::kLanguageLabel, L"sp C2"},
        {control::kSnLabel, L"sp C3"},
        {control::kIncrease, L"sp C4"},
        {control::kWriteSn, L"sp C0"},
        {control::kReadSn, L"sp C1"},
        {control::kStartUpgrade, L"sp C5"},
        {control::kUpgradeInternal, L"sp C6"},
        {control::kUpgradeExternal, L"sp C7"},
        {control::kExit, L"sp C9"},
        {control::kStartCaption, L"sp C5"},
        {control::kExitCaption, L"sp C9"},
    };
    auto changes = controls_.TextChanges();
    ASSERT_EQ(changes.size(), captions.size() + 1);  // and the status line
    for (std::size_t i = 0; i < captions.size(); ++i) {
        EXPECT_EQ(changes[i].id, captions[i].first) << i;
        EXPECT_EQ(changes[i].text, captions[i].second) << i;
    }
    EXPECT_EQ(changes.back().id, control::kProgress);

    texts_.ShowLangMessage("T10");
    EXPECT_EQ(controls_.Messages(), (std::vector<std::wstring>{L"sp T10"}));
}

// A choice that CONFIG.INI does not take changes the captions all the same and leaves the
// file's bytes as they were; only a file that should have taken it is worth a message.
struct UnstoredChoice {
    const char* name;
    std::string config;
    void (*obstruct)(const TempFolder& folder);
    std::vector<std::wstring> messages;
};

class UnstoredLanguage : public LanguageViewTest,
                         public ::testing::WithParamInterface<UnstoredChoice> {};

TEST_P(UnstoredLanguage, ChangesCaptionsKeepsTheFileAndSaysSoOnlyWhenItShould) {
    const std::string before = GetParam().config;
    WriteFiles(before);
    ASSERT_TRUE(Start());
    GetParam().obstruct(folder_);
    Choose(1);
    EXPECT_EQ(Caption(control::kExit), L"fr C9");
    EXPECT_EQ(folder_.Read("CONFIG.INI"), before);
    EXPECT_EQ(controls_.Messages(), GetParam().messages);
}

INSTANTIATE_TEST_SUITE_P(
    Choices, UnstoredLanguage,
    ::testing::Values(
        UnstoredChoice{"WithoutStoredKey",
                       "[SETTING]\r\nVERSIONNO=1\r\n" + kThreePages,
                       [](const TempFolder&) {},
                       {}},
        UnstoredChoice{"ReadOnlyFile",
                       Config("LANGUAGE_EN"),
                       [](const TempFolder& folder) {
                           std::filesystem::permissions(folder.File("CONFIG.INI"),
                                                        std::filesystem::perms::owner_write |
                                                            std::filesystem::perms::group_write |
                                                            std::filesystem::perms::others_write,
                                                        std::filesystem::perm_options::remove);
                       },
                       {}},
        // The new copy cannot be made beside it, as when another program holds the file. The
        // message, as every message, is in the language the file still stores.
        UnstoredChoice{"FileThatCannotBeReplaced",
                       Config("LANGUAGE_EN"),
                       [](const TempFolder& folder) {
                           std::filesystem::create_directory(folder.File("CONFIG.INI.new"));
                       },
                       {L"en T13"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LanguageViewTest, MessagesFollowTheStoredLanguageNotTheCurrentOne) {
    WriteFiles(Config("LANGUAGE_DE"));
    ASSERT_TRUE(Start());
    texts_.ShowLangMessage("T10");
    Choose(1);
    texts_.ShowLangMessage("T10");
    EXPECT_EQ(controls_.Messages(), (std::vector<std::wstring>{L"", L"fr T10"}));
}

TEST_F(LanguageViewTest, MissingKeyGivesAnEmptyCaptionNotTheKey) {
    std::wstring language = kLanguageText;
    language.erase(language.find(L"C3=en C3\r\n"), 10);
    WriteFiles(Config("LANGUAGE_EN"), language);
    ASSERT_TRUE(Start());
    EXPECT_EQ(Caption(control::kSnLabel), L"");
    EXPECT_EQ(Caption(control::kIncrease), L"en C4");
}

TEST_F(LanguageViewTest, LongTextIsCutTo255Characters) {
    const std::wstring longText(300, L'\u00E9');
    WriteFiles(Config("LANGUAGE_EN"),
               L"[LANGUAGE_EN]\r\nLANGUAGE_EN=English\r\nT9=" + longText + L"\r\n");
    ASSERT_TRUE(Start());
    EXPECT_EQ(texts_.GetLangText("T9"), longText.substr(0, 255));
}

TEST_F(LanguageViewTest, MissingConfigShowsAnEmptyT4AndStops) {
    folder_.Write("language.ini", Utf16LeWithBom(kLanguageText));
    controls_.SetText(control::kExit, L"Exit");
    EXPECT_FALSE(Start());
    EXPECT_EQ(controls_.Messages(), (std::vector<std::wstring>{L""}));
    EXPECT_TRUE(Items().empty());
    EXPECT_EQ(languages_.CurrentIndex(), -1);
    EXPECT_EQ(Caption(control::kExit), L"Exit");
    EXPECT_EQ(controls_.State(control::kSnField).textLimit, 12);
}

TEST_F(LanguageViewTest, MissingLanguageFileShowsT11AndStops) {
    folder_.Write("CONFIG.INI", Config("LANGUAGE_EN"));
    EXPECT_FALSE(Start());
    EXPECT_EQ(controls_.Messages(), (std::vector<std::wstring>{L""}));
    EXPECT_TRUE(Items().empty());
    EXPECT_EQ(languages_.CurrentIndex(), -1);
    EXPECT_EQ(texts_.GetLangText("C2"), L"");
}

TEST_F(LanguageViewTest, EmptyConfigOffersNothingAndSelectsNothing) {
    WriteFiles("");
    EXPECT_TRUE(Start());
    EXPECT_TRUE(Items().empty());
    EXPECT_EQ(languages_.CurrentIndex(), -1);
    EXPECT_EQ(Caption(control::kStartUpgrade), L"");
}

TEST_F(LanguageViewTest, ConfigWithoutCodePageLinesSelectsNothing) {
    WriteFiles("[SETTING]\r\nLANGUAGE=LANGUAGE_EN\r\n");
    EXPECT_TRUE(Start());
    EXPECT_EQ(languages_.CurrentIndex(), -1);
    EXPECT_EQ(controls_.GetListSelection(control::kLanguageList), -1);
    EXPECT_EQ(texts_.GetLangText("C2"), L"");
    texts_.OnSelChangeLanguage();
    EXPECT_EQ(Caption(control::kLanguageLabel), L"");
}

TEST_F(LanguageViewTest, OnlyTheThreeLanguagesAreOffered) {
    WriteFiles(Config("LANGUAGE_EN",
                      "LANGUAGE_DE_PAGE=1252\r\nLANGUAGE_FR_PAGE=1252\r\n"
                      "PAGE=1252\r\nLANGUAGE_EN_PAGE 1252\r\n"
                      "LANGUAGE_SP_PAGE=12345\r\nLANGUAGE_EN_PAGE=0\r\n"));
    ASSERT_TRUE(Start());
    EXPECT_EQ(Items(), (std::vector<std::wstring>{L"Fran\u00E7ais", L"English"}));
}

TEST_F(LanguageViewTest, RepeatedLinesOfferALanguageTwice) {
    WriteFiles(Config("LANGUAGE_EN", "LANGUAGE_EN_PAGE=1252\r\nLANGUAGE_EN_PAGE=1252\r\n"));
    ASSERT_TRUE(Start());
    EXPECT_EQ(Items(), (std::vector<std::wstring>{L"English", L"English"}));
}

TEST_F(LanguageViewTest, TableStopsAt256Languages) {
    std::string pages;
    for (int i = 0; i < 300; ++i) {
        pages += "LANGUAGE_FR_PAGE=1252\r\n";
    }
    WriteFiles(Config("LANGUAGE_FR", pages));
    ASSERT_TRUE(Start());
    EXPECT_EQ(languages_.Languages().size(), 256u);
    EXPECT_EQ(Items().size(), 256u);
    EXPECT_EQ(languages_.CurrentIndex(), 0);
}

TEST_F(LanguageViewTest, StatusLineFollowsTheStatusTextMode) {
    WriteFiles(Config("LANGUAGE_EN"));
    ASSERT_TRUE(Start());
    texts_.SetStatusTextMode(1);
    texts_.SetStatusText(L"Upgrade failed.");
    EXPECT_EQ(controls_.GetText(control::kProgress), L"Upgrade failed.");
    texts_.SetStatusTextMode(0);
    texts_.SetStatusText(L"Upgrade failed.");
    EXPECT_EQ(controls_.GetText(control::kProgress), L"");
}

TEST_F(LanguageViewTest, LanguageChangeShowsTheStatusKeyTextOnlyInMode1) {
    WriteFiles(Config("LANGUAGE_EN"));
    ASSERT_TRUE(Start());
    texts_.SetStatusKey("T3");
    texts_.SetStatusTextMode(1);
    Choose(1);
    EXPECT_EQ(controls_.GetText(control::kProgress), L"fr T3");
    texts_.SetStatusTextMode(0);
    Choose(2);
    EXPECT_EQ(controls_.GetText(control::kProgress), L"");
}

TEST_F(LanguageViewTest, EmptyStatusKeyShowsNoText) {
    WriteFiles(Config("LANGUAGE_EN"), kLanguageText + L"=stray\r\n");
    ASSERT_TRUE(Start());
    texts_.SetStatusTextMode(1);
    Choose(2);
    EXPECT_EQ(controls_.GetText(control::kProgress), L"");
}

TEST_F(LanguageViewTest, NoLanguageBeforeLoading) {
    WriteFiles(Config("LANGUAGE_EN"));
    EXPECT_EQ(languages_.CurrentIndex(), -1);
    EXPECT_EQ(texts_.GetLangText("C2"), L"");
    texts_.ShowLangMessage("T10");
    EXPECT_EQ(controls_.Messages(), (std::vector<std::wstring>{L""}));
}

TEST_F(LanguageViewTest, StatusKeyIsHandedOverWhole) {
    const std::string keys[] = {"T2", "T3", "F1f", "a key long enough to need the heap"};
    std::atomic<bool> stop{false};
    std::thread worker([&] {
        for (int i = 0; !stop; ++i) {
            texts_.SetStatusKey(keys[i % 4]);
        }
    });
    for (int i = 0; i < 20000; ++i) {
        std::string seen = texts_.StatusKey();
        ASSERT_TRUE(seen.empty() ||
                    std::find(std::begin(keys), std::end(keys), seen) != std::end(keys))
            << seen;
    }
    stop = true;
    worker.join();
}

}  // namespace
}  // namespace orvo
