#pragma once
// The language texts of language.ini and the operations on them: the language table and list,
// text lookup by key, keyed message boxes, control captions and the status line.
//
// Texts are looked up in the section of the current language; a missing file, section or key
// gives the empty text. The status key names the text of the status line so that a language
// change can show it again; the upgrade worker writes it while the window's thread reads it,
// so it is handed over under a lock. The table is filled once at start-up, before any worker.
#include "DialogControls.h"

#include <atomic>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace orvo {

struct LanguageEntry {
    std::wstring displayName;  // as the list shows it, from section LANGUAGE_EN
    std::wstring sectionName;  // LANGUAGE_EN, LANGUAGE_FR or LANGUAGE_SP
    int codePage = 0;          // from the language's code-page line in CONFIG.INI
};

class LanguageTexts {
public:
    static constexpr int kMaxLanguages = 256;

    explicit LanguageTexts(DialogControls& controls) : controls_(controls) {}

    // Prepares the controls, fills the table and the list from CONFIG.INI's code-page lines and
    // selects the stored language (else the first). Returns false when CONFIG.INI or
    // language.ini is missing, after its message: the caller then stops the language set-up.
    bool LoadLanguages();
    // Sets the caption of every translated control from the current language.
    void ApplyTexts();
    // The language list's selection changed: make it current, store it, re-apply all texts.
    void OnSelChangeLanguage();

    std::wstring GetLangText(std::string_view key) const;
    // A modal message box with the key's text in the language stored in CONFIG.INI.
    void ShowLangMessage(std::string_view key);
    void SetStatusTextMode(int mode);
    int StatusTextMode() const { return statusTextMode_; }
    // Shown in the progress bar while the status-text mode is 1; otherwise the bar's text is
    // emptied, so it shows its percentage.
    void SetStatusText(const std::wstring& text);

    void SetStatusKey(std::string key);
    std::string StatusKey() const;

    int CurrentIndex() const { return currentIndex_; }
    const std::vector<LanguageEntry>& Languages() const { return languages_; }

private:
    DialogControls& controls_;
    std::vector<LanguageEntry> languages_;
    std::atomic<int> currentIndex_{-1};
    std::atomic<int> statusTextMode_{0};
    mutable std::mutex statusKeyLock_;
    std::string statusKey_;
};

}  // namespace orvo
