#include "SystemMenu.h"

#include <gtest/gtest.h>

#include <string>

namespace orvo::testing {
namespace {

constexpr UINT kAbout = 0x0010;

// The About entry follows string 101: an empty one adds nothing to the system menu.
TEST(SystemMenu, AnEntryNeedsItsText) {
    for (const std::wstring& text : {std::wstring(), std::wstring(L"About...")}) {
        HWND window = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                      nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(window, nullptr);
        HMENU menu = GetSystemMenu(window, FALSE);
        ASSERT_NE(menu, nullptr);
        const int before = GetMenuItemCount(menu);
        EXPECT_EQ(AddSystemMenuEntry(window, kAbout, text), !text.empty());
        EXPECT_EQ(GetMenuItemCount(menu), before + (text.empty() ? 0 : 2));
        EXPECT_EQ(GetMenuState(menu, kAbout, MF_BYCOMMAND) != UINT(-1), !text.empty());
        DestroyWindow(window);
    }
}

}  // namespace
}  // namespace orvo::testing
