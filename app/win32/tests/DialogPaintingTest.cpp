#include "DialogPainting.h"

#include "ScopedGdi.h"
#include "TestWindow.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace orvo {
namespace {

using orvo::testing::Capture;
using orvo::testing::Image;
using orvo::testing::Settle;
using orvo::testing::TestWindow;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);

TEST(DrawWindowText, DrawsInItsColourInsideTheRectangleOnly) {
    TestWindow window(300, 100);
    DrawWindowText(window.Get(), RECT{20, 10, 220, 40}, kRed, L"Velmora Orvo I Upgrade Tool");
    Image image = Capture(window.Get());
    EXPECT_TRUE(image.Contains(kRed, 20, 10, 220, 40));
    EXPECT_TRUE(image.AllOf(kWhite, 0, 0, 300, 10));
    EXPECT_TRUE(image.AllOf(kWhite, 0, 40, 300, 100));
    EXPECT_TRUE(image.AllOf(kWhite, 0, 0, 20, 100));
    EXPECT_TRUE(image.AllOf(kWhite, 220, 0, 300, 100));
}

TEST(DrawWindowText, LongTextWrapsWithinTheRectangle) {
    TestWindow window(300, 100);
    DrawWindowText(window.Get(), RECT{0, 0, 80, 100}, kRed, L"word word word word word");
    Image image = Capture(window.Get());
    EXPECT_TRUE(image.AllOf(kWhite, 80, 0, 300, 100));
    EXPECT_TRUE(image.Contains(kRed, 0, 30, 80, 100)) << "no second line";
}

LRESULT CALLBACK PaintIcon(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                           DWORD_PTR icon) {
    if (message == WM_PAINT) {
        PaintMinimisedIcon(window, reinterpret_cast<HICON>(icon));
        return 0;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

TEST(PaintMinimisedIcon, DrawsTheIconCentredAndEndsThePaint) {
    const int size = GetSystemMetrics(SM_CXICON);
    ASSERT_EQ(GetSystemMetrics(SM_CYICON), size);
    ScopedClientDC screen(nullptr);
    ScopedBitmap colour(CreateCompatibleBitmap(screen.Get(), size, size));
    {
        ScopedMemoryDC dc(screen.Get());
        SelectGuard select(dc.Get(), colour.Get());
        RECT all{0, 0, size, size};
        ScopedBrush red(CreateSolidBrush(kRed));
        FillRect(dc.Get(), &all, red.Get());
    }
    std::vector<BYTE> opaque(static_cast<std::size_t>(size * size / 8), 0);
    ScopedBitmap mask(CreateBitmap(size, size, 1, 1, opaque.data()));
    ICONINFO info{TRUE, 0, 0, mask.Get(), colour.Get()};
    HICON icon = CreateIconIndirect(&info);
    ASSERT_NE(icon, nullptr);

    TestWindow window(101, 81);
    SetWindowSubclass(window.Get(), PaintIcon, 1, reinterpret_cast<DWORD_PTR>(icon));
    InvalidateRect(window.Get(), nullptr, TRUE);
    Settle();
    EXPECT_FALSE(GetUpdateRect(window.Get(), nullptr, FALSE));
    Image image = Capture(window.Get());
    const int left = (101 - size + 1) / 2;
    const int top = (81 - size + 1) / 2;
    EXPECT_TRUE(image.AllOf(kRed, left, top, left + size, top + size));
    EXPECT_TRUE(image.AllOf(kWhite, 0, 0, 101, top));
    EXPECT_TRUE(image.AllOf(kWhite, 0, 0, left, 81));
    EXPECT_TRUE(image.AllOf(kWhite, left + size, 0, 101, 81));
    RemoveWindowSubclass(window.Get(), PaintIcon, 1);
    DestroyIcon(icon);
}

}  // namespace
}  // namespace orvo
