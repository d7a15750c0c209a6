// Pyxol.dll as its callers load it, against real processes: copies of orvo-sleeper.exe.
#include "ChildProcess_win32.h"
#include "PyxolLibrary_win32.h"
#include "ToolHelpProcesses_win32.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orvo::procutil {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr char kSleeperName[] = "orvo-sleeper.exe";

std::wstring Quoted(const std::wstring& path) {
    return L"\"" + path + L"\"";
}

std::wstring SleeperCommand(const std::wstring& arguments = L"") {
    return Quoted(ProgramFolder() + L"\\orvo-sleeper.exe") + L" " + arguments;
}

std::wstring ToolCommand(const std::wstring& arguments) {
    return Quoted(ProgramFolder() + L"\\pyxol-call.exe") + L" " + arguments;
}

const PyxolLibrary& Pyxol() {
    static const PyxolLibrary library((ProgramFolder() + L"\\Pyxol.dll").c_str());
    return library;
}

int SearchProgress(const char* name) {
    return Pyxol().Find("SearchProgress")(name);
}
int CloseProgress(const char* name) {
    return Pyxol().Find("CloseProgress")(name);
}

// The names in the export directory of the loaded image, sorted.
std::vector<std::string> ExportedNames(HMODULE module) {
    const auto* base = reinterpret_cast<const BYTE*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    std::vector<std::string> names;
    if (directory.Size == 0) {
        return names;
    }
    const auto* exports =
        reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + directory.VirtualAddress);
    const auto* nameRvas = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    for (DWORD i = 0; i < exports->NumberOfNames; ++i) {
        names.emplace_back(reinterpret_cast<const char*>(base + nameRvas[i]));
    }
    // Exports by number alone would not show among the names.
    EXPECT_EQ(exports->NumberOfFunctions, exports->NumberOfNames);
    std::sort(names.begin(), names.end());
    return names;
}

// The process ids in the order a walk of a fresh snapshot meets them.
std::vector<ProcessId> SnapshotOrder() {
    ToolHelpProcesses processes;
    std::vector<ProcessId> ids;
    ProcessEntry entry;
    if (processes.TakeSnapshot()) {
        for (bool more = processes.ReadFirstProcess(entry); more;
             more = processes.ReadNextProcess(entry)) {
            ids.push_back(entry.id);
        }
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
    EXPECT_THAT(ExportedNames(Pyxol().Module()), ElementsAre("CloseProgress", "SearchProgress"));
}

// Two copies of the sleeper for all cases of a table, since every start is slow under Wine.
class TwoSleepers {
  public:
    bool BothRunning() const { return first_.IsRunning() && second_.IsRunning(); }

  private:
    ChildProcess first_{SleeperCommand()};
    ChildProcess second_{SleeperCommand()};
};

class NamesOfRunningSleepers : public ::testing::TestWithParam<std::string> {
  protected:
    static void SetUpTestSuite() { sleepers_ = std::make_unique<TwoSleepers>(); }
    static void TearDownTestSuite() { sleepers_.reset(); }
    static inline std::unique_ptr<TwoSleepers> sleepers_;
};

TEST_P(NamesOfRunningSleepers, AreFoundInAnyLetterCase) {
    ASSERT_TRUE(sleepers_->BothRunning());
    EXPECT_EQ(SearchProgress(GetParam().c_str()), 1);
}

INSTANTIATE_TEST_SUITE_P(LetterCases, NamesOfRunningSleepers,
                         ::testing::Values("orvo-sleeper.exe", "ORVO-SLEEPER.EXE",
                                           "Orvo-Sleeper.Exe"));

// No name at all stands for the null pointer.
class NamesNoProcessHas : public ::testing::TestWithParam<std::optional<std::string>> {
  protected:
    static void SetUpTestSuite() { sleepers_ = std::make_unique<TwoSleepers>(); }
    static void TearDownTestSuite() { sleepers_.reset(); }
    static inline std::unique_ptr<TwoSleepers> sleepers_;

    const char* Name() const { return GetParam() ? GetParam()->c_str() : nullptr; }
};

TEST_P(NamesNoProcessHas, AreNotFoundAndEndNothing) {
    ASSERT_TRUE(sleepers_->BothRunning());
    EXPECT_EQ(SearchProgress(Name()), 0);
    EXPECT_NE(CloseProgress(Name()), 0);
    EXPECT_TRUE(sleepers_->BothRunning());
}

std::string SleeperPathAnsi() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of('\\')) + "\\" + kSleeperName;
}

INSTANTIATE_TEST_SUITE_P(PartsAndPatterns, NamesNoProcessHas,
                         ::testing::Values(std::nullopt, "", "orvo-sleeper", "orvo-sleeper.ex",
                                           "orvo-sleeper.exe ", " orvo-sleeper.exe", "sleeper.exe",
                                           "orvo-sleeper.*", "*", ".\\orvo-sleeper.exe",
                                           SleeperPathAnsi(), "no-such-program.exe"));

TEST(CloseProgress, EndsEveryCopyAndThenFindsNone) {
    ChildProcess first(SleeperCommand());
    ChildProcess second(SleeperCommand());
    ASSERT_TRUE(first.IsRunning() && second.IsRunning());

    EXPECT_NE(CloseProgress("ORVO-sleeper.EXE"), 0);
    EXPECT_EQ(first.WaitForExit(), 0u);
    EXPECT_EQ(second.WaitForExit(), 0u);
    EXPECT_EQ(SearchProgress(kSleeperName), 0);
}

TEST(CloseProgress, WithTheCallersOwnNameEndsTheOtherCopiesAndThenTheCaller) {
    const std::wstring eventName = L"orvo-pyxol-go-" + std::to_wstring(GetCurrentProcessId());
    OwnedHandle go(CreateEventW(nullptr, TRUE, FALSE, eventName.c_str()));
    ASSERT_TRUE(go.IsValid());
    ChildProcess caller(SleeperCommand(L"close Orvo-Sleeper.exe " + eventName));
    ChildProcess first(SleeperCommand());
    ChildProcess second(SleeperCommand());
    ASSERT_TRUE(caller.IsRunning() && first.IsRunning() && second.IsRunning());
    // Only when the walk meets the caller first could ending it there spare its copies.
    const std::vector<ProcessId> order = SnapshotOrder();
    ASSERT_TRUE(ComesBefore(order, caller.Id(), first.Id()) &&
                ComesBefore(order, caller.Id(), second.Id()));

    SetEvent(go.Get());
    EXPECT_EQ(first.WaitForExit(), 0u);
    EXPECT_EQ(second.WaitForExit(), 0u);
    EXPECT_EQ(caller.WaitForExit(), 0u) << "3: CloseProgress returned to its caller";
}

TEST(PyxolCall, CallsEitherExportByNameAndExitsWithTheResult) {
    ChildProcess sleeper(SleeperCommand());
    ASSERT_TRUE(sleeper.IsRunning());

    ChildProcess found(ToolCommand(L"search ORVO-SLEEPER.EXE"), ChildProcess::Output::Captured);
    EXPECT_THAT(found.ReadOutput(), HasSubstr("SearchProgress: 1"));
    EXPECT_EQ(found.WaitForExit(), 0u);

    ChildProcess closed(ToolCommand(L"close orvo-sleeper.exe"), ChildProcess::Output::Captured);
    EXPECT_THAT(closed.ReadOutput(), HasSubstr("CloseProgress: 1"));
    EXPECT_EQ(closed.WaitForExit(), 0u);
    EXPECT_EQ(sleeper.WaitForExit(), 0u);

    ChildProcess gone(ToolCommand(L"search orvo-sleeper.exe"), ChildProcess::Output::Captured);
    EXPECT_THAT(gone.ReadOutput(), HasSubstr("SearchProgress: 0"));
    EXPECT_EQ(gone.WaitForExit(), 1u);
}

}  // namespace
}  // namespace orvo::procutil
