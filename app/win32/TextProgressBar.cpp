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

// Posted to the window's thread, in this order of numbers so that one filter takes them all;
// the progress control itself uses WM_USER messages only.
constexpr UINT kSetRange = WM_APP + 0x209;
constexpr UINT kShowPosition = WM_APP + 0x20A;
constexpr UINT kSetShowText = WM_APP + 0x20B;

int ClientWidth(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return client.right - client.left;
}

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
    {
        std::lock_guard<std::mutex> hold(requestLock_);
        request_.lower = lower_;
        request_.upper = upper_;
        request_.clientWidth = ClientWidth(control);
        request_.barWidth = -1;
    }
    window_ = control;
    return true;
}

void TextProgressBar::Detach() {
    HWND window = window_.exchange(nullptr);
    if (window != nullptr) {
        RemoveWindowSubclass(window, SubclassProc, kSubclassId);
    }
}

void TextProgressBar::SetBarRange(int lower, int upper) {
    HWND window = window_.load();
    if (window == nullptr) {
        lower_ = lower;
        upper_ = upper;
        return;
    }
    {
        std::lock_guard<std::mutex> hold(requestLock_);
        request_.lower = lower;
        request_.upper = upper;
    }
    Deliver(window, kSetRange, static_cast<WPARAM>(lower), static_cast<LPARAM>(upper));
}

int TextProgressBar::SetBarPosition(int position) {
    HWND window = window_.load();
    if (window == nullptr) {
        return -1;
    }
    int previous = 0;
    bool widthChanges = false;
    {
        std::lock_guard<std::mutex> hold(requestLock_);
        previous = request_.position;
        request_.position = position;
        const int width = BarWidth(request_.clientWidth,
                                   ProgressOf(position, request_.lower, request_.upper));
        widthChanges = width != request_.barWidth;
        request_.barWidth = width;
    }
    if (widthChanges) {
        Deliver(window, kShowPosition, static_cast<WPARAM>(position), 0);
    }
    return previous;
}

void TextProgressBar::SetShowText(bool on) {
    if (HWND window = window_.load()) {
        Deliver(window, kSetShowText, on ? 1 : 0, 0);
        return;
    }
    showText_ = on;
}

void TextProgressBar::Deliver(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId()) {
        PostMessageW(window, message, wParam, lParam);
        return;
    }
    MSG queued;
    while (PeekMessageW(&queued, window, kSetRange, kSetShowText, PM_REMOVE)) {
        Handle(queued.message, queued.wParam, queued.lParam);
    }
    Handle(message, wParam, lParam);
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
            OnSize();
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
        case kShowPosition:
            ShowPosition(static_cast<int>(wParam));
            return 0;
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

void TextProgressBar::OnSize() {
    std::lock_guard<std::mutex> hold(requestLock_);
    request_.clientWidth = ClientWidth(window_);
    request_.barWidth = -1;
}

// Painted before returning, so that each step asked for is seen, not only the last of a burst.
void TextProgressBar::ShowPosition(int position) {
    position_ = position;
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
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
