#include "SystemMenu.h"

namespace orvo {

bool AddSystemMenuEntry(HWND window, UINT command, const std::wstring& text) {
    HMENU menu = GetSystemMenu(window, FALSE);
    if (menu == nullptr || text.empty()) {
        return false;
    }
    return AppendMenuW(menu, MF_SEPARATOR, 0, nullptr) != 0 &&
           AppendMenuW(menu, MF_STRING, command, text.c_str()) != 0;
}

}  // namespace orvo
