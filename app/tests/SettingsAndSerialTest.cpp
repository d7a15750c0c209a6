// What the tool writes to its files from the window: the language choice into CONFIG.INI and
// a burnt serial number into the history file, through the hidden Write SN button.
#include "Captions.h"
#include "RunningTool.h"
#include "win32/KernelHandle.h"

#include <string>

namespace orvo::testing {
namespace {

using namespace orvo::control;

class LanguageChoice : public RunningTool {};

TEST_F(LanguageChoice, RewritesTheStoredValueOnlyAndEveryCaption) {
    const std::string before = Folder().Read("CONFIG.INI");
    Start();
    const drive::ProgramWindow& window = WaitForWindow();
    ASSERT_EQ(window.Text(kLanguageList), L"English");

    window.SelectListItem(kLanguageList, 2);  // the list follows CONFIG.INI: EN, FR, SP
    ASSERT_TRUE(window.WaitForText(
        kStartCaption, LanguageText(L"LANGUAGE_SP", text::kStartUpgradeCaption), kStepTimeout));
    EXPECT_EQ(window.Text(kLanguageList), L"Espa\u00F1ol");
    for (const Caption& caption : kCaptions) {
        EXPECT_EQ(window.Text(caption.id), LanguageText(L"LANGUAGE_SP", caption.key)) << caption.id;
    }
    std::string expected = before;
    expected.replace(expected.find("LANGUAGE=LANGUAGE_EN"), 20, "LANGUAGE=LANGUAGE_SP");
    EXPECT_EQ(Folder().Read("CONFIG.INI"), expected);

    // Message boxes follow the stored language: an empty SN field is refused in Spanish.
    window.Click(kWriteSn);
    ExpectMessage(LanguageText(L"LANGUAGE_SP", text::kSerialNotTwelveDigits));
}

TEST_F(LanguageChoice, FileHeldByAnotherProgramIsSaidAndKeptWhole) {
    const std::string before = Folder().Read("CONFIG.INI");
    Start();
    const drive::ProgramWindow& window = WaitForWindow();
    {
        // Open for reading and shared for reading only, as an editor holding the file would.
        KernelHandle held(CreateFileW((Folder().Path() / "CONFIG.INI").wstring().c_str(),
                                      GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(held.IsValid());
        window.SelectListItem(kLanguageList, 2);
        // In the language the file still stores, as every message box.
        ExpectMessage(LanguageText(L"LANGUAGE_EN", text::kLanguageNotSaved));
        EXPECT_EQ(window.Text(kStartCaption),
                  LanguageText(L"LANGUAGE_SP", text::kStartUpgradeCaption));
    }
    EXPECT_EQ(Folder().Read("CONFIG.INI"), before);

    // Once the file is free again, choosing stores the language.
    window.SelectListItem(kLanguageList, 1);
    ASSERT_TRUE(window.WaitForText(
        kStartCaption, LanguageText(L"LANGUAGE_FR", text::kStartUpgradeCaption), kStepTimeout));
    EXPECT_NE(Folder().Read("CONFIG.INI").find("LANGUAGE=LANGUAGE_FR"), std::string::npos);
    EXPECT_TRUE(drive::FindMessageBoxes(ProcessId()).empty());
}

class HiddenWriteSn : public RunningTool {};

TEST_F(HiddenWriteSn, BurnsTheProposedNumberAndRecordsIt) {
    const std::string history = Folder().Read("burn_sn.txt");
    ASSERT_EQ(history, "961990000100\r\n");
    Start();
    const drive::ProgramWindow& window = WaitForWindow();
    ASSERT_FALSE(window.IsShown(kWriteSn));

    // The field is empty after start-up: the first click is refused and proposes a number.
    window.Click(kWriteSn);
    ExpectMessage(LanguageText(L"LANGUAGE_EN", text::kSerialNotTwelveDigits));
    ASSERT_TRUE(window.WaitForText(kSnField, L"961990000101", kStepTimeout));

    window.Click(kWriteSn);
    // "Increase+1" is ticked at start-up: the field moves on once the number is burnt.
    ASSERT_TRUE(window.WaitForText(kSnField, L"961990000102", kStepTimeout))
        << "the field shows " << ::testing::PrintToString(window.Text(kSnField));
    EXPECT_TRUE(drive::FindMessageBoxes(ProcessId()).empty());
    EXPECT_EQ(Folder().Read("burn_sn.txt"), history + "961990000101\r\n");
    EXPECT_NE(SimOutput("serial.txt").find("961990000101"), std::string::npos);
}

}  // namespace
}  // namespace orvo::testing
