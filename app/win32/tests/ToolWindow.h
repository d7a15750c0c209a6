#pragma once
// The main dialog's controls as real child windows of a test window, the text progress bar
// attached to control 1009, behind the DialogControls the logic talks to.
#include "DialogWindowControls.h"
#include "TestWindow.h"
#include "TextProgressBar.h"

#include <string>

namespace orvo::testing {

class ToolWindow {
public:
    ToolWindow();

    HWND Get() const { return window_.Get(); }
    HWND Control(int id) const { return GetDlgItem(window_.Get(), id); }
    std::wstring TextOf(int id) const;
    DialogControls& Controls() { return controls_; }

private:
    TestWindow window_{480, 360};
    TextProgressBar bar_;
    DialogWindowControls controls_{window_.Get(), bar_, L"Velmora Orvo I Upgrade Tool"};
};

}  // namespace orvo::testing
