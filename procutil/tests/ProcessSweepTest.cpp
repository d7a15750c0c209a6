#include "FakeProcesses.h"
#include "ProcessSweep.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace orvo::procutil {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr ProcessId kSelf = 40;

FakeProcesses RunningSystem() {
    return FakeProcesses({{4, "System"},
                          {12, "Orvo.exe"},
                          {20, "explorer.exe"},
                          {kSelf, "caller.exe"},
                          {52, "orvo.exe"},
                          {60, "orvo"},
                          {68, "ORVO.EXE"}},
                         kSelf);
}

TEST(AnyProcessNamed, FindsANameInAnotherLetterCase) {
    FakeProcesses processes = RunningSystem();
    EXPECT_TRUE(AnyProcessNamed(processes, "oRvO.exe"));
    EXPECT_EQ(processes.snapshotsHeld, 0);
}

TEST(AnyProcessNamed, FindsTheLastProcessOfTheSnapshot) {
    FakeProcesses processes({{4, "System"}, {8, "last.exe"}}, kSelf);
    EXPECT_TRUE(AnyProcessNamed(processes, "last.exe"));
}

TEST(AnyProcessNamed, AnswersNoForANameNoProcessHasOrANullName) {
    for (const char* name : {"nothing.exe", "orvo.ex", "", static_cast<const char*>(nullptr)}) {
        FakeProcesses processes = RunningSystem();
        EXPECT_FALSE(AnyProcessNamed(processes, name)) << (name ? name : "null");
        EXPECT_EQ(processes.snapshotsHeld, 0);
    }
}

TEST(AnyProcessNamed, AnswersNoWithoutASnapshot) {
    FakeProcesses processes = RunningSystem();
    processes.snapshotAvailable = false;
    EXPECT_FALSE(AnyProcessNamed(processes, "orvo.exe"));
}

TEST(TerminateProcessesNamed, EndsEveryMatchInSnapshotOrder) {
    FakeProcesses processes = RunningSystem();
    EXPECT_TRUE(TerminateProcessesNamed(processes, "orvo.exe"));
    EXPECT_THAT(processes.terminated, ElementsAre(12, 52, 68));
    EXPECT_EQ(processes.snapshotsHeld, 0);
}

TEST(TerminateProcessesNamed, EndsTheCallerLastAndAfterReleasingTheSnapshot) {
    // The caller comes first in the walk, before the other copies of itself.
    FakeProcesses processes(
        {{kSelf, "orvo.exe"}, {48, "ORVO.exe"}, {20, "x.exe"}, {56, "orvo.exe"}}, kSelf);
    EXPECT_TRUE(TerminateProcessesNamed(processes, "Orvo.exe"));
    EXPECT_THAT(processes.terminated, ElementsAre(48, 56, kSelf));
    EXPECT_THAT(processes.snapshotHeldAtTermination, ElementsAre(true, true, false));
}

TEST(TerminateProcessesNamed, GivesTheResultOfReleasingTheSnapshotWhateverMatched) {
    for (const char* name : {"orvo.exe", "nothing.exe"}) {
        FakeProcesses processes = RunningSystem();
        processes.releaseSucceeds = false;
        EXPECT_FALSE(TerminateProcessesNamed(processes, name)) << name;
    }
}

TEST(TerminateProcessesNamed, EndsNothingForANameNoProcessHasOrANullName) {
    for (const char* name : {"nothing.exe", "orv", "*", static_cast<const char*>(nullptr)}) {
        FakeProcesses processes = RunningSystem();
        EXPECT_TRUE(TerminateProcessesNamed(processes, name)) << (name ? name : "null");
        EXPECT_THAT(processes.terminated, IsEmpty());
    }
}

TEST(TerminateProcessesNamed, EndsNothingInAnEmptySnapshot) {
    FakeProcesses processes({}, kSelf);
    EXPECT_TRUE(TerminateProcessesNamed(processes, "orvo.exe"));
    EXPECT_THAT(processes.terminated, IsEmpty());
}

// Nothing was released, so success would be a false report.
TEST(TerminateProcessesNamed, ReportsFailureWithoutASnapshot) {
    FakeProcesses processes = RunningSystem();
    processes.snapshotAvailable = false;
    EXPECT_FALSE(TerminateProcessesNamed(processes, "orvo.exe"));
    EXPECT_THAT(processes.terminated, IsEmpty());
}

}  // namespace
}  // namespace orvo::procutil
