#include "IniDocument.h"

#include "DurableFile.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <random>
#include <thread>

namespace orvo {
namespace {

using orvo::testing::TempFolder;

struct LookupCase {
    const char* name;
    const char* file;
    const char* section;
    const char* key;
    const char* expected;
};

class IniLookup : public ::testing::TestWithParam<LookupCase> {};

TEST_P(IniLookup, GivesTheValueOfTheTextModel) {
    const LookupCase& c = GetParam();
    TempFolder folder;
    folder.Write("CONFIG.INI", c.file);
    IniDocument doc(folder.File("CONFIG.INI"));
    EXPECT_EQ(doc.GetString(c.section, c.key), c.expected);
}

const LookupCase kLookups[] = {
    {"plain", "[SETTING]\r\nLANGUAGE=LANGUAGE_FR\r\n", "SETTING", "LANGUAGE", "LANGUAGE_FR"},
    {"commentKeepsBlank", "[SETTING]\r\nLANGUAGE=LANGUAGE_FR ;note\r\n", "SETTING", "LANGUAGE",
     "LANGUAGE_FR "},
    {"endsAtCR", "[S]\r\nK=abc\rdef\r\n", "S", "K", "abc"},
    {"endsAtTab", "[S]\r\nK=ab\tc\r\n", "S", "K", "ab"},
    {"endsAtBracket", "[S]\r\nK=C:\\a]b\r\n", "S", "K", "C:\\a"},
    {"keyIsCaseSensitive", "[SETTING]\r\nLANGUAGE=X\r\n", "SETTING", "language", ""},
    {"sectionIsCaseSensitive", "[SETTING]\r\nLANGUAGE=X\r\n", "setting", "LANGUAGE", ""},
    {"blankBelongsToName", "[S]\r\nK = 1\r\n", "S", "K", ""},
    {"commentedOutKey", "[S]\r\n;K=1\r\n", "S", "K", ""},
    {"keyThenNoteWithoutEquals", "[S]\r\nK;note\r\n", "S", "K", "note"},
    {"keyAlone", "[S]\r\nK\r\nL=2\r\n", "S", "K", ""},
    {"foundInLaterSection", "[A]\r\nX=1\r\n[B]\r\nK=later\r\n", "A", "K", "later"},
    {"firstSectionWins", "[S]\r\nK=1\r\n[S]\r\nK=2\r\n", "S", "K", "1"},
    {"firstKeyWins", "[S]\r\nK=1\r\nK=2\r\n", "S", "K", "1"},
    {"headerEndsAtSemicolon", "[S;x]\r\nK=1\r\n", "S", "K", "1"},
    {"missingSection", "[S]\r\nK=1\r\n", "T", "K", ""},
    {"lastLineWithoutLineEnd", "[S]\r\nK=tail", "S", "K", "tail"},
    {"bareLineFeeds", "[S]\nA\nK=unix\n", "S", "K", "unix"},
    {"bareLineFeedKeyAlone", "[S]\nK\nL=2\n", "S", "K", ""},
    {"keyAloneAtTheEnd", "[A]\r\nK", "A", "K", ""},
    {"keyAloneAtTheEndAfterBareLineFeed", "[A]\nK", "A", "K", ""},
    {"longNamePart",
     "[S]\r\nAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA=v\r\n",
     "S", "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA", "v"},
    {"loneBracket", "[", "", "K", ""},
    {"equalsOnly", "=", "S", "", ""},
};

INSTANTIATE_TEST_SUITE_P(Cases, IniLookup, ::testing::ValuesIn(kLookups),
                         [](const auto& info) { return std::string(info.param.name); });

// An update of an existing key: what the file holds afterwards, and that it reads back.
struct UpdateCase {
    const char* name;
    const char* file;
    const char* section;
    const char* key;
    const char* value;
    const char* saved;
};

class IniUpdate : public ::testing::TestWithParam<UpdateCase> {};

TEST_P(IniUpdate, WritesTheValueAndReadsItBack) {
    const UpdateCase& c = GetParam();
    TempFolder folder;
    folder.Write("CONFIG.INI", c.file);
    IniDocument doc(folder.File("CONFIG.INI"));
    ASSERT_TRUE(doc.SetString(c.section, c.key, c.value));
    EXPECT_EQ(folder.Read("CONFIG.INI"), c.saved);
    EXPECT_EQ(IniDocument(folder.File("CONFIG.INI")).GetString(c.section, c.key), c.value);
}

const UpdateCase kUpdates[] = {
    {"keyThenNote", "[S]\r\nK;note\r\n", "S", "K", "NEW", "[S]\r\nK;NEW\r\n"},
    {"emptyValueAtTheEnd", "[S]\r\nK=", "S", "K", "NEW", "[S]\r\nK=NEW"},
    // A key without any delimiter gets one, so that its name stays what it was.
    {"keyAloneAtTheEnd", "[A]\r\nK", "A", "K", "NEW", "[A]\r\nK=NEW"},
    {"keyAloneOnABareLineFeedLine", "[A]\nK\nB=1\n", "A", "K", "v", "[A]\nK=v\nB=1\n"},
    {"keyAloneAtTheEndAfterBareLineFeed", "[A]\nK", "A", "K", "v", "[A]\nK=v"},
};

INSTANTIATE_TEST_SUITE_P(Cases, IniUpdate, ::testing::ValuesIn(kUpdates),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(IniDocument, MissingOrEmptyFileDoesNotLoad) {
    TempFolder folder;
    IniDocument doc;
    EXPECT_FALSE(doc.Load(folder.File("absent.ini")));
    EXPECT_EQ(doc.GetString("SETTING", "LANGUAGE"), "");
    folder.Write("empty.ini", "");
    EXPECT_FALSE(doc.Load(folder.File("empty.ini")));
    EXPECT_EQ(doc.SectionCount(), 0);
}

TEST(IniDocument, OverlongPathIsRefused) {
    IniDocument doc;
    EXPECT_FALSE(doc.Load(std::string(IniDocument::kMaxPathLength + 1, 'a')));
}

TEST(IniDocument, ReplacingAValueChangesOnlyItsBytes) {
    TempFolder folder;
    const std::string before =
        "; settings\r\n[SETTING]\r\nVERSIONNO=V1.6\r\nLANGUAGE=LANGUAGE_FR ; chosen\r\n\r\n"
        "[FILE_PATH]\r\nUPGRADE_FILE=a.bin\r\n";
    folder.Write("CONFIG.INI", before);
    IniDocument doc(folder.File("CONFIG.INI"));
    ASSERT_TRUE(doc.SetString("SETTING", "LANGUAGE", "LANGUAGE_EN"));
    // The old value runs up to the ';', so its trailing blank goes with it.
    std::string expected = before;
    expected.replace(expected.find("LANGUAGE_FR "), 12, "LANGUAGE_EN");
    EXPECT_EQ(folder.Read("CONFIG.INI"), expected);
    EXPECT_FALSE(folder.Exists("CONFIG.INI.new"));
}

TEST(IniDocument, ReplacingWithALongerValueMovesTheRest) {
    TempFolder folder;
    folder.Write("c.ini", "[S]\r\nK=1\r\nL=2\r\n");
    IniDocument doc(folder.File("c.ini"));
    ASSERT_TRUE(doc.SetString("S", "K", "12345"));
    EXPECT_EQ(folder.Read("c.ini"), "[S]\r\nK=12345\r\nL=2\r\n");
}

TEST(IniDocument, AddedKeyOrSectionStaysInMemory) {
    TempFolder folder;
    const std::string before = "[A]\r\nK=1\r\n\r\n[B]\r\nX=0\r\n";
    folder.Write("c.ini", before);
    IniDocument doc(folder.File("c.ini"));
    EXPECT_TRUE(doc.SetString("A", "N", "2"));
    EXPECT_TRUE(doc.SetString("A", "M", "3"));
    EXPECT_EQ(doc.Bytes(), "[A]\r\nK=1\r\n\r\nM=3\r\nN=2\r\n[B]\r\nX=0\r\n");
    EXPECT_TRUE(doc.SetString("NEW", "Q", "9"));
    EXPECT_EQ(doc.GetString("NEW", "Q"), "9");
    EXPECT_EQ(folder.Read("c.ini"), before);
}

TEST(IniDocument, AddedLineAfterALastLineWithoutLineEndStaysApart) {
    TempFolder folder;
    folder.Write("c.ini", "[A]\r\nK=1");
    IniDocument doc(folder.File("c.ini"));
    EXPECT_TRUE(doc.SetString("A", "N", "2"));
    EXPECT_EQ(doc.GetString("A", "K"), "1");
    EXPECT_EQ(doc.GetString("A", "N"), "2");
}

TEST(IniDocument, OverlongNamesAreRefused) {
    TempFolder folder;
    folder.Write("c.ini", "[S]\r\nK=1\r\n");
    IniDocument doc(folder.File("c.ini"));
    EXPECT_FALSE(doc.SetString(std::string(IniDocument::kMaxSectionName + 1, 'S'), "K", "v"));
    EXPECT_FALSE(doc.SetString("S", std::string(IniDocument::kMaxKeyName + 1, 'K'), "v"));
    EXPECT_EQ(doc.Bytes(), "[S]\r\nK=1\r\n");
}

TEST(IniDocument, ReadOnlyFileIsLeftUntouched) {
    TempFolder folder;
    const std::string before = "[SETTING]\r\nLANGUAGE=LANGUAGE_FR\r\n";
    folder.Write("CONFIG.INI", before);
    std::filesystem::permissions(folder.File("CONFIG.INI"),
                                 std::filesystem::perms::owner_write |
                                     std::filesystem::perms::group_write |
                                     std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove);
    IniDocument doc(folder.File("CONFIG.INI"));
    EXPECT_FALSE(doc.SetString("SETTING", "LANGUAGE", "LANGUAGE_EN"));
    EXPECT_EQ(folder.Read("CONFIG.INI"), before);
    EXPECT_FALSE(folder.Exists("CONFIG.INI.new"));
}

TEST(ReplaceFileContents, FailedWriteLeavesTheOldFileWhole) {
    TempFolder folder;
    const std::string before(5000, 'o');
    folder.Write("CONFIG.INI", before);
    for (std::size_t cut : {std::size_t{0}, std::size_t{1}, std::size_t{2999}}) {
        auto failPartWay = [cut](std::FILE* f, const char* data, std::size_t) {
            return std::fwrite(data, 1, cut, f);
        };
        EXPECT_FALSE(
            ReplaceFileContents(folder.File("CONFIG.INI"), std::string(3000, 'n'), failPartWay));
        EXPECT_EQ(folder.Read("CONFIG.INI"), before);
        EXPECT_FALSE(folder.Exists("CONFIG.INI.new"));
    }
    EXPECT_TRUE(ReplaceFileContents(folder.File("CONFIG.INI"), "new"));
    EXPECT_EQ(folder.Read("CONFIG.INI"), "new");
}

// A reader on another thread (the upgrade worker reads CONFIG.INI) must not make a language
// choice fail to be stored, though Windows refuses to replace a file that is open.
TEST(ReplaceFileContents, WaitsOutAReaderThatHoldsTheFileForAMoment) {
    TempFolder folder;
    folder.Write("CONFIG.INI", "old");
    std::FILE* reader = std::fopen(folder.File("CONFIG.INI").c_str(), "rb");
    ASSERT_NE(reader, nullptr);
    std::thread closer([reader] {
        std::this_thread::sleep_for(std::chrono::milliseconds(40));
        std::fclose(reader);
    });
    EXPECT_TRUE(ReplaceFileContents(folder.File("CONFIG.INI"), "new"));
    closer.join();
    EXPECT_EQ(folder.Read("CONFIG.INI"), "new");
}

// The upgrade worker reads CONFIG.INI now and then while the window's thread stores language
// choices: every read finds the file whole, old or new, and every store succeeds (a file held
// open cannot be replaced on Windows, so a store waits out a read).
TEST(ReplaceFileContents, ReadersAndAReplacerOnTwoThreadsEachSeeAWholeFile) {
    TempFolder folder;
    const std::string path = folder.File("CONFIG.INI");
    const std::string versions[] = {std::string(3000, 'a'), std::string(2000, 'b')};
    folder.Write("CONFIG.INI", versions[0]);
    std::atomic<bool> replacing{true};
    int badReads = 0;
    std::thread reader([&] {
        while (replacing) {
            const auto bytes = ReadWholeFile(path);
            badReads += (!bytes || (*bytes != versions[0] && *bytes != versions[1])) ? 1 : 0;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    int failedStores = 0;
    for (int i = 0; i < 100; ++i) {
        failedStores += ReplaceFileContents(path, versions[i % 2]) ? 0 : 1;
    }
    replacing = false;
    reader.join();
    EXPECT_EQ(failedStores, 0);
    EXPECT_EQ(badReads, 0);
}

TEST(IniDocument, AnyBytesLoadWithoutHarm) {
    TempFolder folder;
    std::mt19937 random(42);
    std::uniform_int_distribution<int> byte(0, 255);
    for (std::size_t size :
         {std::size_t{1}, std::size_t{7}, std::size_t{4096}, std::size_t{10} << 20}) {
        std::string garbage(size, '\0');
        for (char& c : garbage) {
            c = static_cast<char>(size > 4096 ? "[=;\r\nK"[byte(random) % 6] : byte(random));
        }
        folder.Write("g.ini", garbage);
        IniDocument doc(folder.File("g.ini"));
        EXPECT_EQ(doc.Bytes(), garbage);
        doc.GetString("SETTING", "LANGUAGE");
        doc.GetString("", "");
        doc.SetString("SETTING", "LANGUAGE", "LANGUAGE_EN");
    }
}

}  // namespace
}  // namespace orvo
