#pragma once
// Real windows on the test screen, and what they show.
#include "ScreenCapture.h"

#include <windows.h>

#include <vector>

namespace orvo::testing {

// A visible top-level window with a white background at the screen's top-left corner;
// destroyed with the object.
class TestWindow {
public:
    TestWindow(int clientWidth, int clientHeight);
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND Get() const { return window_; }
    HWND AddChild(const wchar_t* className, int id, int x, int y, int width, int height,
                  DWORD style = 0, const wchar_t* text = L"");

private:
    HWND window_;
};

// Handles every message waiting and every pending paint, a few rounds over.
void Settle();

}  // namespace orvo::testing
