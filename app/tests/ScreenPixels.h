#pragma once
// The tool's own drawing as the screen shows it: it paints its title and version straight onto
// its background, where no window message can read them.
#include "ScreenCapture.h"

#include <windows.h>

namespace orvo::testing {

// Waits until the tool's 100 ms timer has drawn the red title at the top left; false when it
// does not within a few seconds. The timer runs in the dialog's own message loop, so this also
// tells that the loop has started.
bool WaitForDrawnTitle(HWND window);

}  // namespace orvo::testing
