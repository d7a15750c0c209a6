// What a technician sees when the tool starts: the skin's layout, the focus, the texts of the
// stored language; and a start without CONFIG.INI, which must still open the window.
#include "Captions.h"
#include "RunningTool.h"
#include "ScreenPixels.h"

#include <filesystem>
#include <string>

namespace orvo::testing {
namespace {

using namespace orvo::control;

// The version is drawn by a 100 ms timer, as the title is, not by any control.
constexpr RECT kVersionArea = {240, 340, 355, 355};
constexpr COLORREF kVersionColour = RGB(127, 127, 127);

struct Placed {
    int id;
    POINT position;  // top-left corner in client pixels
};

constexpr Placed kShown[] = {
    {control::kSnLabel, {110, 103}},      {control::kSnField, {244, 100}},
    {control::kStartUpgrade, {120, 150}}, {control::kExit, {260, 150}},
    {control::kStartCaption, {90, 260}},  {control::kExitCaption, {240, 260}},
    {control::kLanguageLabel, {280, 35}}, {control::kLanguageList, {370, 32}},
    {control::kMinimise, {436, 2}},       {control::kClose, {456, 2}},
    {control::kProgress, {15, 300}},
};
constexpr int kHidden[] = {control::kUnusedEdit,      control::kIncrease,        control::kReadSn,
                           control::kUpgradeInternal, control::kUpgradeExternal, control::kWriteSn,
                           control::kSnReadout,       control::kUnusedGroup};

Image VersionAfterFirstTick(const drive::ProgramWindow& window) {
    EXPECT_TRUE(WaitForDrawnTitle(window.Handle()));
    return CaptureClientArea(window.Handle(), kVersionArea);
}

class StartUp : public RunningTool {};

TEST_F(StartUp, LaysOutTheSkinWithTheStoredLanguage) {
    // The stored language, not the first one listed, gives the texts.
    const std::string config = Folder().Read("CONFIG.INI");
    std::string french = config;
    french.replace(french.find("LANGUAGE=LANGUAGE_EN"), 20, "LANGUAGE=LANGUAGE_FR");
    Folder().Write("CONFIG.INI", french);

    Start();
    const drive::ProgramWindow& window = WaitForWindow();
    EXPECT_EQ(window.ClientSize().cx, 480);
    EXPECT_EQ(window.ClientSize().cy, 360);
    for (const Placed& control : kShown) {
        SCOPED_TRACE(control.id);
        EXPECT_TRUE(window.IsShown(control.id));
        EXPECT_EQ(window.Position(control.id).x, control.position.x);
        EXPECT_EQ(window.Position(control.id).y, control.position.y);
    }
    for (int id : kHidden) {
        EXPECT_FALSE(window.IsShown(id)) << id;
    }
    EXPECT_EQ(window.FocusedId(), 2) << "the Exit button must have the focus";

    for (const Caption& caption : kCaptions) {
        EXPECT_EQ(window.Text(caption.id), LanguageText(L"LANGUAGE_FR", caption.key)) << caption.id;
    }
    EXPECT_EQ(window.Text(control::kStartUpgrade), L"Lancer la mise \u00E0 jour");
    EXPECT_EQ(window.Text(control::kLanguageList), L"Fran\u00E7ais");
    EXPECT_EQ(window.Text(control::kSnField), L"")
        << "the proposed number is not shown at start-up";
    EXPECT_EQ(window.Text(control::kProgress), L"")
        << "the bar shows its percentage, no status text";
    EXPECT_TRUE(VersionAfterFirstTick(window).Contains(kVersionColour));
    EXPECT_TRUE(drive::FindMessageBoxes(ProcessId()).empty());
}

TEST_F(StartUp, WithoutConfigTheWindowOpensAfterTheMessages) {
    std::filesystem::remove(Folder().Path() / "CONFIG.INI");
    Start();
    // T4 in no language at all (none is stored), then the tool's own message.
    ExpectMessage(L"");
    ExpectMessage(L"can not found the ini file..");

    const drive::ProgramWindow& window = WaitForWindow();
    EXPECT_FALSE(VersionAfterFirstTick(window).Contains(kVersionColour));
    // Language set-up stopped: the template's own captions stay, the list is empty.
    EXPECT_EQ(window.Text(control::kUpgradeExternal), L"Updade extern");
    EXPECT_EQ(window.Text(control::kLanguageList), L"");
    EXPECT_TRUE(window.IsShown(control::kExit));
    EXPECT_EQ(window.Position(control::kProgress).y, 300);
}

// CONFIG.INI there but saying less: the window opens all the same, with what the file gives.
struct ThinConfig {
    const char* name;
    std::string (*edit)(std::string config);
    std::vector<std::wstring> messages;
    bool captioned;  // the stored language's captions applied
};

class StartUpWith : public RunningTool, public ::testing::WithParamInterface<ThinConfig> {};

TEST_P(StartUpWith, OpensTheWindowWithWhatTheFileGives) {
    Folder().Write("CONFIG.INI", GetParam().edit(Folder().Read("CONFIG.INI")));
    Start();
    for (const std::wstring& message : GetParam().messages) {
        ExpectMessage(message);
    }
    const drive::ProgramWindow& window = WaitForWindow();
    EXPECT_FALSE(VersionAfterFirstTick(window).Contains(kVersionColour)) << "no version text";
    EXPECT_EQ(window.Text(control::kExitCaption),
              GetParam().captioned ? LanguageText(L"LANGUAGE_EN", text::kExitCaption) : L"");
    EXPECT_TRUE(drive::FindMessageBoxes(ProcessId()).empty());
}

INSTANTIATE_TEST_SUITE_P(Config, StartUpWith,
                         ::testing::Values(ThinConfig{"EmptyVersion",
                                                      [](std::string config) {
                                                          return config.replace(
                                                              config.find("VERSIONNO=V1.6.0.0"), 18,
                                                              "VERSIONNO=");
                                                      },
                                                      {},
                                                      true},
                                           ThinConfig{"EmptyFile",
                                                      [](std::string) { return std::string(); },
                                                      {L"can not found the ini file.."},
                                                      false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace orvo::testing
