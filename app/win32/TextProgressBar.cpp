#include "TextProgressBar.h"

#include "BarGeometry.h"
#include "OffscreenDC.h"
#include "PointFont.h"
#include "ScopedGdi.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>

namespace orvo {

namespace {

constexpr UINT_PTR kSubclassId = 0x1009;

// Delivered to the window's thread by SendMessage; the progress control itself uses WM_USER
// messages only.
constexpr UINT kSetRange = WM_APP + 0x209;
constexpr UINT kSetPosition = WM_APP + 0x20A;
constexpr UINT kSetShowText = WM_APP + 0x20B;

void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
    SetBkColor(dc, colour);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

// Limits drawing to a rectangle given in the DC's logical coordinates.
void ClipTo(HDC dc, const RECT& rect) {
    POINT corners[2] = {{rect.left, rect.top}, {rect.right, rect.bottom}};
    LPtoDP(dc, corners, 2);
    ScopedRegion region(CreateRectRgn(corners[0].x, corners[0].y, corners[1].x, corners[1].y));
    SelectClipRgn(dc, region.Get());
}

}  // namespace

TextProgressBar::TextProgressBar()
    : barColour_(GetSysColor(COLOR_HIGHLIGHT)),
      backgroundColour_(GetSysColor(COLOR_WINDOW)),
      textOverBackground_(GetSysColor(COLOR_HIGHLIGHT)),
      textOverBar_(GetSysColor(COLOR_WINDOW)) {}

TextProgressBar::~TextProgressBar() {
    Detach();
}

bool TextProgressBar::Attach(HWND control) {
    if (window_ != nullptr || !IsWindow(control)) {
        return false;
    }
    if (!SetWindowSubclass(control, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) {
        return false;
    }
    window_ = control;
    barWidth_ = -1;
    return true;
}

void TextProgressBar::Detach() {
    HWND window = window_.exchange(nullptr);
    if (window != nullptr) {
        RemoveWindowSubclass(window, SubclassProc, kSubclassId);
    }
}

void TextProgressBar::SetBarRange(int lower, int upper) {
    if (HWND window = window_.load()) {
        SendMessageW(window, kSetRange, static_cast<WPARAM>(lower), static_cast<LPARAM>(upper));
        return;
    }
    lower_ = lower;
    upper_ = upper;
}

int TextProgressBar::SetBarPosition(int position) {
    HWND window = window_.load();
    if (window == nullptr) {
        return -1;
    }
    return static_cast<int>(SendMessageW(window, kSetPosition, static_cast<WPARAM>(position), 0));
}

void TextProgressBar::SetShowText(bool on) {
    if (HWND window = window_.load()) {
        SendMessageW(window, kSetShowText, on ? 1 : 0, 0);
        return;
    }
    showText_ = on;
}

LRESULT CALLBACK TextProgressBar::SubclassProc(HWND window, UINT message, WPARAM wParam,
                                               LPARAM lParam, UINT_PTR, DWORD_PTR self) {
    auto* bar = reinterpret_cast<TextProgressBar*>(self);
    if (message == WM_NCDESTROY) {
        bar->Detach();
        return DefSubclassProc(window, message, wParam, lParam);
    }
    return bar->Handle(message, wParam, lParam);
}

LRESULT TextProgressBar::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
            return TRUE;  // the paint covers everything
        case WM_PAINT:
            Paint();
            return 0;
        case WM_SIZE: {
            LRESULT result = DefSubclassProc(window_, message, wParam, lParam);
            barWidth_ = -1;
            return result;
        }
        case WM_SETTEXT:
            return OnSetText(wParam, lParam);
        case WM_GETTEXT:
            return OnGetText(wParam, lParam);
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(text_.size());
        case kSetRange:
            lower_ = static_cast<int>(wParam);
            upper_ = static_cast<int>(lParam);
            return 0;
        case kSetPosition:
            return StorePosition(static_cast<int>(wParam));
        case kSetShowText:
            StoreShowText(wParam != 0);
            return 0;
        default:
            return DefSubclassProc(window_, message, wParam, lParam);
    }
}

LRESULT TextProgressBar::OnSetText(WPARAM wParam, LPARAM lParam) {
    LRESULT result = DefSubclassProc(window_, WM_SETTEXT, wParam, lParam);
    const auto* text = reinterpret_cast<const wchar_t*>(lParam);
    std::wstring newText = text != nullptr ? text : L"";
    if (newText != text_) {
        text_ = std::move(newText);
        InvalidateRect(window_, nullptr, TRUE);
    }
    return result;
}

LRESULT TextProgressBar::OnGetText(WPARAM capacity, LPARAM buffer) const {
    auto* out = reinterpret_cast<wchar_t*>(buffer);
    if (out == nullptr || capacity == 0) {
        return 0;
    }
    std::size_t copied = std::min<std::size_t>(text_.size(), capacity - 1);
    std::wmemcpy(out, text_.data(), copied);
    out[copied] = L'\0';
    return static_cast<LRESULT>(copied);
}

int TextProgressBar::StorePosition(int position) {
    int previous = position_;
    position_ = position;
    int width = CurrentBarWidth();
    if (width != barWidth_) {
        barWidth_ = width;
        RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
    return previous;
}

void TextProgressBar::StoreShowText(bool on) {
    if (on != showText_) {
        InvalidateRect(window_, nullptr, TRUE);
    }
    showText_ = on;
}

BarProgress TextProgressBar::Progress() const {
    return ProgressOf(position_, lower_, upper_);
}

int TextProgressBar::CurrentBarWidth() const {
    RECT client{};
    GetClientRect(window_, &client);
    return BarWidth(client.right - client.left, Progress());
}

void TextProgressBar::Paint() {
    // Always begun and ended, so the control is validated even when nothing can be drawn.
    ScopedPaint paint(window_);
    if (!paint.IsValid()) {
        return;
    }
    RECT client{};
    GetClientRect(window_, &client);
    OffscreenDC offscreen(paint.Get());
    HDC dc = offscreen.Get();

    RECT bar = client;
    bar.right = client.left + BarWidth(client.right - client.left, Progress());
    RECT rest = client;
    rest.left = bar.right;
    FillSolid(dc, bar, barColour_);
    FillSolid(dc, rest, backgroundColour_);

    ScopedFont font(CreatePointFont(fontSize_, fontFace_, dc));
    SelectGuard useFont(dc, font.Get());
    if (showText_) {
        PaintText(dc, client, bar, rest);
    }
}

void TextProgressBar::PaintText(HDC dc, const RECT& client, const RECT& bar,
                                const RECT& rest) const {
    const std::wstring text = text_.empty() ? PercentText(Progress()) : text_;
    const UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    RECT area = client;
    SetBkMode(dc, TRANSPARENT);
    ClipTo(dc, bar);
    SetTextColor(dc, textOverBar_);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area, format);
    ClipTo(dc, rest);
    SetTextColor(dc, textOverBackground_);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area, format);
    SelectClipRgn(dc, nullptr);
}

}  // namespace orvo
