#include "FakeDialogControls.h"

namespace orvo::testing {

using Hold = std::lock_guard<std::mutex>;

void FakeDialogControls::SetText(int id, const std::wstring& text) {
    Hold hold(lock_);
    controls_[id].text = text;
    textChanges_.push_back({id, text});
}

std::wstring FakeDialogControls::GetText(int id) const {
    return State(id).text;
}

bool FakeDialogControls::IsChecked(int id) const {
    return State(id).checked;
}

void FakeDialogControls::SetChecked(int id, bool checked) {
    Hold hold(lock_);
    controls_[id].checked = checked;
}

void FakeDialogControls::Show(int id, bool visible) {
    Hold hold(lock_);
    controls_[id].visible = visible;
}

void FakeDialogControls::Move(int id, int x, int y) {
    Hold hold(lock_);
    Control& control = controls_[id];
    control.moved = true;
    control.x = x;
    control.y = y;
}

void FakeDialogControls::SetTextLimit(int id, int characters) {
    Hold hold(lock_);
    controls_[id].textLimit = characters;
}

void FakeDialogControls::AddListItem(int id, const std::wstring& text) {
    Hold hold(lock_);
    controls_[id].items.push_back(text);
}

int FakeDialogControls::GetListSelection(int id) const {
    return State(id).selection;
}

void FakeDialogControls::SetListSelection(int id, int index) {
    Hold hold(lock_);
    Control& control = controls_[id];
    // -1, or any index outside the items, clears the selection, as the list documents it.
    bool inside = index >= 0 && index < static_cast<int>(control.items.size());
    control.selection = inside ? index : -1;
}

void FakeDialogControls::SetBarRange(int lower, int upper) {
    Hold hold(lock_);
    bar_.lower = lower;
    bar_.upper = upper;
}

void FakeDialogControls::SetBarPosition(int position) {
    Hold hold(lock_);
    bar_.position = position;
    bar_.positions.push_back(position);
}

void FakeDialogControls::SetShowText(bool on) {
    Hold hold(lock_);
    bar_.showText = on;
}

void FakeDialogControls::ShowMessage(const std::wstring& text) {
    std::function<void(const std::wstring&)> handler;
    {
        Hold hold(lock_);
        messages_.push_back(text);
        handler = onMessage_;
    }
    if (handler) {
        handler(text);
    }
}

FakeDialogControls::Control FakeDialogControls::State(int id) const {
    Hold hold(lock_);
    auto found = controls_.find(id);
    return found == controls_.end() ? Control() : found->second;
}

FakeDialogControls::Bar FakeDialogControls::BarState() const {
    Hold hold(lock_);
    return bar_;
}

std::vector<std::wstring> FakeDialogControls::Messages() const {
    Hold hold(lock_);
    return messages_;
}

std::vector<FakeDialogControls::TextChange> FakeDialogControls::TextChanges() const {
    Hold hold(lock_);
    return textChanges_;
}

void FakeDialogControls::ClearRecords() {
    Hold hold(lock_);
    messages_.clear();
    textChanges_.clear();
}

void FakeDialogControls::OnMessage(std::function<void(const std::wstring&)> handler) {
    Hold hold(lock_);
    onMessage_ = std::move(handler);
}

}  // namespace orvo::testing
