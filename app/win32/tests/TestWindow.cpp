#include "TestWindow.h"

#include "ScopedGdi.h"

#include <commctrl.h>

namespace orvo::testing {

namespace {

const wchar_t kClassName[] = L"OrvoTestWindow";

void RegisterOnce() {
    static const bool registered = [] {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
        windowClass.lpszClassName = kClassName;
        return RegisterClassW(&windowClass) != 0;
    }();
    (void)registered;
}

}  // namespace

TestWindow::TestWindow(int clientWidth, int clientHeight) {
    RegisterOnce();
    window_ = CreateWindowExW(0, kClassName, L"test", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                              clientWidth, clientHeight, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    Settle();
}

TestWindow::~TestWindow() {
    DestroyWindow(window_);
    Settle();
}

HWND TestWindow::AddChild(const wchar_t* className, int id, int x, int y, int width, int height,
                          DWORD style, const wchar_t* text) {
    HWND child = CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width,
                                 height, window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleW(nullptr), nullptr);
    Settle();
    return child;
}

void Settle() {
    for (int round = 0; round < 5; ++round) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(10);
    }
}

}  // namespace orvo::testing
