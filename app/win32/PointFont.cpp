#include "PointFont.h"

#include <cstdlib>
#include <cwchar>

namespace orvo {

HFONT CreatePointFont(int tenthsOfPoint, const wchar_t* face, HDC dc) {
    LOGFONTW font{};
    font.lfCharSet = DEFAULT_CHARSET;
    std::wcsncpy(font.lfFaceName, face, LF_FACESIZE - 1);
    POINT height{0, MulDiv(GetDeviceCaps(dc, LOGPIXELSY), tenthsOfPoint, 720)};
    POINT origin{0, 0};
    DPtoLP(dc, &height, 1);
    DPtoLP(dc, &origin, 1);
    font.lfHeight = -std::abs(static_cast<int>(height.y - origin.y));
    return CreateFontIndirectW(&font);
}

}  // namespace orvo
