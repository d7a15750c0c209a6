#pragma once
// The translated controls of the main window and the language.ini key each one shows.
#include "DialogControls.h"
#include "TextKeys.h"

namespace orvo::testing {

struct Caption {
    int id;
    const char* key;
};

inline constexpr Caption kCaptions[] = {
    {control::kLanguageLabel, text::kLanguageCaption},
    {control::kSnLabel, text::kSnCaption},
    {control::kIncrease, text::kIncreaseCaption},
    {control::kWriteSn, text::kWriteSnCaption},
    {control::kReadSn, text::kReadSnCaption},
    {control::kStartUpgrade, text::kStartUpgradeCaption},
    {control::kUpgradeInternal, text::kUpgradeInternalCaption},
    {control::kUpgradeExternal, text::kUpgradeExternalCaption},
    {control::kExit, text::kExitCaption},
    {control::kStartCaption, text::kStartUpgradeCaption},
    {control::kExitCaption, text::kExitCaption},
};

}  // namespace orvo::testing
