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

TEST(RigOptions, StaysUnlessToldToGo) {
    EXPECT_EQ(ParseRigOptions({})->leaving, Leaving::Stays);
}

TEST(RigOptions, GoesAfterSomeFramesUnpluggedOrPulledOut) {
    const auto unplugged = ParseRigOptions({"--unplug-after", "40"});
    ASSERT_TRUE(unplugged.has_value());
    EXPECT_EQ(unplugged->leaving, Leaving::Unplugged);
    EXPECT_EQ(unplugged->framesBeforeLeaving, 40);
    const auto pulled = ParseRigOptions({"--name", "B", "--pull-after", "0"});
    ASSERT_TRUE(pulled.has_value());
    EXPECT_EQ(pulled->leaving, Leaving::Pulled);
    EXPECT_EQ(pulled->framesBeforeLeaving, 0);
}

TEST(RigOptions, RefusesWhatItDoesNotKnow) {
    EXPECT_FALSE(ParseRigOptions({"--name"}).has_value());
    EXPECT_FALSE(ParseRigOptions({"--name", ""}).has_value());
    EXPECT_FALSE(ParseRigOptions({"--loud"}).has_value());
    EXPECT_FALSE(ParseRigOptions({"--pull-after"}).has_value());
    EXPECT_FALSE(ParseRigOptions({"--pull-after", "-3"}).has_value());
    EXPECT_FALSE(ParseRigOptions({"--unplug-after", "ten"}).has_value());
    EXPECT_FALSE(ParseRigOptions({"--unplug-after", "9999999999"}).has_value());
    EXPECT_FALSE(ParseRigOptions({"--unplug-after", "3", "--pull-after", "4"}).has_value());
}

TEST(RigOptions, CommandsIgnoreSurroundingBlanksAndLineEnds) {
    EXPECT_EQ(ParseRigCommand("silent\r"), RigCommand::Silent);
    EXPECT_EQ(ParseRigCommand("  answer "), RigCommand::Answer);
    EXPECT_EQ(ParseRigCommand("quit"), RigCommand::Quit);
    EXPECT_EQ(ParseRigCommand("counts\r"), RigCommand::Counts);
    EXPECT_EQ(ParseRigCommand("stop"), RigCommand::Unknown);
}

TEST(PipeCounts, ReadBackAsWritten) {
    const PipeCounts counts{3, 1, 520, 519, 2};
    const std::string line = FormatPipeCounts(counts);
    EXPECT_EQ(line, "counts opens 3 closes 1 writes 520 reads 519 device-opens 2");
    const auto read = ParsePipeCounts(line + "\r");
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->opens, 3);
    EXPECT_EQ(read->closes, 1);
    EXPECT_EQ(read->writes, 520);
    EXPECT_EQ(read->reads, 519);
    EXPECT_EQ(read->deviceOpens, 2);
}

TEST(PipeCounts, OtherLinesAreNoCounts) {
    EXPECT_FALSE(ParsePipeCounts("ok").has_value());
    EXPECT_FALSE(ParsePipeCounts("counts opens 3").has_value());
    EXPECT_FALSE(ParsePipeCounts("counts closes 3 opens 1 writes 0 reads 0 device-opens 0"));
}

}  // namespace
}  // namespace orvo::piperig
