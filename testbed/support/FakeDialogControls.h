#pragma once
// The dialog's controls in memory, for tests of the dialog's logic. Every call may come from
// any thread. It records what the logic did: texts (and every text change), check marks,
// visibility, positions, text limits, list items and selection, the progress bar and the
// message boxes shown. Controls nobody touched read as empty, unchecked and visible.
#include "DialogControls.h"

#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace orvo::testing {

class FakeDialogControls : public DialogControls {
public:
    struct Control {
        std::wstring text;
        bool checked = false;
        bool visible = true;
        bool moved = false;
        int x = 0;
        int y = 0;
        int textLimit = -1;  // -1: never limited
        std::vector<std::wstring> items;
        int selection = -1;
    };
    struct Bar {
        int lower = 0;
        int upper = 100;
        int position = 0;
        bool showText = true;        // as the real bar starts
        std::vector<int> positions;  // every position set, in order
    };
    struct TextChange {
        int id;
        std::wstring text;
    };

    // DialogControls
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
    // Records the text, then runs the message handler, if any, outside the lock: a test can
    // answer, block or count there. Returns when the handler does.
    void ShowMessage(const std::wstring& text) override;

    // What the logic left behind.
    Control State(int id) const;
    Bar BarState() const;
    std::vector<std::wstring> Messages() const;
    std::vector<TextChange> TextChanges() const;
    void ClearRecords();  // forgets messages and text changes, keeps the controls' state

    void OnMessage(std::function<void(const std::wstring&)> handler);

private:
    mutable std::mutex lock_;
    std::map<int, Control> controls_;
    Bar bar_;
    std::vector<std::wstring> messages_;
    std::vector<TextChange> textChanges_;
    std::function<void(const std::wstring&)> onMessage_;
};

}  // namespace orvo::testing
