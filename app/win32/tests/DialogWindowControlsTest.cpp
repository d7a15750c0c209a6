#include "DialogWindowControls.h"

#include "TestWindow.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace orvo {
namespace {

using orvo::testing::Settle;
using orvo::testing::TestWindow;

const wchar_t kCaption[] = L"Orvo message test";

class DialogWindowControlsTest : public ::testing::Test {
protected:
    DialogWindowControlsTest() {
        window_.AddChild(L"STATIC", control::kLanguageLabel, 10, 10, 100, 20, 0, L"Language");
        window_.AddChild(L"BUTTON", control::kIncrease, 10, 40, 100, 20, BS_AUTOCHECKBOX);
        window_.AddChild(L"EDIT", control::kSnField, 10, 70, 100, 20, WS_BORDER);
        window_.AddChild(L"COMBOBOX", control::kLanguageList, 150, 10, 100, 120,
                         CBS_DROPDOWNLIST | WS_VSCROLL);
        bar_.Attach(window_.AddChild(PROGRESS_CLASSW, control::kProgress, 10, 200, 258, 20));
    }

    RECT PlaceOf(int id) const {
        RECT rect{};
        GetWindowRect(GetDlgItem(window_.Get(), id), &rect);
        MapWindowPoints(nullptr, window_.Get(), reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }

    TestWindow window_{480, 360};
    TextProgressBar bar_;
    DialogWindowControls controls_{window_.Get(), bar_, kCaption};
};

TEST_F(DialogWindowControlsTest, TextsGoToTheControls) {
    EXPECT_EQ(controls_.GetText(control::kLanguageLabel), L"Language");
    controls_.SetText(control::kLanguageLabel, L"Langue fran\u00E7aise");
    EXPECT_EQ(controls_.GetText(control::kLanguageLabel), L"Langue fran\u00E7aise");
    controls_.SetText(control::kProgress, L"Upgrade failed.");
    EXPECT_EQ(controls_.GetText(control::kProgress), L"Upgrade failed.");
    EXPECT_EQ(controls_.GetText(4242), L"") << "no such control";
    window_.AddChild(L"STATIC", 4242, 10, 100, 100, 20, 0, L"");
    controls_.SetText(4242, L"Later");
    EXPECT_EQ(controls_.GetText(4242), L"Later") << "a control added since is found";
}

TEST_F(DialogWindowControlsTest, CheckShowMoveAndLimit) {
    EXPECT_FALSE(controls_.IsChecked(control::kIncrease));
    controls_.SetChecked(control::kIncrease, true);
    EXPECT_TRUE(controls_.IsChecked(control::kIncrease));

    controls_.Show(control::kIncrease, false);
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(window_.Get(), control::kIncrease)));
    controls_.Show(control::kIncrease, true);
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(window_.Get(), control::kIncrease)));

    controls_.Move(control::kSnField, 244, 100);
    RECT place = PlaceOf(control::kSnField);
    EXPECT_EQ(place.left, 244);
    EXPECT_EQ(place.top, 100);
    EXPECT_EQ(place.right - place.left, 100) << "the size stays";

    controls_.SetTextLimit(control::kSnField, 12);
    EXPECT_EQ(SendDlgItemMessageW(window_.Get(), control::kSnField, EM_GETLIMITTEXT, 0, 0), 12);
}

TEST_F(DialogWindowControlsTest, ListItemsAndSelection) {
    EXPECT_EQ(controls_.GetListSelection(control::kLanguageList), -1);
    controls_.AddListItem(control::kLanguageList, L"Espa\u00F1ol");
    controls_.AddListItem(control::kLanguageList, L"English");
    controls_.SetListSelection(control::kLanguageList, 1);
    EXPECT_EQ(controls_.GetListSelection(control::kLanguageList), 1);
    EXPECT_EQ(controls_.GetText(control::kLanguageList), L"English");
    controls_.SetListSelection(control::kLanguageList, -1);
    EXPECT_EQ(controls_.GetListSelection(control::kLanguageList), -1);
}

TEST_F(DialogWindowControlsTest, BarCallsReachTheBar) {
    controls_.SetBarRange(0, 51);
    controls_.SetBarPosition(17);
    EXPECT_EQ(bar_.SetBarPosition(0), 17);
}

// The first message box with our caption as another thread finds it: its text, its owner, and
// whether the window it belongs to was disabled while it was up; OK is pressed on it.
struct SeenBox {
    std::wstring text = L"<no message box>";
    HWND owner = nullptr;
    bool ownerDisabled = false;
};

SeenBox AnswerMessageBox() {
    SeenBox seen;
    for (int attempt = 0; attempt < 500; ++attempt) {
        HWND box = FindWindowW(L"#32770", kCaption);
        if (box != nullptr && IsWindowVisible(box)) {
            wchar_t text[256] = {};
            GetDlgItemTextW(box, 0xFFFF, text, 256);
            seen.text = text;
            seen.owner = GetWindow(box, GW_OWNER);
            seen.ownerDisabled = seen.owner != nullptr && !IsWindowEnabled(seen.owner);
            PostMessageW(box, WM_COMMAND, IDOK, 0);
            return seen;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return seen;
}

// Handles the messages of this thread, the window's, until `done`: as the dialog's modal loop
// does while a worker shows a box it owns.
void PumpUntil(const std::atomic<bool>& done) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done && std::chrono::steady_clock::now() < until) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

TEST_F(DialogWindowControlsTest, MessageBoxShowsTheTextOwnedByTheWindowAndWaitsForOk) {
    SeenBox seen;
    std::thread user([&] { seen = AnswerMessageBox(); });
    controls_.ShowMessage(L"The device does not answer.");
    user.join();
    EXPECT_EQ(seen.text, L"The device does not answer.");
    EXPECT_EQ(seen.owner, window_.Get());
    EXPECT_TRUE(seen.ownerDisabled) << "the box is modal to the window";
    EXPECT_TRUE(IsWindowEnabled(window_.Get())) << "the window is enabled again after OK";
}

// The application framework's boxes take the main window as owner from any thread: a worker's
// box comes in front of the window, which waits for it, instead of opening somewhere behind.
TEST_F(DialogWindowControlsTest, WorkerMessageBoxIsOwnedByTheWindow) {
    std::atomic<bool> returned{false};
    SeenBox seen;
    std::thread user([&] { seen = AnswerMessageBox(); });
    std::thread worker([&] {
        controls_.ShowMessage(L"Upgrade failed.");
        returned = true;
    });
    PumpUntil(returned);
    worker.join();
    user.join();
    EXPECT_TRUE(returned);
    EXPECT_EQ(seen.text, L"Upgrade failed.");
    EXPECT_EQ(seen.owner, window_.Get()) << "raised on the worker, owned by the window";
    EXPECT_TRUE(seen.ownerDisabled) << "the technician answers the box before the window";
    Settle();
    EXPECT_TRUE(IsWindowEnabled(window_.Get())) << "the window is enabled again after OK";
}

}  // namespace
}  // namespace orvo
