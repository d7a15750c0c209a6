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

// Presses OK on the first message box with our caption and hands back its text.
std::wstring AnswerMessageBox() {
    for (int attempt = 0; attempt < 500; ++attempt) {
        HWND box = FindWindowW(L"#32770", kCaption);
        if (box != nullptr) {
            wchar_t text[256] = {};
            GetDlgItemTextW(box, 0xFFFF, text, 256);
            PostMessageW(box, WM_COMMAND, IDOK, 0);
            return text;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return L"<no message box>";
}

TEST_F(DialogWindowControlsTest, MessageBoxShowsTheTextAndWaitsForOk) {
    std::wstring seen;
    std::thread user([&] { seen = AnswerMessageBox(); });
    controls_.ShowMessage(L"The device does not answer.");
    user.join();
    EXPECT_EQ(seen, L"The device does not answer.");
}

TEST_F(DialogWindowControlsTest, WorkerMessageBoxDoesNotNeedTheWindowsThread) {
    std::atomic<bool> returned{false};
    std::thread worker([&] {
        controls_.ShowMessage(L"Upgrade failed.");
        returned = true;
    });
    std::wstring seen = AnswerMessageBox();
    worker.join();
    EXPECT_TRUE(returned);
    EXPECT_EQ(seen, L"Upgrade failed.");
    Settle();
}

}  // namespace
}  // namespace orvo
