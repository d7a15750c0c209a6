#pragma once
// The part of the dialog's controls the device code uses, in memory.
#include "DialogControls.h"

#include <map>
#include <vector>

namespace orvo::testing {

class FakeDialogControls : public DialogControls {
  public:
    struct Bar {
        int lower = 0;
        int upper = 100;
        int position = 0;
        std::vector<int> positions;  // every position set, in order
    };

    void SetText(int, const std::wstring&) override {}
    std::wstring GetText(int) const override { return {}; }
    bool IsChecked(int id) const override {
        const auto found = checked_.find(id);
        return found != checked_.end() && found->second;
    }
    void SetChecked(int id, bool checked) override { checked_[id] = checked; }
    void Show(int, bool) override {}
    void Move(int, int, int) override {}
    void SetTextLimit(int, int) override {}
    void AddListItem(int, const std::wstring&) override {}
    int GetListSelection(int) const override { return -1; }
    void SetListSelection(int, int) override {}
    void SetBarRange(int lower, int upper) override {
        bar_.lower = lower;
        bar_.upper = upper;
    }
    void SetBarPosition(int position) override {
        bar_.position = position;
        bar_.positions.push_back(position);
    }
    void SetShowText(bool) override {}
    void ShowMessage(const std::wstring&) override {}

    Bar BarState() const { return bar_; }

  private:
    std::map<int, bool> checked_;
    Bar bar_;
};

}  // namespace orvo::testing
