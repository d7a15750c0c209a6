// Start Upgrade on the simulated device, from the click to the final text of the progress bar:
// a whole run, and a run the device breaks off; and closing the window while one runs.
#include "ApprovedImages.h"
#include "RunningTool.h"
#include "Sha256.h"

#include "Polling.h"

#include <cstdint>
#include <filesystem>
#include <string>

namespace orvo::testing {
namespace {

using namespace orvo::control;

std::uint32_t BigEndianAt(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value = value << 8 | static_cast<std::uint8_t>(bytes[at + i]);
    }
    return value;
}

// The image's two parts: the internal one is the first segment, which starts behind the
// 256-byte header and ends where the second entry's segment begins; the external one is all
// the rest of the file.
struct ImageParts {
    std::string internal;
    std::string external;
};

ImageParts PartsOf(const std::string& image) {
    const std::uint32_t externalStart = BigEndianAt(image, 7);
    return {image.substr(256, externalStart - 256), image.substr(externalStart)};
}

// What the window answers when Windows asks whether the session may end: 0 refuses.
DWORD_PTR AnswerToEndOfSession(const drive::ProgramWindow& window) {
    DWORD_PTR answer = 0xDEAD;
    SendMessageTimeoutW(window.Handle(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG,
                        5000, &answer);
    return answer;
}

class Upgrade : public RunningTool {};

TEST_F(Upgrade, RunsToTheEndAndRefusesToCloseMeanwhile) {
    // Slow enough that the run still goes on when the close request arrives.
    Start({{L"ORVO_SIM_LATENCY_US", L"50000"}});
    const drive::ProgramWindow& window = WaitForWindow();
    window.Click(kStartUpgrade);
    window.Click(kClose);  // handled once the click has started the worker

    // The refusal's box comes while the run goes on; so is the end of the session refused.
    ASSERT_TRUE(drive::WaitForMessageBox(ProcessId(), kStepTimeout));
    EXPECT_EQ(AnswerToEndOfSession(window), 0u) << "the session may not end during an upgrade";
    EXPECT_EQ(ExpectMessage(LanguageText(L"LANGUAGE_EN", text::kUpgradeRunning)), window.Handle())
        << "a refusal of the window's own thread is owned by the window";
    EXPECT_FALSE(HasEnded());

    EXPECT_TRUE(window.WaitForText(kProgress, LanguageText(L"LANGUAGE_EN", text::kUpgradeDone),
                                   kUpgradeTimeout))
        << "the bar shows " << ::testing::PrintToString(window.Text(kProgress));
    EXPECT_EQ(window.Text(kSnField), L"961990000100");
    const ImageParts sent = PartsOf(Folder().Read("orvo_upgrade.bin"));
    ASSERT_EQ(sent.internal.size(), 6000u);
    EXPECT_TRUE(SimOutput("internal.bin") == sent.internal) << "internal part differs";
    EXPECT_TRUE(SimOutput("external.bin") == sent.external) << "external part differs";

    // Idle again: the session may end, and the window closes.
    EXPECT_EQ(AnswerToEndOfSession(window), 1u);
    window.Click(kExit);
    EXPECT_EQ(WaitForEnd(kStepTimeout), std::optional<DWORD>(0));
}

TEST_F(Upgrade, FailureReplyShowsItsMessageAndTheFailedStatus) {
    // Frames 0 to 2 open the run and read the number; 3 starts the internal part, 4 and 5 are
    // its first block. Error code 3 is the device's third error: E2.
    Start({{L"ORVO_SIM_FAULTS", L"failure-reply@5:3"}});
    const drive::ProgramWindow& window = WaitForWindow();
    window.Click(kStartUpgrade);

    const auto error = drive::WaitForMessageBox(ProcessId(), kStepTimeout);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->Caption(), L"OrvoUpgradeTool");
    EXPECT_EQ(error->Text(), LanguageText(L"LANGUAGE_EN", text::kDeviceErrors[2]));
    EXPECT_EQ(error->Owner(), window.Handle())
        << "raised on the worker, owned by the main window, as the framework's boxes are";
    EXPECT_FALSE(IsWindowEnabled(window.Handle()))
        << "the main window waits for the box: the technician answers it first";
    EXPECT_EQ(GetForegroundWindow(), error->Handle()) << "the box comes to the front";

    // The worker waits in its message box: the run is not over, so no way of closing works,
    // even one that reaches the disabled window as a message. The keyboard goes to the box.
    for (int way : {kClose, kExit, IDOK}) {
        SCOPED_TRACE(way);
        window.Click(way);
        EXPECT_EQ(
            ExpectMessage(LanguageText(L"LANGUAGE_EN", text::kUpgradeRunning), error->Handle()),
            window.Handle());
        EXPECT_FALSE(HasEnded());
    }

    EXPECT_TRUE(error->PressOk());
    EXPECT_TRUE(
        drive::PollUntil([&] { return IsWindowEnabled(window.Handle()) != FALSE; }, kStepTimeout))
        << "the main window is enabled again once the box is answered";
    EXPECT_TRUE(window.WaitForText(kProgress, LanguageText(L"LANGUAGE_EN", text::kUpgradeFailed),
                                   kStepTimeout))
        << "the bar shows " << ::testing::PrintToString(window.Text(kProgress));
    EXPECT_EQ(SimOutput("internal.bin"), "") << "a broken-off run ends no upgrade";

    // The failed status follows a language change.
    window.SelectListItem(kLanguageList, 1);
    EXPECT_TRUE(window.WaitForText(kProgress, LanguageText(L"LANGUAGE_FR", text::kUpgradeFailed),
                                   kStepTimeout))
        << "the bar shows " << ::testing::PrintToString(window.Text(kProgress));
}

// With an approved-images list beside the program, the image CONFIG.INI names goes to the device
// while its sum is listed; one byte changed, the run stops with T20 naming it, and no frame of
// the upgrade goes out after the serial number.
TEST_F(Upgrade, WithAnApprovedListBesideTheProgramAChangedImageIsRefused) {
    const std::string image = Folder().Read("orvo_upgrade.bin");
    const std::string sum =
        Sha256Hex(reinterpret_cast<const std::uint8_t*>(image.data()), image.size());
    Folder().Write("approved-images.sha256", ApprovedImageLine(sum, "orvo_upgrade.bin") + "\r\n");
    Start();
    const drive::ProgramWindow& window = WaitForWindow();
    window.Click(kStartUpgrade);
    EXPECT_TRUE(window.WaitForText(kProgress, LanguageText(L"LANGUAGE_EN", text::kUpgradeDone),
                                   kUpgradeTimeout));

    std::string changed = image;
    changed[1000] ^= 0x01;
    Folder().Write("orvo_upgrade.bin", changed);
    const std::size_t trafficBefore = SimOutput("traffic.log").size();
    window.Click(kStartUpgrade);
    std::wstring refusal = LanguageText(L"LANGUAGE_EN", text::kImageNotApproved);
    refusal.replace(refusal.find(L"%1"), 2, L"orvo_upgrade.bin");
    ExpectMessage(refusal);
    EXPECT_TRUE(window.WaitForText(kProgress, LanguageText(L"LANGUAGE_EN", text::kUpgradeFailed),
                                   kStepTimeout));
    const std::string traffic = SimOutput("traffic.log").substr(trafficBefore);
    EXPECT_EQ(traffic.find("write pipe 1 16 -> 16: 55 AA 03"), std::string::npos)
        << "the refused image's start command went out:\n"
        << traffic;
    EXPECT_NE(traffic.find("write pipe 1 16 -> 16: 55 AA 06"), std::string::npos)
        << "the serial number is read before the file is chosen";
}

}  // namespace
}  // namespace orvo::testing
