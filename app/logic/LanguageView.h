#pragma once
// What the technician reads and sees, in the current language: the controls' captions, the
// language list, message boxes, the status line and the progress bar. The one owner of how a
// text reaches the screen; the language data is LanguageTexts'.
//
// The status key names the text of the status line so that a language change can show it
// again; the upgrade worker writes it while the window's thread reads it, so it is handed over
// under a lock.
#include "DialogControls.h"
#include "LanguageTexts.h"
#include "TechnicianView.h"

#include <atomic>
#include <mutex>
#include <string>

namespace orvo {

class LanguageView : public TechnicianView {
public:
    LanguageView(LanguageTexts& texts, DialogControls& controls)
        : texts_(texts), controls_(controls) {}

    // Start-up, run once before any worker: prepares the controls (bar text on, SN field limited
    // to 12 characters, the check boxes 1007, 1006 and 1003 ticked), loads the languages into
    // the list and selects the current one. Returns false when CONFIG.INI or language.ini is
    // missing, after the message T4 or T11: the language set-up stops there. On true the caller
    // proposes the next serial number and then runs ApplyTexts.
    bool LoadLanguages();
    // Sets the caption of every translated control from the current language.
    void ApplyTexts();
    // The language list's selection changed: make it current, store it, re-apply all texts.
    void OnSelChangeLanguage();

    // The status line: shown in the progress bar while the status-text mode is 1; otherwise
    // the bar's text is emptied, so it shows its percentage.
    void SetStatusTextMode(int mode);
    int StatusTextMode() const { return statusTextMode_; }
    void SetStatusText(const std::wstring& text);
    std::string StatusKey() const;

    // TechnicianView
    std::wstring GetLangText(std::string_view key) const override;
    void ShowLangMessage(std::string_view key) override;
    void ShowLangMessage(std::string_view key, const std::vector<std::wstring>& values) override;
    void ShowStatus(std::string_view key) override;
    void SetStatusKey(std::string_view key) override;
    void ReportFailure(std::string_view messageKey) override;
    void ReportFailure(std::string_view messageKey,
                       const std::vector<std::wstring>& values) override;
    void ResetProgress() override;
    void StartProgress(int total) override;
    void SetProgress(int done) override;

private:
    LanguageTexts& texts_;
    DialogControls& controls_;
    std::atomic<int> statusTextMode_{0};
    mutable std::mutex statusKeyLock_;
    std::string statusKey_;
};

}  // namespace orvo
