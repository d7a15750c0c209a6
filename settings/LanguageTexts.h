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

    // Start-up, run once before any worker: prepares the controls (bar text on, SN field limited
    // to 12 characters, the check boxes 1007, 1006 and 1003 ticked), fills the table and the
    // list from CONFIG.INI's code-page lines (at most kMaxLanguages) and selects the stored
    // language, else the first. Returns false when CONFIG.INI or language.ini is missing, after
    // the message T4 or T11: the language set-up stops there. On true the caller proposes the
    // next serial number and then runs ApplyTexts.
    bool LoadLanguages();
    // Sets the caption of every translated control from the current language.
    void ApplyTexts();
    // The language list's selection changed: make it current, store it, re-apply all texts.
    void OnSelChangeLanguage();

    // The key's text in the current language; empty with no current language, for an empty
    // key, and for a key or section that language.ini lacks. At most 255 characters.
    std::wstring GetLangText(std::string_view key) const;
    // A modal message box with the key's text in the language stored in CONFIG.INI (empty when
    // no language is current).
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
    std::wstring SectionText(const std::wstring& section, std::string_view key) const;
    void SelectStoredLanguage();

    DialogControls& controls_;
    std::vector<LanguageEntry> languages_;
    std::atomic<int> currentIndex_{-1};
    std::atomic<int> statusTextMode_{0};
    mutable std::mutex statusKeyLock_;
    std::string statusKey_;
};

}  // namespace orvo
