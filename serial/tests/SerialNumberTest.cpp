#include "SerialNumber.h"

#include <gtest/gtest.h>

namespace orvo {
namespace {

struct NextCase {
    const char* in;
    const char* out;
};

class NextNumber : public ::testing::TestWithParam<NextCase> {};

TEST_P(NextNumber, KeepsThePrefixAndCountsOn) {
    EXPECT_EQ(NextSerialNumber(GetParam().in), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(Cases, NextNumber,
                         ::testing::Values(NextCase{"961990000100", "961990000101"},
                                           NextCase{"961990009999", "961990010000"},
                                           NextCase{"961999999999", "9619910000000"},
                                           NextCase{"96199000010", ""},
                                           NextCase{"9619900001000", ""}, NextCase{"", ""},
                                           NextCase{"96199ABCDEFG", "961990000001"},
                                           NextCase{"96199  12abc", "961990000013"}));

TEST(SerialNumber, OnlyTwelveDigitsAreValid) {
    EXPECT_TRUE(IsValidSerialNumber("961990000100"));
    EXPECT_FALSE(IsValidSerialNumber("96199000010A"));
    EXPECT_FALSE(IsValidSerialNumber("9619900001"));
    EXPECT_FALSE(IsValidSerialNumber(""));
    EXPECT_FALSE(IsValidSerialNumber("9619910000000"));
    EXPECT_FALSE(IsValidSerialNumber("96199 000100"));
}

TEST(SerialNumber, ProposalFollowsTheLastTwelveCharacterLine) {
    using Lines = std::vector<std::string>;
    EXPECT_EQ(ProposeSerialNumber(Lines{"961990000100", "961990000105", "abc"}), "961990000106");
    EXPECT_EQ(ProposeSerialNumber(Lines{}), kDefaultSerialNumber);
    EXPECT_EQ(ProposeSerialNumber(std::nullopt), kDefaultSerialNumber);
    EXPECT_EQ(ProposeSerialNumber(Lines{"abc", "12345678901"}), kDefaultSerialNumber);
    EXPECT_EQ(ProposeSerialNumber(Lines{"961999999999"}), "9619910000000");
}

}  // namespace
}  // namespace orvo
