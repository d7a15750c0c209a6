#pragma once
// Colours and brushes of the main dialog and its children (the WM_CTLCOLOR* answers). The
// labels and check boxes show blue text and the serial-number field red text, all without a
// background of their own, on the colour of the background image's inner panel; the dialog
// itself is filled with the background image as a pattern brush. The skin owns both brushes.
#include "ScopedGdi.h"

#include <windows.h>

namespace orvo {

inline constexpr COLORREF kPanelColour = RGB(199, 203, 204);
inline constexpr COLORREF kLabelTextColour = RGB(0, 0, 255);
inline constexpr COLORREF kSnFieldTextColour = RGB(255, 0, 0);

class DialogSkin {
public:
    DialogSkin();

    // Makes the dialog's pattern brush from the background image (bitmap 152); the caller
    // keeps and frees the bitmap. False when no brush can be made.
    bool SetBackground(HBITMAP image);

    // The answer to WM_CTLCOLORDLG, WM_CTLCOLORSTATIC, WM_CTLCOLORBTN, WM_CTLCOLOREDIT and the
    // like: `window` is the control being drawn, or the dialog itself. Sets up the DC and
    // returns the brush to fill with; the brush stays the skin's.
    HBRUSH OnCtlColor(HWND dialog, HDC dc, HWND window) const;

private:
    ScopedBrush panelBrush_;
    ScopedBrush backgroundBrush_;
};

}  // namespace orvo
