#include "DialogWindowControls.h"

namespace orvo {

DialogWindowControls::DialogWindowControls(HWND dialog, TextProgressBar& bar, std::wstring caption)
    : dialog_(dialog), bar_(bar), caption_(std::move(caption)) {}

HWND DialogWindowControls::Item(int id) const {
    std::lock_guard<std::mutex> hold(itemsLock_);
    const auto known = items_.find(id);
    if (known != items_.end()) {
        return known->second;
    }
    HWND item = GetDlgItem(dialog_, id);
    if (item != nullptr) {
        items_.emplace(id, item);
    }
    return item;
}

void DialogWindowControls::SetText(int id, const std::wstring& text) {
    SetWindowTextW(Item(id), text.c_str());
}

std::wstring DialogWindowControls::GetText(int id) const {
    HWND item = Item(id);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(item)) + 1, L'\0');
    int length = GetWindowTextW(item, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(length > 0 ? length : 0));
    return text;
}

bool DialogWindowControls::IsChecked(int id) const {
    return SendToItem(id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void DialogWindowControls::SetChecked(int id, bool checked) {
    SendToItem(id, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void DialogWindowControls::Show(int id, bool visible) {
    ShowWindow(Item(id), visible ? SW_SHOW : SW_HIDE);
}

void DialogWindowControls::Move(int id, int x, int y) {
    SetWindowPos(Item(id), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void DialogWindowControls::SetTextLimit(int id, int characters) {
    SendToItem(id, EM_SETLIMITTEXT, static_cast<WPARAM>(characters), 0);
}

void DialogWindowControls::AddListItem(int id, const std::wstring& text) {
    SendToItem(id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

int DialogWindowControls::GetListSelection(int id) const {
    LRESULT selection = SendToItem(id, CB_GETCURSEL, 0, 0);
    return selection == CB_ERR ? -1 : static_cast<int>(selection);
}

void DialogWindowControls::SetListSelection(int id, int index) {
    SendToItem(id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DialogWindowControls::SetBarRange(int lower, int upper) {
    bar_.SetBarRange(lower, upper);
}

void DialogWindowControls::SetBarPosition(int position) {
    bar_.SetBarPosition(position);
}

void DialogWindowControls::SetShowText(bool on) {
    bar_.SetShowText(on);
}

void DialogWindowControls::ShowMessage(const std::wstring& text) {
    MessageBoxW(dialog_, text.c_str(), caption_.c_str(), MB_OK | MB_SETFOREGROUND);
}

}  // namespace orvo
