#pragma once
// The dialog layer: one static dialog procedure that stores `this` at WM_INITDIALOG and hands
// every message to the virtual OnMessage of the object. Everything else is one-line helpers.
#include <windows.h>

namespace orvo {

class Dialog {
public:
    Dialog() = default;
    virtual ~Dialog() = default;
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Runs the dialog of template `templateId` modally; returns the value given to End.
    INT_PTR RunModal(HINSTANCE instance, int templateId, HWND parent = nullptr);
    void End(INT_PTR result) { EndDialog(window_, result); }

    HWND Handle() const { return window_; }
    HWND Item(int id) const { return GetDlgItem(window_, id); }
    LRESULT SendItem(int id, UINT message, WPARAM w = 0, LPARAM l = 0) const {
        return SendDlgItemMessageW(window_, id, message, w, l);
    }

protected:
    // Returns true when the message was handled; `result`, TRUE unless set, is then the dialog
    // procedure's answer (for the WM_CTLCOLOR* family a brush, and so on).
    // Messages whose answer goes through DWLP_MSGRESULT use SetMessageResult.
    virtual bool OnMessage(UINT message, WPARAM w, LPARAM l, INT_PTR& result) = 0;
    void SetMessageResult(LRESULT value) const {
        SetWindowLongPtrW(window_, DWLP_MSGRESULT, value);
    }

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM w, LPARAM l);

    HWND window_ = nullptr;
};

}  // namespace orvo
