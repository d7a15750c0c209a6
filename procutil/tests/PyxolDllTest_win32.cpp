// Pyxol.dll as its callers load it, against real processes: copies of orvo-sleeper.exe.
#include "ChildProcess.h"
#include "ProcessSweep.h"
#include "PyxolLibrary_win32.h"
#include "ToolHelpProcesses_win32.h"
#include "WindowsPath.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orvo::procutil {
namespace {

using orvo::testing::BesideThisProgram;
using orvo::testing::ChildProcess;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr char kSleeperName[] = "orvo-sleeper.exe";

const std::string kSleeper = BesideThisProgram(kSleeperName);
const std::string kPyxolCall = BesideThisProgram("pyxol-call.exe");

const PyxolLibrary& Pyxol() {
    static const PyxolLibrary library(BesideThisProgram("Pyxol.dll").c_str());
    return library;
}

// Through the looked-up exports, as outside callers reach them.
int CallSearchProgress(const char* name) {
    return Pyxol().Find("SearchProgress")(name);
}

int CallCloseProgress(const char* name) {
    return Pyxol().Find("CloseProgress")(name);
}

struct Exports {
    DWORD functionCount = 0;
    std::vector<std::string> sortedNames;
};

// What the export directory of the loaded image lists.
Exports ExportsOf(HMODULE module) {
    const auto* base = reinterpret_cast<const BYTE*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    Exports found;
    if (directory.Size == 0) {
        return found;
    }
    const auto* exports =
        reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + directory.VirtualAddress);
    const auto* nameRvas = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    for (DWORD i = 0; i < exports->NumberOfNames; ++i) {
        found.sortedNames.emplace_back(reinterpret_cast<const char*>(base + nameRvas[i]));
    }
    std::sort(found.sortedNames.begin(), found.sortedNames.end());
    found.functionCount = exports->NumberOfFunctions;
    return found;
}

// The process ids in the order a walk of a fresh snapshot meets them.
std::vector<ProcessId> SnapshotOrder() {
    ToolHelpProcesses processes;
    std::vector<ProcessId> ids;
    if (processes.TakeSnapshot()) {
        VisitProcesses(processes, [&ids](const ProcessEntry& entry) {
            ids.push_back(entry.id);
            return true;
        });
    }
    return ids;
}

bool ComesBefore(const std::vector<ProcessId>& order, ProcessId first, ProcessId second) {
    auto at = [&order](ProcessId id) { return std::find(order.begin(), order.end(), id); };
    return at(first) < at(second) && at(second) != order.end();
}

TEST(PyxolExports, AreExactlyTheTwoFunctionsByTheirPlainNames) {
    ASSERT_TRUE(Pyxol().IsLoaded());
    EXPECT_NE(Pyxol().Find("SearchProgress"), nullptr);
    EXPECT_NE(Pyxol().Find("CloseProgress"), nullptr);
    const Exports exports = ExportsOf(Pyxol().Module());
    EXPECT_THAT(exports.sortedNames, ElementsAre("CloseProgress", "SearchProgress"));
    // Exports by number alone would not show among the names.
    EXPECT_EQ(exports.functionCount, 2u);
}

// Two copies of the sleeper for all cases of a table, since every start is slow under Wine.
class TwoSleepers {
public:
    bool BothRunning() const { return first_.IsRunning() && second_.IsRunning(); }

private:
    ChildProcess first_{kSleeper};
    ChildProcess second_{kSleeper};
};

template <typename Name>
class WithTwoSleepers : public ::testing::TestWithParam<Name> {
protected:
    static void SetUpTestSuite() { sleepers_ = std::make_unique<TwoSleepers>(); }
    static void TearDownTestSuite() { sleepers_.reset(); }
    static inline std::unique_ptr<TwoSleepers> sleepers_;
};

class NamesOfRunningSleepers : public WithTwoSleepers<std::string> {};

TEST_P(NamesOfRunningSleepers, AreFoundInAnyLetterCase) {
    ASSERT_TRUE(sleepers_->BothRunning());
    EXPECT_EQ(CallSearchProgress(GetParam().c_str()), 1);
}

INSTANTIATE_TEST_SUITE_P(LetterCases, NamesOfRunningSleepers,
                         ::testing::Values("orvo-sleeper.exe", "ORVO-SLEEPER.EXE",
                                           "Orvo-Sleeper.Exe"));

// No name at all stands for the null pointer.
class NamesNoProcessHas : public WithTwoSleepers<std::optional<std::string>> {
protected:
    const char* Name() const { return GetParam() ? GetParam()->c_str() : nullptr; }
};

TEST_P(NamesNoProcessHas, AreNotFoundAndEndNothing) {
    ASSERT_TRUE(sleepers_->BothRunning());
    EXPECT_EQ(CallSearchProgress(Name()), 0);
    EXPECT_NE(CallCloseProgress(Name()), 0);
    EXPECT_TRUE(sleepers_->BothRunning());
}

INSTANTIATE_TEST_SUITE_P(PartsAndPatterns, NamesNoProcessHas,
                         ::testing::Values(std::nullopt, "", "orvo-sleeper", "orvo-sleeper.ex",
                                           "orvo-sleeper.exe ", " orvo-sleeper.exe", "sleeper.exe",
                                           "orvo-sleeper.*", "*", ".\\orvo-sleeper.exe", kSleeper,
                                           "no-such-program.exe"));

TEST(CloseProgress, EndsEveryCopyAndThenFindsNone) {
    ChildProcess first(kSleeper);
    ChildProcess second(kSleeper);
    ASSERT_TRUE(first.IsRunning() && second.IsRunning());

    EXPECT_NE(CallCloseProgress("ORVO-sleeper.EXE"), 0);
    EXPECT_EQ(first.WaitForExit(), 0);
    EXPECT_EQ(second.WaitForExit(), 0);
    EXPECT_EQ(CallSearchProgress(kSleeperName), 0);
}

TEST(CloseProgress, WithTheCallersOwnNameEndsTheOtherCopiesAndThenTheCaller) {
    const std::string eventName = "orvo-pyxol-go-" + std::to_string(GetCurrentProcessId());
    KernelHandle go(CreateEventA(nullptr, TRUE, FALSE, eventName.c_str()));
    ASSERT_TRUE(go.IsValid());
    ChildProcess caller(kSleeper, "close Orvo-Sleeper.exe " + eventName);
    ChildProcess first(kSleeper);
    ChildProcess second(kSleeper);
    ASSERT_TRUE(caller.IsRunning() && first.IsRunning() && second.IsRunning());
    // Only when the walk meets the caller first could ending it there spare its copies.
    const std::vector<ProcessId> order = SnapshotOrder();
    ASSERT_TRUE(ComesBefore(order, caller.ProcessId(), first.ProcessId()) &&
                ComesBefore(order, caller.ProcessId(), second.ProcessId()));

    SetEvent(go.Get());
    EXPECT_EQ(first.WaitForExit(), 0);
    EXPECT_EQ(second.WaitForExit(), 0);
    EXPECT_EQ(caller.WaitForExit(), 0) << "3: CloseProgress returned to its caller";
}

TEST(PyxolCall, CallsEitherExportByNameAndExitsWithTheResult) {
    ChildProcess sleeper(kSleeper);
    ASSERT_TRUE(sleeper.IsRunning());

    ChildProcess found(kPyxolCall, "search ORVO-SLEEPER.EXE");
    EXPECT_THAT(found.ReadOutput(), HasSubstr("SearchProgress: 1"));
    EXPECT_EQ(found.WaitForExit(), 0);

    ChildProcess closed(kPyxolCall, "close orvo-sleeper.exe");
    EXPECT_THAT(closed.ReadOutput(), HasSubstr("CloseProgress: 1"));
    EXPECT_EQ(closed.WaitForExit(), 0);
    EXPECT_EQ(sleeper.WaitForExit(), 0);

    ChildProcess gone(kPyxolCall, "search orvo-sleeper.exe");
    EXPECT_THAT(gone.ReadOutput(), HasSubstr("SearchProgress: 0"));
    EXPECT_EQ(gone.WaitForExit(), 1);
}

}  // namespace
}  // namespace orvo::procutil
