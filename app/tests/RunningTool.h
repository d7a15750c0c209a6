#pragma once
// The real tool, as a technician runs it: OrvoUpgradeTool.exe started in a folder of its own
// holding the files of dist-sim/, on the simulated device, and driven from this process.
#include "DialogControls.h"
#include "DrivenProgram.h"
#include "MessageBoxes.h"
#include "ProgramWindow.h"
#include "TempFolder.h"
#include "TextKeys.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvo::testing {

inline constexpr std::chrono::milliseconds kStartTimeout{30000};
inline constexpr std::chrono::milliseconds kStepTimeout{10000};
inline constexpr std::chrono::milliseconds kUpgradeTimeout{60000};

class RunningTool : public ::testing::Test {
protected:
    RunningTool();
    // Ends a tool still running the way a technician would, with the Exit button.
    void TearDown() override;

    // Starts the tool; the simulated device takes `device` on top of its output folder.
    void Start(const std::vector<drive::EnvironmentChange>& device = {});
    // Waits for the main window; fails the test when it does not come.
    const drive::ProgramWindow& WaitForWindow();
    const drive::ProgramWindow& Window() const { return *window_; }
    DWORD ProcessId() const { return program_->ProcessId(); }
    bool HasEnded() const { return program_->HasEnded(); }
    std::optional<DWORD> WaitForEnd(std::chrono::milliseconds timeout) const {
        return program_->WaitForEnd(timeout);
    }

    // The next message box of the tool but `besides`: it must come, carry the program's name
    // and show `text`; it is closed with OK. Returns the window that owned it.
    HWND ExpectMessage(const std::wstring& text, HWND besides = nullptr);

    // A text of language.ini as the tool is given it; an empty text fails the test, since an
    // empty expectation would prove nothing.
    std::wstring LanguageText(const wchar_t* section, std::string_view key) const;

    const TempFolder& Folder() const { return folder_; }
    // What the simulated device received (SimConfig.h).
    std::string SimOutput(const char* name) const;

private:
    TempFolder folder_;
    std::optional<drive::DrivenProgram> program_;
    std::optional<drive::ProgramWindow> window_;
};

}  // namespace orvo::testing
