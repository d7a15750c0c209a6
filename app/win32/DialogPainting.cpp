#include "DialogPainting.h"

#include "ScopedGdi.h"

namespace orvo {

void DrawWindowText(HWND window, const RECT& rect, COLORREF colour, const std::wstring& text) {
    ScopedPen pen(CreatePen(PS_SOLID, 1, colour));
    ScopedClientDC dc(window);
    if (!dc.IsValid()) {
        return;
    }
    SelectGuard usePen(dc.Get(), pen.Get());
    SetTextColor(dc.Get(), colour);
    SetBkMode(dc.Get(), TRANSPARENT);
    RECT area = rect;
    DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &area,
              DT_CENTER | DT_WORDBREAK | DT_EDITCONTROL);
}

void PaintMinimisedIcon(HWND window, HICON icon) {
    ScopedPaint paint(window);
    if (!paint.IsValid()) {
        return;
    }
    SendMessageW(window, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(paint.Get()), 0);
    RECT client{};
    GetClientRect(window, &client);
    int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(paint.Get(), x, y, icon);
}

}  // namespace orvo
