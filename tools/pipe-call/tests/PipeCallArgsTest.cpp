// pipe-call's command line and hex bytes.
#include "PipeCallArgs.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace orvo::pipecall {
namespace {

using ::testing::ElementsAre;

std::optional<PipeCallArgs> Parse(const std::vector<std::string>& arguments) {
    std::string error;
    auto args = ParsePipeCallArgs(arguments, error);
    EXPECT_EQ(args.has_value(), error.empty());
    return args;
}

TEST(PipeCallArgs, ReadTakesAPipeAndALength) {
    const auto args = Parse({"qxUSBDev", "read", "0", "16"});
    ASSERT_TRUE(args.has_value());
    EXPECT_EQ(args->dll, "qxUSBDev");
    EXPECT_EQ(args->action, Action::Read);
    EXPECT_EQ(args->pipe, 0);
    EXPECT_EQ(args->length, 16);
    EXPECT_EQ(args->timeoutMs, 1000);
}

TEST(PipeCallArgs, WriteJoinsItsHexBytesHoweverTheyAreSpaced) {
    const auto args =
        Parse({"--timeout", "250", "qxUSBDevAdv.dll", "write", "3", "55AA", "0a", "ff"});
    ASSERT_TRUE(args.has_value());
    EXPECT_EQ(args->action, Action::Write);
    EXPECT_EQ(args->pipe, 3);
    EXPECT_EQ(args->timeoutMs, 250);
    EXPECT_THAT(args->data, ElementsAre(0x55, 0xAA, 0x0A, 0xFF));
}

TEST(PipeCallArgs, ExportsTakesNothingMore) {
    const auto args = Parse({"qxUSBDev", "exports"});
    ASSERT_TRUE(args.has_value());
    EXPECT_EQ(args->action, Action::Exports);
}

TEST(PipeCallArgs, RefusesIncompleteOrMalformedCalls) {
    const std::vector<std::vector<std::string>> refused = {
        {},
        {"qxUSBDev"},
        {"qxUSBDev", "read", "0"},
        {"qxUSBDev", "read", "0", "16", "17"},
        {"qxUSBDev", "read", "x", "16"},
        {"qxUSBDev", "read", "0", "-5"},
        {"qxUSBDev", "write", "1", "5"},
        {"qxUSBDev", "write", "1", "5G"},
        {"qxUSBDev", "erase", "1", "00"},
        {"--timeout", "soon", "qxUSBDev", "read", "0", "16"},
    };
    for (const auto& arguments : refused) {
        EXPECT_FALSE(Parse(arguments).has_value()) << ::testing::PrintToString(arguments);
    }
}

TEST(HexBytes, ReadsPairsWithSeparatorsAndPrintsThemSpacedInCapitals) {
    EXPECT_THAT(*ParseHexBytes("55:aa-0A 1f"), ElementsAre(0x55, 0xAA, 0x0A, 0x1F));
    EXPECT_FALSE(ParseHexBytes("5 5").has_value());
    const unsigned char bytes[] = {0x55, 0xAA, 0x8A, 0x00};
    EXPECT_EQ(FormatHexBytes(bytes, 4), "55 AA 8A 00");
    EXPECT_EQ(FormatHexBytes(bytes, 0), "");
}

}  // namespace
}  // namespace orvo::pipecall
