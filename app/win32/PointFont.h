#pragma once
// A font of a size in tenths of a point for a DC: its height follows the DC's vertical
// resolution and mapping mode.
#include <windows.h>

namespace orvo {

HFONT CreatePointFont(int tenthsOfPoint, const wchar_t* face, HDC dc);

}  // namespace orvo
