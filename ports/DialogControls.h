#pragma once
// What the dialog's logic needs of its window: its controls by id, the progress bar and a
// message box. The real window implements it over Win32 controls; tests implement it in memory.
// Every call may come from the upgrade worker as well as from the window's own thread, so an
// implementation delivers each call to the window's thread (Win32: SendMessage does).
#include <string>

namespace orvo {

// Control ids of the main dialog (template 102).
namespace control {
inline constexpr int kExit = 2;  // IDCANCEL
inline constexpr int kUnusedEdit = 1000;
inline constexpr int kStartUpgrade = 1001;
inline constexpr int kSnField = 1002;
inline constexpr int kIncrease = 1003;  // "Increase+1"
inline constexpr int kReadSn = 1005;
inline constexpr int kUpgradeInternal = 1006;
inline constexpr int kUpgradeExternal = 1007;
inline constexpr int kProgress = 1009;
inline constexpr int kWriteSn = 1010;
inline constexpr int kLanguageList = 1012;
inline constexpr int kLanguageLabel = 1013;
inline constexpr int kSnLabel = 1014;
inline constexpr int kSnReadout = 1015;
inline constexpr int kUnusedGroup = 1016;
inline constexpr int kStartCaption = 1017;
inline constexpr int kExitCaption = 1018;
inline constexpr int kClose = 1020;
inline constexpr int kMinimise = 1021;
// Not a control: the command of the About entry in the window's system menu (WM_SYSCOMMAND).
inline constexpr unsigned kAboutEntry = 0x0010;
}  // namespace control

class DialogControls {
public:
    virtual ~DialogControls() = default;

    // Caption or content of any control; for the progress bar, its status text.
    virtual void SetText(int id, const std::wstring& text) = 0;
    virtual std::wstring GetText(int id) const = 0;
    virtual bool IsChecked(int id) const = 0;
    virtual void SetChecked(int id, bool checked) = 0;
    virtual void Show(int id, bool visible) = 0;
    virtual void Move(int id, int x, int y) = 0;  // top-left corner in client pixels
    virtual void SetTextLimit(int id, int characters) = 0;

    virtual void AddListItem(int id, const std::wstring& text) = 0;
    virtual int GetListSelection(int id) const = 0;  // -1 when nothing is selected
    virtual void SetListSelection(int id, int index) = 0;

    // The text progress bar, control kProgress.
    virtual void SetBarRange(int lower, int upper) = 0;
    virtual void SetBarPosition(int position) = 0;
    virtual void SetShowText(bool on) = 0;

    // A modal message box with an OK button; returns when the user has closed it.
    virtual void ShowMessage(const std::wstring& text) = 0;
};

}  // namespace orvo
