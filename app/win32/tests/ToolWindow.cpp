#include "ToolWindow.h"

#include <commctrl.h>

namespace orvo::testing {

ToolWindow::ToolWindow() {
    for (int id : {control::kLanguageLabel, control::kSnLabel, control::kStartCaption,
                   control::kExitCaption}) {
        window_.AddChild(L"STATIC", id, 0, 0, 100, 20);
    }
    for (int id : {control::kIncrease, control::kUpgradeInternal, control::kUpgradeExternal}) {
        window_.AddChild(L"BUTTON", id, 0, 0, 100, 20, BS_AUTOCHECKBOX);
    }
    for (int id : {control::kWriteSn, control::kReadSn, control::kStartUpgrade, control::kExit}) {
        window_.AddChild(L"BUTTON", id, 0, 0, 100, 20);
    }
    window_.AddChild(L"EDIT", control::kSnField, 0, 0, 100, 20);
    window_.AddChild(L"COMBOBOX", control::kLanguageList, 0, 0, 100, 120, CBS_DROPDOWNLIST);
    bar_.Attach(window_.AddChild(PROGRESS_CLASSW, control::kProgress, 15, 300, 258, 20));
}

std::wstring ToolWindow::TextOf(int id) const {
    wchar_t text[256] = {};
    GetDlgItemTextW(window_.Get(), id, text, 256);
    return text;
}

}  // namespace orvo::testing
