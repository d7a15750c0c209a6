#pragma once
// The languages of language.ini and the texts in them: the language table, the current
// language, text lookup by key. How a text reaches the screen is the window's business
// (LanguageView).
//
// The table comes from CONFIG.INI's code-page lines and is filled once at start-up, before any
// worker; the current language may change on the window's thread while a worker looks texts up,
// so it is atomic. Texts are looked up in the section of the current language; a missing file,
// section or key gives the empty text.
#include <atomic>
#include <string>
#include <string_view>
#include <vector>

namespace orvo {

// `text` with each %1, %2, ... replaced by `values` in order.
std::wstring FillPlaceholders(std::wstring text, const std::vector<std::wstring>& values);

struct LanguageEntry {
    std::wstring displayName;  // as the list shows it, from section LANGUAGE_EN
    std::wstring sectionName;  // LANGUAGE_EN, LANGUAGE_FR or LANGUAGE_SP
    int codePage = 0;          // from the language's code-page line in CONFIG.INI
};

class LanguageTexts {
public:
    static constexpr int kMaxLanguages = 256;

    enum class LoadResult { kLoaded, kConfigMissing, kLanguageFileMissing };

    // Fills the table from CONFIG.INI's code-page lines (at most kMaxLanguages, only the
    // languages language.ini offers) and makes the stored language current, else the first. An
    // empty CONFIG.INI, or no language at all, leaves none current. Nothing is read when either
    // file is missing.
    LoadResult Load();

    // The key's text in the current language; empty with no current language, for an empty
    // key, and for a key or section that language.ini lacks. At most 255 characters.
    std::wstring GetLangText(std::string_view key) const;
    // The key's text in the language stored in CONFIG.INI, as message boxes show it (empty when
    // no language is current).
    std::wstring StoredLanguageText(std::string_view key) const;

    enum class Choice {
        kOutsideTable,  // nothing changed
        kApplied,       // current, and stored where CONFIG.INI has the key and is not read-only
        kNotSaved,      // current, but CONFIG.INI should have taken it and did not: another
                        // program holds the file, or its folder refuses the new copy
    };
    // Makes language `index` current and stores it in CONFIG.INI. A file without the key, or a
    // read-only one, keeps its value: that is how a PC's language is fixed on purpose.
    Choice Select(int index);
    // Makes the language of section `sectionName` current without storing it, for one run of a
    // command-line job; false when the table lacks it.
    bool UseForThisRun(const std::wstring& sectionName);

    int CurrentIndex() const { return currentIndex_; }
    const std::vector<LanguageEntry>& Languages() const { return languages_; }

private:
    void MakeStoredLanguageCurrent();

    std::vector<LanguageEntry> languages_;
    std::atomic<int> currentIndex_{-1};
};

}  // namespace orvo
