#pragma once
// The dialog's controls as the portable logic sees them, over a real dialog window: controls by
// id, the text progress bar and message boxes. Every call may come from the upgrade worker too:
// the control calls are messages, which the system hands to the window's own thread, and the
// bar delivers its own calls there.
//
// A control's handle is looked up once: under Wine each lookup by id asks the Wine server, and
// the upgrade's start would pay for every control it touches.
#include "DialogControls.h"
#include "TextProgressBar.h"

#include <windows.h>

#include <map>
#include <mutex>
#include <string>

namespace orvo {

class DialogWindowControls : public DialogControls {
public:
    // `caption` is the title of every message box.
    DialogWindowControls(HWND dialog, TextProgressBar& bar, std::wstring caption);

    void SetText(int id, const std::wstring& text) override;
    std::wstring GetText(int id) const override;
    bool IsChecked(int id) const override;
    void SetChecked(int id, bool checked) override;
    void Show(int id, bool visible) override;
    void Move(int id, int x, int y) override;
    void SetTextLimit(int id, int characters) override;
    void AddListItem(int id, const std::wstring& text) override;
    int GetListSelection(int id) const override;
    void SetListSelection(int id, int index) override;
    void SetBarRange(int lower, int upper) override;
    void SetBarPosition(int position) override;
    void SetShowText(bool on) override;
    // Owned by the dialog and brought to the front, from any thread, as the application
    // framework's boxes are: a box without an owner can open behind the window, and the
    // technician would see only the window while the worker waits in it. While the box is up
    // the dialog is disabled, so the technician answers the box first; a worker's box needs the
    // dialog's thread to go on handling messages, which it does in its modal loop.
    void ShowMessage(const std::wstring& text) override;

private:
    // The control's handle; NULL, and not kept, while the dialog has no such control.
    HWND Item(int id) const;
    LRESULT SendToItem(int id, UINT message, WPARAM wParam, LPARAM lParam) const {
        return SendMessageW(Item(id), message, wParam, lParam);
    }

    HWND dialog_;
    mutable std::mutex itemsLock_;
    mutable std::map<int, HWND> items_;
    TextProgressBar& bar_;
    std::wstring caption_;
};

}  // namespace orvo
