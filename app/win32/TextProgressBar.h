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
// the window's own, nor call into the system: they note what is asked, and the window's thread
// shows it on a timer of its own (about 60 times a second) that runs while threads ask and for
// half a second after. Under Wine a message between threads costs far more than an upgrade's
// block, so another thread posts one only when the timer is to start, and none when it runs
// already: the window's own thread starts it when it asks, as when an upgrade resets the bar
// before its worker takes over. A range replaced before its last position was shown is shown
// first, so each part ends on a full bar. On the window's own thread they take effect at once.
#include "BarGeometry.h"

#include <windows.h>

#include <atomic>
#include <mutex>
#include <optional>
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
    // One state of the bar: a position in a range.
    struct BarState {
        int position = 0;
        int lower = 0;
        int upper = 100;
        bool operator==(const BarState& o) const {
            return position == o.position && lower == o.lower && upper == o.upper;
        }
    };
    // What callers asked for, on any thread, kept under `requestLock_`.
    struct Request {
        BarState current;
        std::optional<BarState> partEnd;  // a range's last state, replaced before it was shown
        bool showText = true;
        bool watched = false;  // the window's timer runs and will show what is asked
    };

    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR self);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    // Applies `change` to the request; shown at once on the window's thread, else by its timer.
    template <typename Change>
    void Ask(HWND window, Change change);
    void OnWatchTick();
    // Shows the next state asked for; false when there was nothing new. Off the timer, a bar
    // whose width a resize left stale is repainted even with nothing new, as the window's own
    // calls promise; the timer leaves that to the next ask.
    bool ShowRequested(bool onTick);
    LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetText(WPARAM capacity, LPARAM buffer) const;
    BarProgress Progress() const;
    void Paint();
    void PaintText(HDC dc, const RECT& client, const RECT& bar, const RECT& rest) const;

    // Read by callers on any thread, cleared on the window's own when it is destroyed.
    std::atomic<HWND> window_{nullptr};
    // The window's thread, kept from Attach: a window never changes threads, and asking the
    // system for it would cost every block of an upgrade a call into it.
    std::atomic<DWORD> windowThread_{0};
    std::mutex requestLock_;
    Request request_;

    // What the window shows; touched on the window's own thread only, once attached.
    BarState shown_;
    int shownWidth_ = -1;  // -1: not painted at this size yet
    int quietTicks_ = 0;
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
