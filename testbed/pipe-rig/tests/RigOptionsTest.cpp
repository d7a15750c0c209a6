// The rig server's command line and its commands.
#include "RigOptions.h"

#include <gtest/gtest.h>

namespace orvo::piperig {
namespace {

TEST(RigOptions, DefaultsToAnAnsweringDeviceOfTheRigsOwnName) {
    const auto options = ParseRigOptions({});
    ASSERT_TRUE(options.has_value());
    EXPECT_EQ(options->instanceName, "ORVO_PIPE_RIG");
    EXPECT_FALSE(options->silent);
}

TEST(RigOptions, TakesANameAndSilence) {
    const auto options = ParseRigOptions({"--silent", "--name", "BENCH_2"});
    ASSERT_TRUE(options.has_value());
    EXPECT_EQ(options->instanceName, "BENCH_2");
    EXPECT_TRUE(options->silent);
}

TEST(RigOptions, RefusesWhatItDoesNotKnow) {
    EXPECT_FALSE(ParseRigOptions({"--name"}).has_value());
    EXPECT_FALSE(ParseRigOptions({"--name", ""}).has_value());
    EXPECT_FALSE(ParseRigOptions({"--loud"}).has_value());
}

TEST(RigOptions, CommandsIgnoreSurroundingBlanksAndLineEnds) {
    EXPECT_EQ(ParseRigCommand("silent\r"), RigCommand::Silent);
    EXPECT_EQ(ParseRigCommand("  answer "), RigCommand::Answer);
    EXPECT_EQ(ParseRigCommand("quit"), RigCommand::Quit);
    EXPECT_EQ(ParseRigCommand("stop"), RigCommand::Unknown);
}

}  // namespace
}  // namespace orvo::piperig
