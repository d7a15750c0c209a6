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
// SetBarRange, SetBarPosition and SetShowText may be called from any thread: once attached
// they are delivered to the window's own thread with SendMessage.
#include "BarGeometry.h"

#include <windows.h>

#include <atomic>
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
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR self);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetText(WPARAM capacity, LPARAM buffer) const;
    int StorePosition(int position);
    void StoreShowText(bool on);
    int CurrentBarWidth() const;
    BarProgress Progress() const;
    void Paint();
    void PaintText(HDC dc, const RECT& client, const RECT& bar, const RECT& rest) const;

    // Read by callers on any thread, cleared on the window's own when it is destroyed.
    std::atomic<HWND> window_{nullptr};

    int position_ = 0;
    int upper_ = 100;
    int lower_ = 0;
    std::wstring text_;
    bool showText_ = true;
    int barWidth_ = -1;  // at the last position change; -1 = not yet computed
    COLORREF barColour_;
    COLORREF backgroundColour_;
    COLORREF textOverBackground_;
    COLORREF textOverBar_;
    int fontSize_ = 100;  // tenths of a point
    const wchar_t* fontFace_ = L"Arial";
};

}  // namespace orvo
