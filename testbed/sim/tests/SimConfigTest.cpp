// Setting up a simulated device from named settings (the simulator DLL's environment).
#include "SimConfig.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <string>

namespace orvo::sim {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::SizeIs;

SimConfig Read(const std::map<std::string, std::string>& settings) {
    return ReadSimConfig([&](const char* name) -> std::optional<std::string> {
        const auto found = settings.find(name);
        if (found == settings.end()) {
            return std::nullopt;
        }
        return found->second;
    });
}

MATCHER_P3(IsFault, kind, frame, value, "") {
    return arg.kind == kind && arg.frame == frame && arg.value == value;
}

TEST(SimConfig, NothingSetGivesAFaultlessDeviceWithTheDefaultNumber) {
    const SimConfig config = Read({});
    EXPECT_EQ(config.serial, "961990000100");
    EXPECT_THAT(config.faults, IsEmpty());
    EXPECT_EQ(config.latency.count(), 0);
    EXPECT_EQ(config.outputFolder, "");
    EXPECT_THAT(config.errors, IsEmpty());
}

TEST(SimConfig, ReadsEverySetting) {
    const SimConfig config = Read({{"ORVO_SIM_SERIAL", "963697000001"},
                                   {"ORVO_SIM_FAULTS", "failure-reply@5:0x20,unplugged@9"},
                                   {"ORVO_SIM_LATENCY_US", "250"},
                                   {"ORVO_SIM_OUTPUT", "Z:\\tmp\\run"},
                                   {"ORVO_SIM_TIMING", "Z:\\tmp\\timing.txt"}});
    EXPECT_EQ(config.serial, "963697000001");
    EXPECT_THAT(config.faults, ElementsAre(IsFault(FaultKind::kFailureReply, 5, 0x20),
                                           IsFault(FaultKind::kUnplugged, 9, -1)));
    EXPECT_EQ(config.latency.count(), 250);
    EXPECT_EQ(config.outputFolder, "Z:\\tmp\\run");
    EXPECT_EQ(config.timingFile, "Z:\\tmp\\timing.txt");
    EXPECT_THAT(config.errors, IsEmpty());
}

TEST(SimConfig, EveryFaultKindHasAName) {
    const SimConfig config =
        Read({{"ORVO_SIM_FAULTS",
               "failure-reply@0:4,wrong-reply-code@1:0x7e,no-reply@2,short-reply@3:10,"
               "failed-write@4,short-write@5:3,unplugged@6"}});
    EXPECT_THAT(
        config.faults,
        ElementsAre(IsFault(FaultKind::kFailureReply, 0, 4),
                    IsFault(FaultKind::kWrongReplyCode, 1, 0x7E),
                    IsFault(FaultKind::kNoReply, 2, -1), IsFault(FaultKind::kShortReply, 3, 10),
                    IsFault(FaultKind::kFailedWrite, 4, -1), IsFault(FaultKind::kShortWrite, 5, 3),
                    IsFault(FaultKind::kUnplugged, 6, -1)));
}

TEST(SimConfig, SettingsNotUnderstoodAreNamedAndSkipped) {
    const SimConfig config = Read({{"ORVO_SIM_FAULTS",
                                    "no-reply@2,burnt@3,no-reply,no-reply@x,"
                                    "no-reply@1:,no-reply@-1"},
                                   {"ORVO_SIM_LATENCY_US", "fast"}});
    EXPECT_THAT(config.faults, ElementsAre(IsFault(FaultKind::kNoReply, 2, -1)));
    EXPECT_THAT(config.errors, SizeIs(6));
    EXPECT_EQ(config.latency.count(), 0);
}

}  // namespace
}  // namespace orvo::sim
