// Every case is a small file the profile reader must answer alike on every platform. Windows
// builds ask both the platform's reader (ProfileReader) and the portable one, so under Wine this
// compares them file by file; native builds check the portable reader alone.
#include "ProfileReader.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#endif

namespace orvo {
namespace {

using orvo::testing::ScopedCurrentDir;
using orvo::testing::TempFolder;

std::string Utf16(std::u16string_view text, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t unit : text) {
        char high = static_cast<char>(unit >> 8);
        char low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

std::string Repeat(char c, std::size_t n) {
    return std::string(n, c);
}

struct ProfileCase {
    std::string name;
    std::string file;
    std::wstring section;
    std::wstring key;
    std::wstring expected;
    bool needsWesternAnsi = false;  // the file is ANSI text beyond ASCII
};

std::vector<ProfileCase> Cases() {
    const std::wstring x255(255, L'x');
    return {
        {"plain", "[S]\r\nK=v\r\n", L"S", L"K", L"v"},
        {"utf8Bom",
         "\xEF\xBB\xBF[S]\r\nK=Fran\xC3\xA7"
         "ais\r\n",
         L"S", L"K", L"Fran\u00E7ais"},
        {"utf8BomOnly", "\xEF\xBB\xBF", L"S", L"K", L""},
        {"utf16le", Utf16(u"[S]\r\nK=Espa\u00F1ol\r\n", false), L"S", L"K", L"Espa\u00F1ol"},
        {"utf16be", Utf16(u"[S]\r\nK=\u00C9crire\r\n", true), L"S", L"K", L"\u00C9crire"},
        {"utf16SurrogatePair", Utf16(u"[S]\r\nK=a\U0001F600b\r\n", false), L"S", L"K",
         L"a\U0001F600b"},
        {"utf8WithoutBomIsAnsi", "[S]\r\nK=\xC3\xA7\r\n", L"S", L"K", L"\u00C3\u00A7", true},
        {"ansiAccent",
         "[S]\r\nK=Fran\xE7"
         "ais\r\n",
         L"S", L"K", L"Fran\u00E7ais", true},
        {"blanksAroundNames", "  [ S ]  \r\n   K   =   v  \r\n", L"S", L"K", L"v"},
        {"tabsAroundNames", "\t[S]\t\r\n\tK\t=\tv\t\r\n", L"S", L"K", L"v"},
        {"blanksInRequest", "[S]\r\nK=v\r\n", L"  S ", L" K  ", L"v"},
        {"innerBlanksKept", "[S]\r\nK K=a  b\r\n", L"S", L"K K", L"a  b"},
        {"innerBlankIsPartOfName", "[S]\r\nK K=v\r\n", L"S", L"KK", L""},
        {"caseInsensitive", "[Setting]\r\nLanguage=x\r\n", L"SETTING", L"lANGUAGE", L"x"},
        // Only ASCII letters are folded; the accented ones are given in the file's case.
        {"accentedName", "\xEF\xBB\xBF[SECCI\xC3\x93N]\r\nCL\xC3\x89=v\r\n", L"secci\u00D3n",
         L"cl\u00C9", L"v"},
        {"doubleQuotes", "[S]\r\nK=\"quoted value\"\r\n", L"S", L"K", L"quoted value"},
        {"singleQuotes", "[S]\r\nK='v'\r\n", L"S", L"K", L"v"},
        {"blanksInsideQuotesKept", "[S]\r\nK=\"  v  \"\r\n", L"S", L"K", L"  v  "},
        {"mismatchedQuotes", "[S]\r\nK=\"v'\r\n", L"S", L"K", L"\"v'"},
        {"loneQuote", "[S]\r\nK=\"\r\n", L"S", L"K", L"\""},
        {"emptyQuotes", "[S]\r\nK=''\r\n", L"S", L"K", L""},
        {"quotesInside", "[S]\r\nK=a\"b\"\r\n", L"S", L"K", L"a\"b\""},
        {"duplicateSectionOnlyFirstSearched", "[S]\r\nA=1\r\n[S]\r\nK=2\r\n", L"S", L"K", L""},
        {"duplicateSectionFirstHasKey", "[S]\r\nA=1\r\n[s]\r\nA=2\r\n", L"S", L"A", L"1"},
        {"duplicateKeyFirstWins", "[S]\r\nK=1\r\nK=2\r\n", L"S", L"K", L"1"},
        {"keyFromOtherSectionNotFound", "[A]\r\nK=1\r\n[S]\r\nX=2\r\n", L"S", L"K", L""},
        {"lineWithoutEqualsHasNoValue", "[S]\r\nK\r\nK=2\r\n", L"S", L"K", L""},
        {"lineWithoutEqualsIgnored", "[S]\r\njunk line\r\nK=v\r\n", L"S", L"K", L"v"},
        {"equalsInValue", "[S]\r\nK=a=b\r\n", L"S", L"K", L"a=b"},
        {"inlineCommentStays", "[S]\r\nK=v ;note\r\n", L"S", L"K", L"v ;note"},
        {"commentLineIsNoKey", "[S]\r\n;K=v\r\n", L"S", L"K", L""},
        {"headerWithTrailingText", "[S] junk\r\nK=v\r\n", L"S", L"K", L"v"},
        {"headerUpToLastBracket", "[S]x]\r\nK=v\r\n", L"S]x", L"K", L"v"},
        {"headerWithoutBracket", "[S\r\nK=v\r\n", L"S", L"K", L""},
        {"keysBeforeFirstHeader", "K=top\r\n[S]\r\nK=in\r\n", L"", L"K", L"top"},
        {"bareCarriageReturns", "[S]\rA=1\rK=cr\r", L"S", L"K", L"cr"},
        {"bareLineFeeds", "[S]\nK=lf\n", L"S", L"K", L"lf"},
        {"lastLineWithoutLineEnd", "[S]\r\nK=tail", L"S", L"K", L"tail"},
        {"dosEndOfFile", "[S]\r\nK=v\x1A", L"S", L"K", L"v"},
        {"missingSection", "[S]\r\nK=v\r\n", L"T", L"K", L""},
        {"missingKey", "[S]\r\nK=v\r\n", L"S", L"L", L""},
        {"emptyFile", "", L"S", L"K", L""},
        {"emptyKeyFindsNamelessLine", "[S]\r\n=v\r\n", L"S", L"", L"v"},
        {"blankKeyFindsNamelessLine", "[S]\r\n=v\r\n", L"S", L" ", L"v"},
        {"longValueCut", "[S]\r\nK=" + Repeat('x', 300) + "\r\n", L"S", L"K", x255},
        {"valueOfExactlyTheLimit", "[S]\r\nK=" + Repeat('x', 255) + "\r\n", L"S", L"K", x255},
        {"longQuotedValueCut", "[S]\r\nK=\"" + Repeat('x', 300) + "\"\r\n", L"S", L"K", x255},
        {"quotedValueFillingTheBuffer", "[S]\r\nK=\"" + Repeat('x', 255) + "\"\r\n", L"S", L"K",
         std::wstring(254, L'x')},
        {"quotedValueJustFitting", "[S]\r\nK=\"" + Repeat('x', 254) + "\"\r\n", L"S", L"K",
         std::wstring(254, L'x')},
    };
}

class ProfileReaderCases : public ::testing::TestWithParam<ProfileCase> {};

TEST_P(ProfileReaderCases, AnswerAsThePlatformReaderDoes) {
    const ProfileCase& c = GetParam();
#ifdef _WIN32
    if (c.needsWesternAnsi && GetACP() != 1252) {
        GTEST_SKIP() << "the ANSI code page here is " << GetACP();
    }
#endif
    EXPECT_EQ(ParseProfileValue(c.file, c.section, c.key), c.expected);

    TempFolder folder;
    const std::string fileName = c.name + ".ini";
    folder.Write(fileName, c.file);
    ScopedCurrentDir inFolder(folder.Path());
    EXPECT_EQ(ReadProfileFileValue(fileName, c.section, c.key), c.expected);
    EXPECT_EQ(ProfileReader().ReadProfileText(c.section, c.key,
                                              std::wstring(fileName.begin(), fileName.end())),
              c.expected);
}

INSTANTIATE_TEST_SUITE_P(TrickyFiles, ProfileReaderCases, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return info.param.name; });

TEST(ProfileReader, MissingFileReadsAsEmpty) {
    TempFolder folder;
    ScopedCurrentDir inFolder(folder.Path());
    EXPECT_EQ(ProfileReader().ReadProfileText(L"S", L"K", L"absent.ini"), L"");
}

TEST(ProfileReader, FileIsTakenFromTheCurrentDirectory) {
    TempFolder first;
    TempFolder second;
    first.Write("language.ini", "[S]\r\nK=first\r\n");
    second.Write("language.ini", "[S]\r\nK=second\r\n");
    ScopedCurrentDir inSecond(second.Path());
    EXPECT_EQ(ProfileReader().ReadProfileText(L"S", L"K", L"language.ini"), L"second");
}

}  // namespace
}  // namespace orvo
