#pragma once
// The main window's behaviour, apart from drawing: its start-up steps on the controls, and the
// handlers of its buttons and language list. The Win32 dialog forwards to it; tests drive it
// through in-memory controls and a simulated device.
#include "DeviceLink.h"
#include "DialogControls.h"
#include "LanguageTexts.h"
#include "LanguageView.h"
#include "PipeLibrary.h"
#include "SerialProgramming.h"
#include "TextKeys.h"
#include "UpgradeStart.h"

#include <string>

namespace orvo {

// The window's title, also drawn onto its background.
inline constexpr wchar_t kWindowTitle[] = L"Velmora Orvo I Upgrade Tool";
// The one message that does not come from language.ini.
inline constexpr wchar_t kConfigMissingMessage[] = L"can not found the ini file..";

class MainDialogLogic {
public:
    MainDialogLogic(DialogControls& controls, PipeLibrary& pipes);

    // The start-up steps that concern the controls, in their order: the language set-up with
    // the proposed serial number and the captions, the status-text mode, the version text
    // (with its message when CONFIG.INI cannot be loaded), the emptied SN field, and the
    // controls hidden and moved into the skin's layout.
    void OnInitDialog();

    void OnStartUpgrade() { upgrade_.OnStartUpgrade(); }
    void OnReadSerialNumber() { serial_.OnReadSerialNumber(); }
    void OnWriteSerialNumber() { serial_.OnWriteSerialNumber(); }
    void OnSelChangeLanguage() { view_.OnSelChangeLanguage(); }
    // Every way of closing asks first. While an upgrade runs the answer is no, with T10: a
    // half-sent firmware image can leave the device unusable.
    bool MayClose();
    void OnDestroy() { upgrade_.OnDestroy(); }

    const std::wstring& VersionText() const { return versionText_; }
    bool UpgradeRunning() const { return upgrade_.Worker().IsRunning(); }
    // Why the window refuses to close or the session to end while an upgrade runs: T10, in the
    // current language.
    std::wstring UpgradeRunningText() const { return view_.GetLangText(text::kUpgradeRunning); }

private:
    DialogControls& controls_;
    LanguageTexts texts_;
    LanguageView view_;
    DeviceLink link_;
    // Declared after all it uses: it is destroyed first, and waits for its worker.
    UpgradeStart upgrade_;
    SerialProgramming serial_;
    std::wstring versionText_;
};

}  // namespace orvo
