#pragma once
// The progress bar of the main window: a progress control (msctls_progress32, control 1009 of
// the dialog template) taken over by subclassing, which paints its filled part, the rest, and
// a centred text: the status text, or the percentage when there is none. The text takes the
// background colour over the bar and the bar colour over the rest, flipping at the bar's end.
// The control's own position is never set.
//
// The window text is the status text: WM_SETTEXT stores it and repaints only when it changes.
// A position change repaints only when the filled width changes by a whole pixel; a resize
// makes the next one repaint. Positions beyond the range paint as its ends, and an empty or
// inverted range as an empty bar.
//
// SetBarRange, SetBarPosition and SetShowText may be called from any thread and never wait for
// the window's own: the caller decides whether the filled width changes, and only then posts
// the position to the window, which paints each one in the order they were asked for. So an
// upgrade never waits for the screen, and a window that falls behind still shows every step,
// the full bar at the end of each part included. On the window's own thread they take effect
// at once, after whatever other threads had posted before.
#include "BarGeometry.h"

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>

namespace orvo {

class TextProgressBar {
  public:
    TextProgressBar();  // takes its colours from the system, once
    ~TextProgressBar();
    TextProgressBar(const TextProgressBar&) = delete;
    TextProgressBar& operator=(const TextProgressBar&) = delete;

    // Takes over the control until it is destroyed or Detach is called. False when the window
    // is no window or the bar is already attached.
    bool Attach(HWND control);
    void Detach();
    HWND Window() const { return window_.load(); }

    // No repaint; the next position change or paint uses the new range.
    void SetBarRange(int lower, int upper);
    // The previous position, or -1 (and nothing stored) when the bar has no window yet.
    int SetBarPosition(int position);
    void SetShowText(bool on);

    COLORREF BarColour() const { return barColour_; }
    COLORREF BackgroundColour() const { return backgroundColour_; }

  private:
    // What the callers asked for, kept under `requestLock_` since they may be on any thread;
    // enough to tell whether a position changes the filled width.
    struct Request {
        int position = 0;
        int lower = 0;
        int upper = 100;
        int clientWidth = 0;
        int barWidth = -1;  // at the last position posted; -1 = repaint at the next one
    };

    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR self);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    // Posts to the window, or on its own thread handles what was posted before and then this.
    void Deliver(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetText(WPARAM capacity, LPARAM buffer) const;
    void OnSize();
    void ShowPosition(int position);
    void StoreShowText(bool on);
    BarProgress Progress() const;
    void Paint();
    void PaintText(HDC dc, const RECT& client, const RECT& bar, const RECT& rest) const;

    // Read by callers on any thread, cleared on the window's own when it is destroyed.
    std::atomic<HWND> window_{nullptr};
    std::mutex requestLock_;
    Request request_;

    // What the window shows; touched on the window's own thread only, once attached.
    int position_ = 0;
    int upper_ = 100;
    int lower_ = 0;
    std::wstring text_;
    bool showText_ = true;
    COLORREF barColour_;
    COLORREF backgroundColour_;
    COLORREF textOverBackground_;
    COLORREF textOverBar_;
    int fontSize_ = 100;  // tenths of a point
    const wchar_t* fontFace_ = L"Arial";
};

}  // namespace orvo
