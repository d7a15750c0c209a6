#include "CodePageLine.h"
#include "TextLines.h"

#include <gtest/gtest.h>

namespace orvo {
namespace {

struct CodePageCase {
    const char* line;
    bool isCodePageLine;
    const char* section;
    int codePage;
};

class CodePageLines : public ::testing::TestWithParam<CodePageCase> {};

TEST_P(CodePageLines, SplitIntoSectionAndCodePage) {
    const CodePageCase& c = GetParam();
    auto parsed = ParseCodePageLine(c.line);
    ASSERT_EQ(parsed.has_value(), c.isCodePageLine);
    if (parsed) {
        EXPECT_EQ(parsed->sectionName, c.section);
        EXPECT_EQ(parsed->codePage, c.codePage);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CodePageLines,
    ::testing::Values(
        CodePageCase{"LANGUAGE_EN_PAGE=1252", true, "LANGUAGE_EN", 1252},
        CodePageCase{"LANGUAGE_SP_PAGE=  -12x", true, "LANGUAGE_SP", -12},
        CodePageCase{"LANGUAGE_FR_PAGE=", true, "LANGUAGE_FR", 0},
        CodePageCase{"PAGE=936", true, "", 936}, CodePageCase{"X_PAGE_Y_PAGE=+7", true, "X", 7},
        CodePageCase{"LANGUAGE_EN_PAGE 1252", false, "", 0},
        CodePageCase{"language_en_page=1", false, "", 0}, CodePageCase{"A=PAGE", true, "", 0},
        CodePageCase{"LANGUAGE_DE_PAGE=99999999999", true, "LANGUAGE_DE", 2147483647}));

TEST(CodePageLine, OnlyTheThreeLanguagesAreOffered) {
    EXPECT_TRUE(IsOfferedLanguageSection("LANGUAGE_EN"));
    EXPECT_TRUE(IsOfferedLanguageSection("LANGUAGE_FR"));
    EXPECT_TRUE(IsOfferedLanguageSection("LANGUAGE_SP"));
    EXPECT_FALSE(IsOfferedLanguageSection("LANGUAGE_DE"));
    EXPECT_FALSE(IsOfferedLanguageSection("LANGUAGE_EN "));
}

TEST(TextLines, EndAtLineFeedWithoutTheCarriageReturn) {
    using Lines = std::vector<std::string>;
    EXPECT_EQ(SplitTextLines(""), Lines{});
    EXPECT_EQ(SplitTextLines("a\r\nb\nc"), (Lines{"a", "b", "c"}));
    EXPECT_EQ(SplitTextLines("a\r\r\n\n"), (Lines{"a\r", ""}));
    EXPECT_EQ(SplitTextLines("tail\r"), (Lines{"tail\r"}));
}

}  // namespace
}  // namespace orvo
