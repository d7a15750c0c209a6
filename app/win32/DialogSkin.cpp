#include "DialogSkin.h"

#include "DialogControls.h"

#include <algorithm>
#include <iterator>

namespace orvo {

namespace {

constexpr int kBlueTextControls[] = {
    control::kLanguageLabel,   control::kStartCaption, control::kExitCaption,
    control::kSnLabel,         control::kIncrease,     control::kUpgradeInternal,
    control::kUpgradeExternal, control::kSnReadout,
};

bool HasBlueText(int id) {
    return std::find(std::begin(kBlueTextControls), std::end(kBlueTextControls), id) !=
           std::end(kBlueTextControls);
}

}  // namespace

DialogSkin::DialogSkin() : panelBrush_(CreateSolidBrush(kPanelColour)) {}

bool DialogSkin::SetBackground(HBITMAP image) {
    backgroundBrush_.Reset(image != nullptr ? CreatePatternBrush(image) : nullptr);
    return backgroundBrush_.IsValid();
}

HBRUSH DialogSkin::OnCtlColor(HWND dialog, HDC dc, HWND window) const {
    int id = GetDlgCtrlID(window);
    if (window != dialog && HasBlueText(id)) {
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, kLabelTextColour);
    } else if (window != dialog && id == control::kSnField) {
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, kSnFieldTextColour);
    }
    if (window == dialog && backgroundBrush_.IsValid()) {
        return backgroundBrush_.Get();
    }
    SetBkColor(dc, kPanelColour);
    return panelBrush_.Get();
}

}  // namespace orvo
