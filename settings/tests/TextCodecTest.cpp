#include "TextCodec.h"

#include <gtest/gtest.h>

namespace orvo {
namespace {

struct Conversion {
    const char* name;
    int codePage;
    std::wstring wide;
    std::string narrow;
};

class CodePageConversion : public ::testing::TestWithParam<Conversion> {};

TEST_P(CodePageConversion, GoesBothWays) {
    const Conversion& c = GetParam();
    EXPECT_EQ(EncodeText(c.wide, c.codePage), c.narrow);
    EXPECT_EQ(DecodeText(c.narrow, c.codePage), c.wide);
}

const Conversion kConversions[] = {
    {"ascii1252", 1252, L"LANGUAGE_FR", "LANGUAGE_FR"},
    {"latin1252", 1252, L"Fran\u00E7ais Espa\u00F1ol",
     "Fran\xE7"
     "ais Espa\xF1ol"},
    {"euro1252", 1252, L"\u20AC \u0152 \u2122", "\x80 \x8C \x99"},
    {"latin1", 28591, L"\u00E9\u00FF\u0080", "\xE9\xFF\x80"},
    {"asciiOnly", 20127, L"SN 961990000100", "SN 961990000100"},
    {"utf8TwoBytes", 65001, L"\u00C9crire",
     "\xC3\x89"
     "crire"},
    {"utf8ThreeBytes", 65001, L"\u20AC", "\xE2\x82\xAC"},
    {"utf8FourBytes", 65001, L"\U0001F600", "\xF0\x9F\x98\x80"},
    {"empty", 65001, L"", ""},
};

INSTANTIATE_TEST_SUITE_P(Pages, CodePageConversion, ::testing::ValuesIn(kConversions),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TextCodec, MalformedUtf8DecodesToReplacementCharacters) {
    EXPECT_EQ(DecodeText("a\xFF"
                         "b",
                         kUtf8CodePage),
              L"a\uFFFDb");
    EXPECT_EQ(DecodeText("\xC3", kUtf8CodePage), L"\uFFFD");
}

TEST(TextCodec, UsAsciiReadsBytesAboveAsciiWithoutTheirHighBit) {
    EXPECT_EQ(DecodeText("A\xE9\xC1", 20127), std::wstring(L"AiA"));
}

TEST(TextCodec, UnmappableCharacterIsNotDropped) {
    auto narrow = EncodeText(L"a\u4E2Db", 1252);
    ASSERT_TRUE(narrow);
    EXPECT_EQ(narrow->size(), 3u);
    EXPECT_EQ(narrow->front(), 'a');
    EXPECT_EQ(narrow->back(), 'b');
}

TEST(TextCodec, UnknownCodePageFails) {
    EXPECT_FALSE(EncodeText(L"abc", 12345));
    EXPECT_FALSE(DecodeText("abc", 12345));
    EXPECT_EQ(ToNarrow(L"LANGUAGE_EN", 12345), "");
}

struct NarrowCase {
    const char* name;
    std::wstring text;
    int codePage;
    std::string expected;
};

class ToNarrowLimits : public ::testing::TestWithParam<NarrowCase> {};

TEST_P(ToNarrowLimits, KeepsToTheBuffer) {
    const NarrowCase& c = GetParam();
    EXPECT_EQ(ToNarrow(c.text, c.codePage), c.expected);
}

const NarrowCase kNarrowCases[] = {
    {"sectionName", L"LANGUAGE_SP", 1252, "LANGUAGE_SP"},
    {"ansiPage", L"LANGUAGE_SP", kAnsiCodePage, "LANGUAGE_SP"},
    {"twoBytesPerCharacterFit", L"\u00E9\u00E9", 65001, "\xC3\xA9\xC3\xA9"},
    {"threeBytesPerCharacterDoNot", L"\u20AC", 65001, ""},
    {"longestThatFits", std::wstring(255, L'a'), 1252, std::string(255, 'a')},
    {"oneTooLong", std::wstring(256, L'a'), 1252, ""},
    {"overlongMultiByte", std::wstring(128, L'\u00E9'), 65001, ""},
};

INSTANTIATE_TEST_SUITE_P(Names, ToNarrowLimits, ::testing::ValuesIn(kNarrowCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace orvo
