#include "MainDialogLogic.h"

#include "IniDocument.h"
#include "SettingsFiles.h"
#include "SettingsKeys.h"
#include "TextCodec.h"
#include "UpgradeGuard.h"

namespace orvo {
namespace {

struct Placement {
    int id;
    int x;
    int y;
};

// The controls hidden at start-up, in this order; nothing but Start Upgrade shows one again.
constexpr int kHiddenAtStart[] = {
    control::kIncrease,        control::kWriteSn,     control::kReadSn,   control::kUpgradeInternal,
    control::kUpgradeExternal, control::kUnusedGroup, control::kSnReadout};

// Where the skin wants the visible controls, in client pixels, in this order.
constexpr Placement kPlacements[] = {
    {control::kSnLabel, 110, 103},      {control::kSnField, 244, 100},
    {control::kStartUpgrade, 120, 150}, {control::kExit, 260, 150},
    {control::kStartCaption, 90, 260},  {control::kExitCaption, 240, 260},
    {control::kLanguageLabel, 280, 35}, {control::kLanguageList, 370, 32},
    {control::kMinimise, 436, 2},       {control::kClose, 456, 2},
    {control::kProgress, 15, 300},
};

}  // namespace

MainDialogLogic::MainDialogLogic(DialogControls& controls, PipeLibrary& pipes)
    : controls_(controls),
      view_(texts_, controls),
      link_(pipes, view_),
      upgrade_(controls, link_, view_),
      serial_(controls, link_, view_, upgrade_.Worker()) {}

void MainDialogLogic::OnInitDialog() {
    if (view_.LoadLanguages()) {
        serial_.LoadNextSerialNumber();
        view_.ApplyTexts();
    }
    view_.SetStatusTextMode(0);

    IniDocument config;
    if (config.Load(settings::ConfigFile())) {
        versionText_ =
            FromAnsi(config.GetString(settings::kSectionSetting, settings::kKeyVersionNo));
    } else {
        controls_.ShowMessage(kConfigMissingMessage);
        versionText_.clear();
    }

    controls_.SetText(control::kSnField, L"");
    for (int id : kHiddenAtStart) {
        controls_.Show(id, false);
    }
    for (const Placement& place : kPlacements) {
        controls_.Move(place.id, place.x, place.y);
    }
}

bool MainDialogLogic::MayClose() {
    return !RefuseWhileUpgrading(upgrade_.Worker(), view_);
}

}  // namespace orvo
