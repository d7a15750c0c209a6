#pragma once
// The About box, template 100: icon, version line and OK; no behaviour of its own.
#include "Dialog.h"

namespace orvo {

class AboutBox : public Dialog {
public:
    static constexpr int kTemplate = 100;

protected:
    bool OnMessage(UINT message, WPARAM w, LPARAM, INT_PTR& result) override {
        if (message == WM_INITDIALOG) {
            result = TRUE;
            return true;
        }
        if (message == WM_COMMAND && (LOWORD(w) == IDOK || LOWORD(w) == IDCANCEL)) {
            End(LOWORD(w));
            result = TRUE;
            return true;
        }
        return false;
    }
};

}  // namespace orvo
