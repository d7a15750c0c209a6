#pragma once
// The About entry of a window's system menu.
#include <windows.h>

#include <string>

namespace orvo {

// Appends a separator and the entry `command` with `text` to the window's system menu; a window
// without one, or an empty text, gets nothing. True when the entry was added.
bool AddSystemMenuEntry(HWND window, UINT command, const std::wstring& text);

}  // namespace orvo
