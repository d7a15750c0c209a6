// The simulated device played by sim-rig-server over real overlapped named-pipe I/O, reached
// through the real setup API and pipe calls: by the real program of the distribution folder
// (which links the pipe library for real devices) for whole upgrades, also across an unplug and
// a plug-in, with the driver calls of the steady state counted, and with two devices plugged
// in; and by qxUSBDev.dll loaded directly for a silent reply and an unplugged device.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "ChildProcess.h"
#include "DialogControls.h"
#include "PipeDll.h"
#include "RigProcess.h"
#include "ScopedEnvironment.h"
#include "TempFolder.h"
#include "UpgradeImage.h"
#include "WindowsPath.h"

namespace orvo::testing {
namespace {

constexpr wchar_t kMainTitle[] = L"Velmora Orvo I Upgrade Tool";
constexpr char kDeviceFolder[] = "device";  // what the device received, inside the test folder
// Every step of a working run takes well under a second; this only ends a broken one.
constexpr DWORD kStepLimitMs = 30000;

bool WaitUntil(const std::function<bool()>& condition) {
    const ULONGLONG deadline = GetTickCount64() + kStepLimitMs;
    while (!condition()) {
        if (GetTickCount64() > deadline) {
            return false;
        }
        Sleep(20);
    }
    return true;
}

// --- Driving the program's window from outside, as a user would. -----------------------------

struct WindowSearch {
    DWORD processId;
    std::function<bool(HWND)> wanted;
    HWND found = nullptr;
};

BOOL CALLBACK TakeWindowIfWanted(HWND window, LPARAM state) {
    auto& search = *reinterpret_cast<WindowSearch*>(state);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search.processId && search.wanted(window)) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindTopWindow(DWORD processId, std::function<bool(HWND)> wanted) {
    WindowSearch search{processId, std::move(wanted)};
    EnumWindows(TakeWindowIfWanted, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring WindowText(HWND window) {
    wchar_t text[512] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 1000, &copied);
    return text;
}

HWND FindMainWindow(DWORD processId) {
    HWND main = nullptr;
    WaitUntil([&] {
        main = FindTopWindow(processId, [](HWND w) { return WindowText(w) == kMainTitle; });
        return main != nullptr;
    });
    return main;
}

// Any other dialog of the program: a message box.
HWND FindMessageBox(DWORD processId, HWND main) {
    return FindTopWindow(processId, [main](HWND w) {
        wchar_t className[16] = {};
        GetClassNameW(w, className, std::size(className));
        return w != main && IsWindowVisible(w) && std::wstring(className) == L"#32770";
    });
}

// Clicks Start Upgrade. The status is cleared first, as the click itself clears it, so that a
// previous run's text cannot be taken for this one's.
void StartUpgrade(HWND main) {
    const HWND bar = GetDlgItem(main, control::kProgress);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(bar, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""), SMTO_ABORTIFHUNG, 1000,
                        &ignored);
    PostMessageW(main, WM_COMMAND, MAKEWPARAM(control::kStartUpgrade, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(main, control::kStartUpgrade)));
}

// The progress bar answers WM_GETTEXT with its status text.
std::wstring Status(HWND main) {
    return WindowText(GetDlgItem(main, control::kProgress));
}

// Waits until the status shows one of `texts`; the one it shows then.
std::wstring WaitForStatus(HWND main, const std::vector<std::wstring>& texts) {
    std::wstring status;
    WaitUntil([&] {
        status = Status(main);
        return std::find(texts.begin(), texts.end(), status) != texts.end();
    });
    return status;
}

// --- The program's folder and the device's record of what it received. -----------------------

class ProgramFolder {
public:
    ProgramFolder() {
        std::filesystem::copy(WindowsPath(ORVO_DIST_DIR), folder_.Path(),
                              std::filesystem::copy_options::recursive);
        std::filesystem::copy_file(WindowsPath(ORVO_SAMPLE_IMAGE),
                                   folder_.File("orvo_upgrade.bin"));
    }

    const TempFolder& Folder() const { return folder_; }
    std::string Path() const { return folder_.Path().string(); }
    std::string DeviceFolder() const { return folder_.File(kDeviceFolder); }

    // A text of language.ini in English, read the way the program reads it.
    std::wstring Text(const wchar_t* key) const {
        wchar_t text[512] = {};
        GetPrivateProfileStringW(L"LANGUAGE_EN", key, L"", text, std::size(text),
                                 (folder_.Path() / "language.ini").wstring().c_str());
        return text;
    }

    // The image's internal and external parts, as the device must have received them.
    std::pair<std::string, std::string> ImageParts() const {
        const std::string image = folder_.Read("orvo_upgrade.bin");
        const auto* start = reinterpret_cast<const std::uint8_t*>(image.data());
        const ImageLayout layout = ReadImageLayout(start, image.size(), image.size());
        const auto internalSize = static_cast<std::size_t>(layout.internalSize);
        return {image.substr(kImageHeaderLength, internalSize),
                image.substr(kImageHeaderLength + internalSize)};
    }
    std::pair<std::string, std::string> ReceivedParts() const {
        return {folder_.Read(Received("internal.bin")), folder_.Read(Received("external.bin"))};
    }
    bool HasReceivedParts() const { return folder_.Exists(Received("internal.bin")); }
    void ForgetReceivedParts() const {
        std::filesystem::remove(folder_.File(Received("internal.bin")));
        std::filesystem::remove(folder_.File(Received("external.bin")));
    }

private:
    static std::string Received(const char* name) {
        return std::string(kDeviceFolder) + "/" + name;
    }

    TempFolder folder_;
};

// A setting of the simulated device, given to the servers this test starts.
class SimRigTest : public ::testing::Test {
protected:
    ProgramFolder program;
    ScopedEnvironment output{"ORVO_SIM_OUTPUT", program.DeviceFolder()};
    RigProcess rig{ORVO_SIM_RIG_SERVER};
};

// --- The real program. -----------------------------------------------------------------------

class RealProgram : public SimRigTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(rig.Start(RigArguments()));
        ASSERT_TRUE(tool.Start(program.Folder().File("OrvoUpgradeTool.exe"), "", program.Path()));
        main = FindMainWindow(tool.ProcessId());
        ASSERT_NE(main, nullptr) << "the main window did not appear";
    }

    void ExpectWholeUpgrade() {
        StartUpgrade(main);
        // Success shows T2, failure T3.
        ASSERT_EQ(WaitForStatus(main, {program.Text(L"T2"), program.Text(L"T3")}),
                  program.Text(L"T2"));
        const auto [internal, external] = program.ReceivedParts();
        const auto [imageInternal, imageExternal] = program.ImageParts();
        EXPECT_EQ(internal.size(), imageInternal.size());
        EXPECT_TRUE(internal == imageInternal) << "internal part differs";
        EXPECT_EQ(external.size(), imageExternal.size());
        EXPECT_TRUE(external == imageExternal) << "external part differs";
    }

    // Waits for the run's failure and closes its message, which must be `key`'s text.
    void ExpectFailedUpgrade(const wchar_t* key = L"T5") {
        ASSERT_EQ(WaitForStatus(main, {program.Text(L"T2"), program.Text(L"T3")}),
                  program.Text(L"T3"));
        HWND box = nullptr;
        ASSERT_TRUE(WaitUntil([&] {
            return (box = FindMessageBox(tool.ProcessId(), main)) != nullptr;
        })) << "no message for the failure";
        EXPECT_EQ(WindowText(GetDlgItem(box, 0xFFFF)), program.Text(key));
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
    }

    virtual std::string RigArguments() const { return ""; }

    void TearDown() override {
        if (!tool.IsRunning()) {
            return;
        }
        // A message left open by a failed run would hold the window up.
        if (const HWND box = FindMessageBox(tool.ProcessId(), main)) {
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
        PostMessageW(main, WM_COMMAND, IDCANCEL, 0);
        EXPECT_EQ(tool.Finish(), 0) << "the program did not end by its Exit";
    }

    ChildProcess tool;
    HWND main = nullptr;
};

TEST_F(RealProgram, UpgradesTheDeviceWithEveryByteOfTheImage) {
    ExpectWholeUpgrade();
}

TEST_F(RealProgram, FailsWhileTheDeviceIsUnpluggedAndUpgradesOncePluggedInAgain) {
    ExpectWholeUpgrade();
    ASSERT_TRUE(rig.Quit());
    program.ForgetReceivedParts();

    StartUpgrade(main);
    ExpectFailedUpgrade();
    EXPECT_FALSE(program.HasReceivedParts());

    ASSERT_TRUE(rig.Start());
    ExpectWholeUpgrade();
}

// Once each pipe is open, a block costs the driver its four transfers and nothing else: a
// second upgrade opens, closes and searches nothing, and moves one frame and one reply per
// frame of the image.
TEST_F(RealProgram, SecondUpgradeMakesOnlyItsTransfers) {
    ExpectWholeUpgrade();
    const auto before = rig.Counts();
    ExpectWholeUpgrade();
    const auto after = rig.Counts();
    ASSERT_TRUE(before && after);
    const std::string image = program.Folder().Read("orvo_upgrade.bin");
    const ImageLayout layout = ReadImageLayout(reinterpret_cast<const std::uint8_t*>(image.data()),
                                               image.size(), image.size());
    const long blocks = static_cast<long>(BlockCount(layout.internalSize, kInternalBlockSize) +
                                          BlockCount(layout.externalSize, kExternalBlockSize));
    // Commands 10, 11, 6, the two starts and the end, then an announcement and a data frame a
    // block.
    constexpr long kCommands = 6;
    EXPECT_EQ(after->opens - before->opens, 0);
    EXPECT_EQ(after->closes - before->closes, 0);
    EXPECT_EQ(after->deviceOpens - before->deviceOpens, 0);
    EXPECT_EQ(after->writes - before->writes, kCommands + 2 * blocks);
    EXPECT_EQ(after->reads - before->reads, kCommands + 2 * blocks);
}

// Two devices plugged in; the one the program found goes in the middle of an upgrade (unplugged,
// or pulled out and left listed). Nothing of that upgrade, nor of a job started while it is
// still listed, reaches the other; once plugged in again, the next job upgrades it whole.
class TwoDevices : public RealProgram, public ::testing::WithParamInterface<const char*> {
protected:
    void SetUp() override {
        RealProgram::SetUp();
        const ScopedEnvironment otherOutput("ORVO_SIM_OUTPUT", program.Folder().File("device-b"));
        ASSERT_TRUE(other.Start("--name ORVO_RIG_B"));
    }

    // A's serial number, the greeting and 9 frames of the upgrade reach it; the next does not.
    std::string RigArguments() const override {
        return std::string("--name ORVO_RIG_A ") + GetParam() + " 12";
    }

    bool OtherReceivedAFrame() const {
        std::istringstream log(program.Folder().Read("device-b/traffic.log"));
        std::string line;
        while (std::getline(log, line)) {
            if (!line.empty() && line.rfind("note: ", 0) != 0) {
                return true;
            }
        }
        return false;
    }

    RigProcess other{ORVO_SIM_RIG_SERVER};
};

TEST_P(TwoDevices, DeviceThatGoesMidUpgradeIsNotLeftForTheOther) {
    StartUpgrade(main);
    ExpectFailedUpgrade();
    ASSERT_TRUE(rig.WaitUntilGone());
    EXPECT_FALSE(program.HasReceivedParts());
    EXPECT_FALSE(OtherReceivedAFrame());
    if (std::string(GetParam()) == "--pull-after") {
        // Still listed: a job now fails rather than go to the other device.
        StartUpgrade(main);
        ExpectFailedUpgrade();
        EXPECT_FALSE(OtherReceivedAFrame());
    }
    ASSERT_TRUE(rig.Start("--name ORVO_RIG_A"));
    ExpectWholeUpgrade();
    EXPECT_FALSE(OtherReceivedAFrame());
}

INSTANTIATE_TEST_SUITE_P(UnpluggedOrPulled, TwoDevices,
                         ::testing::Values("--unplug-after", "--pull-after"), [](const auto& info) {
                             return std::string(info.param) == "--pull-after" ? "Pulled"
                                                                              : "Unplugged";
                         });

// orvo keeps the Windows error the pipe library left beside the device's error code.
TEST_F(SimRigTest, OrvoWithoutADeviceReportsTheLibrarysWindowsError) {
    ChildProcess orvo;
    ASSERT_TRUE(orvo.Start(program.Folder().File("orvo.exe"), "read-sn --json", program.Path()));
    const std::string out = orvo.ReadOutput();
    EXPECT_EQ(orvo.WaitForExit(), 4);
    EXPECT_THAT(out, ::testing::HasSubstr(R"("key":"T5","code":0,"windows_error":)"));
    EXPECT_THAT(out, ::testing::Not(::testing::HasSubstr(R"("windows_error":0,)")));
}

// --- qxUSBDev.dll loaded directly. -----------------------------------------------------------

class DirectDll : public SimRigTest {
protected:
    // 16 bytes written on pipe 1, the reply's 16 read from pipe 0.
    std::optional<std::string> ReadSerial(int readTimeOutMs = 1000) {
        unsigned char frame[16] = {0x55, 0xAA, 0x06};
        frame[15] = 0x05;
        if (dll.write(1, frame, 16, 1000) != 16) {
            return std::nullopt;
        }
        unsigned char reply[16] = {};
        if (dll.read(0, reply, 16, readTimeOutMs) != 16 || reply[2] != 0x86) {
            return std::nullopt;
        }
        return std::string(reply + 3, reply + 15);
    }

    usbpipe::PipeDll dll{program.Folder().File("qxUSBDev.dll")};
};

// The serial number shows the device's own settings reach it through the server.
constexpr char kSerial[] = "963695004321";

TEST_F(DirectDll, DeviceThatDoesNotAnswerTimesTheReadOutAndAnswersTheNextFrame) {
    const ScopedEnvironment serial("ORVO_SIM_SERIAL", kSerial);
    const ScopedEnvironment noReply("ORVO_SIM_FAULTS", "no-reply@1");
    ASSERT_TRUE(rig.Start());
    ASSERT_TRUE(dll.HasCalls());
    EXPECT_EQ(ReadSerial(), kSerial);

    constexpr int kTimeOutMs = 300;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(ReadSerial(kTimeOutMs), std::nullopt);
    // Wine's clock may count the wait a tick short; it must not end much earlier.
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(kTimeOutMs - 20));
    EXPECT_EQ(ReadSerial(), kSerial);
}

TEST_F(DirectDll, UnpluggedDeviceFailsEveryCallAndIsFoundAgainWhenPluggedIn) {
    ASSERT_TRUE(rig.Start());
    ASSERT_TRUE(dll.HasCalls());
    EXPECT_TRUE(ReadSerial().has_value());
    ASSERT_TRUE(rig.Quit());
    EXPECT_EQ(ReadSerial(), std::nullopt);
    unsigned char reply[16] = {};
    EXPECT_EQ(dll.read(0, reply, 16, 1000), -1);
    ASSERT_TRUE(rig.Start());
    EXPECT_TRUE(ReadSerial().has_value());
}

}  // namespace
}  // namespace orvo::testing
