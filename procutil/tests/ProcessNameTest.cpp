#include "ProcessName.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string_view>

namespace orvo::procutil {
namespace {

struct NameCase {
    const char* wanted;
    std::string_view reported;
    bool matches;
};

void PrintTo(const NameCase& c, std::ostream* os) {
    *os << (c.wanted ? "\"" + std::string(c.wanted) + "\"" : std::string("null")) << " vs \""
        << c.reported << "\"";
}

class ProcessNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(ProcessNames, MatchOnlyAsTheWholeNameWithAsciiLettersInEitherCase) {
    EXPECT_EQ(ProcessNamesMatch(GetParam().wanted, GetParam().reported), GetParam().matches);
}

INSTANTIATE_TEST_SUITE_P(AsciiLettersInEitherCase, ProcessNames,
                         ::testing::Values(NameCase{"orvo.exe", "orvo.exe", true},
                                           NameCase{"ORVO.EXE", "orvo.exe", true},
                                           NameCase{"oRvO.eXe", "OrVo.ExE", true},
                                           NameCase{"Az-09_ [x]{}.exe", "aZ-09_ [X]{}.EXE", true},
                                           NameCase{"", "", true}));

// Bytes that differ by 0x20 like the two cases of a letter, but are no ASCII letters.
INSTANTIATE_TEST_SUITE_P(
    OtherBytesOnlyWhenEqual, ProcessNames,
    ::testing::Values(NameCase{"\xE9t\xE9.exe", "\xE9t\xE9.exe", true},
                      NameCase{"\xE9t\xE9.exe", "\xC9T\xC9.EXE", false},
                      NameCase{"\xC9.exe", "\xE9.exe", false}, NameCase{"@.exe", "`.exe", false},
                      NameCase{"[.exe", "{.exe", false}, NameCase{"^.exe", "~.exe", false},
                      NameCase{"1.exe", "\x11.exe", false}, NameCase{"\xFF", "\xDF", false}));

INSTANTIATE_TEST_SUITE_P(NoPartOfAName, ProcessNames,
                         ::testing::Values(NameCase{"orvo", "orvo.exe", false},
                                           NameCase{"orvo.exe", "orvo", false},
                                           NameCase{"", "orvo.exe", false},
                                           NameCase{"orvo.exe", "", false},
                                           NameCase{"orvo.exe ", "orvo.exe", false},
                                           NameCase{"C:\\tools\\orvo.exe", "orvo.exe", false},
                                           NameCase{"orvo.exe", "C:\\tools\\orvo.exe", false}));

INSTANTIATE_TEST_SUITE_P(NoWildcard, ProcessNames,
                         ::testing::Values(NameCase{"*", "orvo.exe", false},
                                           NameCase{"orvo.*", "orvo.exe", false},
                                           NameCase{"orv?.exe", "orvo.exe", false},
                                           NameCase{"*.exe", "orvo.exe", false}));

INSTANTIATE_TEST_SUITE_P(NullNameMatchesNothing, ProcessNames,
                         ::testing::Values(NameCase{nullptr, "", false},
                                           NameCase{nullptr, "orvo.exe", false}));

}  // namespace
}  // namespace orvo::procutil
