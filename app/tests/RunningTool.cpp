#include "RunningTool.h"

#include <windows.h>

#include <filesystem>

namespace orvo::testing {
namespace {

namespace fs = std::filesystem;

constexpr wchar_t kProgram[] = L"OrvoUpgradeTool.exe";
constexpr char kSimOutputFolder[] = "sim-out";
constexpr int kExitButton = 2;

}  // namespace

RunningTool::RunningTool() {
    for (const fs::directory_entry& entry : fs::directory_iterator(ORVO_DIST_SIM_DIR)) {
        fs::copy_file(entry.path(), folder_.Path() / entry.path().filename());
    }
    fs::create_directory(folder_.Path() / kSimOutputFolder);
}

void RunningTool::TearDown() {
    if (!program_ || program_->HasEnded()) {
        return;
    }
    if (window_ && window_->Exists()) {
        window_->Click(kExitButton);
    }
    program_->WaitForEnd(kStepTimeout);  // what is left is ended by force
}

void RunningTool::Start(const std::vector<drive::EnvironmentChange>& device) {
    // The simulator reads ORVO_SIM_*: none may come from this process's own environment.
    std::vector<drive::EnvironmentChange> environment = {
        {L"ORVO_SIM_SERIAL", std::nullopt},
        {L"ORVO_SIM_FAULTS", std::nullopt},
        {L"ORVO_SIM_LATENCY_US", std::nullopt},
        {L"ORVO_SIM_OUTPUT", (folder_.Path() / kSimOutputFolder).wstring()},
    };
    environment.insert(environment.end(), device.begin(), device.end());
    program_.emplace((folder_.Path() / kProgram).wstring(), folder_.Path().wstring(), environment);
}

const drive::ProgramWindow& RunningTool::WaitForWindow() {
    window_ = drive::ProgramWindow::WaitFor(program_->ProcessId(), kStartTimeout);
    if (!window_) {
        ADD_FAILURE() << "the tool's window did not come";
        throw std::runtime_error("no window");
    }
    return *window_;
}

HWND RunningTool::ExpectMessage(const std::wstring& text, HWND besides) {
    const auto box = drive::WaitForMessageBox(program_->ProcessId(), kStepTimeout, besides);
    if (!box) {
        ADD_FAILURE() << "no message box came";
        throw std::runtime_error("no message box");
    }
    EXPECT_EQ(box->Caption(), L"OrvoUpgradeTool");
    EXPECT_EQ(box->Text(), text);
    const HWND owner = box->Owner();
    EXPECT_TRUE(box->PressOk()) << "the message box stayed after OK";
    return owner;
}

std::wstring RunningTool::LanguageText(const wchar_t* section, std::string_view key) const {
    wchar_t text[256] = {};
    const std::wstring wideKey(key.begin(), key.end());
    GetPrivateProfileStringW(section, wideKey.c_str(), L"", text, 256,
                             (folder_.Path() / "language.ini").wstring().c_str());
    EXPECT_NE(text[0], L'\0') << "language.ini has no text for the key";
    return text;
}

std::string RunningTool::SimOutput(const char* name) const {
    return folder_.Read(std::string(kSimOutputFolder) + "/" + name);
}

}  // namespace orvo::testing
