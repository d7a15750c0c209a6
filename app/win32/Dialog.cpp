#include "Dialog.h"

namespace orvo {

INT_PTR Dialog::RunModal(HINSTANCE instance, int templateId, HWND parent) {
    return DialogBoxParamW(instance, MAKEINTRESOURCEW(templateId), parent, DialogProc,
                           reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK Dialog::DialogProc(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(window, DWLP_USER, l);
        reinterpret_cast<Dialog*>(l)->window_ = window;
    }
    auto* self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(window, DWLP_USER));
    if (self == nullptr) {
        return FALSE;
    }
    INT_PTR result = TRUE;  // what most handled messages answer
    bool handled = self->OnMessage(message, w, l, result);
    if (message == WM_NCDESTROY) {
        self->window_ = nullptr;
        SetWindowLongPtrW(window, DWLP_USER, 0);
    }
    return handled ? result : FALSE;
}

}  // namespace orvo
