// The language operations on a real window, over the sample files of data/: what a technician
// sees at start-up, after a language change and when the upgrade worker sets a status text.
#include "LanguageView.h"
#include "TempFolder.h"
#include "ToolWindow.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <thread>

namespace orvo {
namespace {

using orvo::testing::ScopedCurrentDir;
using orvo::testing::Settle;
using orvo::testing::TempFolder;
using orvo::testing::ToolWindow;

class LanguageOnWindow : public ::testing::Test {
protected:
    LanguageOnWindow() {
        folder_.CopyIn(ORVO_DATA_DIR, {"CONFIG.INI", "language.ini", "burn_sn.txt"});
    }

    std::wstring TextOf(int id) const { return window_.TextOf(id); }

    TempFolder folder_;
    ScopedCurrentDir inFolder_{folder_.Path()};
    ToolWindow window_;
    LanguageTexts languages_;
    LanguageView texts_{languages_, window_.Controls()};
};

TEST_F(LanguageOnWindow, StartUpAndLanguageChangeShowTheTexts) {
    ASSERT_TRUE(texts_.LoadLanguages());
    texts_.ApplyTexts();
    EXPECT_EQ(SendDlgItemMessageW(window_.Get(), control::kLanguageList, CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(TextOf(control::kLanguageList), L"English");
    EXPECT_EQ(TextOf(control::kStartCaption), L"Start Upgrade");
    EXPECT_EQ(IsDlgButtonChecked(window_.Get(), control::kUpgradeInternal), BST_CHECKED);

    texts_.SetStatusKey("T3");
    texts_.SetStatusTextMode(1);
    SendDlgItemMessageW(window_.Get(), control::kLanguageList, CB_SETCURSEL, 2, 0);
    texts_.OnSelChangeLanguage();
    EXPECT_EQ(TextOf(control::kStartCaption), L"Iniciar actualizaci\u00F3n");
    EXPECT_EQ(TextOf(control::kProgress), L"La actualizaci\u00F3n ha fallado.");
    EXPECT_NE(folder_.Read("CONFIG.INI").find("LANGUAGE=LANGUAGE_SP\r\n"), std::string::npos);
}

TEST_F(LanguageOnWindow, WorkersStatusTextReachesTheBar) {
    ASSERT_TRUE(texts_.LoadLanguages());
    texts_.SetStatusTextMode(1);
    std::atomic<bool> done{false};
    std::thread worker([&] {
        texts_.SetStatusText(texts_.GetLangText("T2"));
        done = true;
    });
    while (!done) {
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);  // takes the sent WM_SETTEXT
        Sleep(1);
    }
    worker.join();
    Settle();
    EXPECT_EQ(TextOf(control::kProgress), L"Upgrade finished successfully.");
}

}  // namespace
}  // namespace orvo
