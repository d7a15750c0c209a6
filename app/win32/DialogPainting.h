#pragma once
// Painting the main dialog does outside its controls.
#include <windows.h>

#include <string>

namespace orvo {

// Draws a text straight onto the window's client area, centred and word-wrapped within the
// rectangle, in the given colour on a transparent background, in the DC's default font. The
// next repaint of the background wipes it, which is why the dialog's timer draws it again.
void DrawWindowText(HWND window, const RECT& rect, COLORREF colour, const std::wstring& text);

// The WM_PAINT of the minimised window: the icon centred in the client area over the icon
// background the window erases on WM_ICONERASEBKGND.
void PaintMinimisedIcon(HWND window, HICON icon);

}  // namespace orvo
