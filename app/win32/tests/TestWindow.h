#pragma once
// Real windows on the test screen, and what they show.
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

// The client area's pixels as the screen shows them.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;

    COLORREF At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
    // Whether any pixel of the rectangle [left, right) x [top, bottom) has the colour.
    bool Contains(COLORREF colour, int left, int top, int right, int bottom) const;
    // Whether every pixel of the rectangle has the colour.
    bool AllOf(COLORREF colour, int left, int top, int right, int bottom) const;
    bool operator==(const Image& other) const {
        return width == other.width && height == other.height && pixels == other.pixels;
    }
};

Image Capture(HWND window);

}  // namespace orvo::testing
