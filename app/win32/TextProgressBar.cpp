#include "TextProgressBar.h"

#include "BarGeometry.h"
#include "OffscreenDC.h"
#include "PointFont.h"
#include "ScopedGdi.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>
#include <utility>

namespace orvo {

namespace {

constexpr UINT_PTR kSubclassId = 0x1009;

constexpr UINT_PTR kWatchTimer = 1;
constexpr UINT kWatchIntervalMs = 16;
// The timer stops after this many ticks with nothing new to show.
constexpr int kQuietTicksBeforeStop = 30;
// Posted by another thread to start the timer, which only the window's thread may set. The
// progress control itself uses WM_USER messages only.
constexpr UINT kStartWatching = WM_APP + 0x209;

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
        request_ = Request{shown_, std::nullopt, showText_, false};
    }
    shownWidth_ = -1;
    windowThread_ = GetWindowThreadProcessId(control, nullptr);
    window_ = control;
    return true;
}

void TextProgressBar::Detach() {
    HWND window = window_.exchange(nullptr);
    if (window != nullptr) {
        KillTimer(window, kWatchTimer);
        RemoveWindowSubclass(window, SubclassProc, kSubclassId);
    }
}

void TextProgressBar::SetBarRange(int lower, int upper) {
    HWND window = window_.load();
    if (window == nullptr) {
        shown_.lower = lower;
        shown_.upper = upper;
        return;
    }
    Ask(window, [lower, upper](Request& request) {
        if (lower != request.current.lower || upper != request.current.upper) {
            request.partEnd = request.current;
        }
        request.current.lower = lower;
        request.current.upper = upper;
    });
}

int TextProgressBar::SetBarPosition(int position) {
    HWND window = window_.load();
    if (window == nullptr) {
        return -1;
    }
    int previous = 0;
    Ask(window, [position, &previous](Request& request) {
        previous = std::exchange(request.current.position, position);
    });
    return previous;
}

void TextProgressBar::SetShowText(bool on) {
    HWND window = window_.load();
    if (window == nullptr) {
        showText_ = on;
        return;
    }
    Ask(window, [on](Request& request) { request.showText = on; });
}

template <typename Change>
void TextProgressBar::Ask(HWND window, Change change) {
    const bool onWindowsThread = windowThread_.load() == GetCurrentThreadId();
    bool timerMustStart = false;
    {
        std::lock_guard<std::mutex> hold(requestLock_);
        change(request_);
        timerMustStart = !std::exchange(request_.watched, true);
    }
    if (onWindowsThread) {
        // Whatever another thread asked before is shown first, in its order.
        while (ShowRequested(false)) {
        }
        // Armed here too, so that a worker going on from the window's call (an upgrade after
        // the window reset the bar) need not post for it.
        if (timerMustStart) {
            SetTimer(window, kWatchTimer, kWatchIntervalMs, nullptr);
        }
    } else if (timerMustStart) {
        PostMessageW(window, kStartWatching, 0, 0);
    }
}

void TextProgressBar::OnWatchTick() {
    if (ShowRequested(true)) {
        quietTicks_ = 0;
        return;
    }
    if (++quietTicks_ < kQuietTicksBeforeStop) {
        return;
    }
    std::lock_guard<std::mutex> hold(requestLock_);
    if (!request_.partEnd && request_.current == shown_ && request_.showText == showText_) {
        request_.watched = false;
        KillTimer(window_, kWatchTimer);
        quietTicks_ = 0;
    }
}

bool TextProgressBar::ShowRequested(bool onTick) {
    BarState next;
    bool showText = true;
    {
        std::lock_guard<std::mutex> hold(requestLock_);
        next = request_.partEnd.value_or(request_.current);
        request_.partEnd.reset();
        showText = request_.showText;
    }
    const bool changed = !(next == shown_) || showText != showText_;
    if (onTick && !changed) {
        return false;  // a resize alone was repainted by the system; the next ask repaints too
    }
    shown_ = next;
    const int width = BarWidth(ClientWidth(window_), Progress());
    if (width != shownWidth_ || showText != showText_) {
        shownWidth_ = width;
        showText_ = showText;
        // Painted before returning, so that a part's end is seen before the next part's start.
        RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
    return changed;
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
        case WM_SIZE:
            shownWidth_ = -1;  // the next position repaints
            return DefSubclassProc(window_, message, wParam, lParam);
        case WM_SETTEXT:
            return OnSetText(wParam, lParam);
        case WM_GETTEXT:
            return OnGetText(wParam, lParam);
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(text_.size());
        case kStartWatching:
            SetTimer(window_, kWatchTimer, kWatchIntervalMs, nullptr);
            return 0;
        case WM_TIMER:
            if (wParam != kWatchTimer) {
                return DefSubclassProc(window_, message, wParam, lParam);
            }
            OnWatchTick();
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

BarProgress TextProgressBar::Progress() const {
    return ProgressOf(shown_.position, shown_.lower, shown_.upper);
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
