#include "LanguageTexts.h"

#include "CodePageLine.h"
#include "DurableFile.h"
#include "IniDocument.h"
#include "ProfileReader.h"
#include "SettingsFiles.h"
#include "SettingsKeys.h"
#include "TextCodec.h"
#include "TextLines.h"

#include <filesystem>

namespace orvo {

namespace {

// All three display names come from the English section.
const std::wstring kNamesSection = L"LANGUAGE_EN";

std::wstring Widen(std::string_view ascii) {
    return std::wstring(ascii.begin(), ascii.end());
}

// A name as the settings store it in the language's code page, read back as ANSI text.
std::wstring ThroughCodePage(const std::wstring& name, int codePage) {
    return FromAnsi(ToNarrow(name, codePage));
}

std::wstring LanguageFile() {
    return FromUtf8(settings::TextsFile());
}

bool LanguageFileExists() {
    std::error_code ignored;
    return std::filesystem::is_regular_file(FileSystemPath(settings::TextsFile()), ignored);
}

// A file another program holds open without sharing it cannot even be read.
bool PresentButUnreadable(const std::string& path) {
    std::error_code ignored;
    return std::filesystem::exists(FileSystemPath(path), ignored) && !ReadWholeFile(path);
}

std::wstring SectionText(const std::wstring& section, std::string_view key) {
    if (section.empty() || key.empty()) {
        return {};
    }
    return ProfileReader().ReadProfileText(section, Widen(key), LanguageFile());
}

}  // namespace

std::wstring FillPlaceholders(std::wstring text, const std::vector<std::wstring>& values) {
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::wstring placeholder = L"%" + std::to_wstring(i + 1);
        for (std::size_t at = text.find(placeholder); at != std::wstring::npos;
             at = text.find(placeholder, at + values[i].size())) {
            text.replace(at, placeholder.size(), values[i]);
        }
    }
    return text;
}

std::wstring LanguageTexts::GetLangText(std::string_view key) const {
    int index = currentIndex_;
    if (index < 0 || index >= static_cast<int>(languages_.size())) {
        return {};
    }
    const LanguageEntry& entry = languages_[static_cast<std::size_t>(index)];
    return SectionText(ThroughCodePage(entry.sectionName, entry.codePage), key);
}

std::wstring LanguageTexts::StoredLanguageText(std::string_view key) const {
    std::wstring section;
    int index = currentIndex_;
    if (index >= 0 && index < static_cast<int>(languages_.size())) {
        IniDocument config(settings::ConfigFile());
        std::wstring stored =
            FromAnsi(config.GetString(settings::kSectionSetting, settings::kKeyLanguage));
        section = ThroughCodePage(stored, languages_[static_cast<std::size_t>(index)].codePage);
    }
    return SectionText(section, key);
}

LanguageTexts::LoadResult LanguageTexts::Load() {
    auto lines = ReadTextLines(settings::ConfigFile());
    if (!lines) {
        return LoadResult::kConfigMissing;
    }
    if (!LanguageFileExists()) {
        return LoadResult::kLanguageFileMissing;
    }

    for (const std::string& line : *lines) {
        if (languages_.size() >= static_cast<std::size_t>(kMaxLanguages)) {
            break;
        }
        auto codePageLine = ParseCodePageLine(line);
        if (!codePageLine) {
            continue;
        }
        LanguageEntry entry;
        entry.sectionName = FromAnsi(codePageLine->sectionName);
        entry.codePage = codePageLine->codePage;
        std::wstring section = ThroughCodePage(entry.sectionName, entry.codePage);
        if (!IsOfferedLanguageSection(ToAnsi(section))) {
            continue;
        }
        entry.displayName = ProfileReader().ReadProfileText(kNamesSection, section, LanguageFile());
        languages_.push_back(std::move(entry));
    }
    MakeStoredLanguageCurrent();
    return LoadResult::kLoaded;
}

void LanguageTexts::MakeStoredLanguageCurrent() {
    IniDocument config;
    if (!config.Load(settings::ConfigFile()) || languages_.empty()) {
        return;  // an empty file selects nothing; with no language there is nothing to select
    }
    std::wstring stored =
        FromAnsi(config.GetString(settings::kSectionSetting, settings::kKeyLanguage));
    int chosen = 0;
    for (std::size_t i = 0; i < languages_.size(); ++i) {
        if (languages_[i].sectionName == stored) {
            chosen = static_cast<int>(i);
            break;
        }
    }
    currentIndex_ = chosen;
}

LanguageTexts::Choice LanguageTexts::Select(int index) {
    if (index < 0 || index >= static_cast<int>(languages_.size())) {
        return Choice::kOutsideTable;
    }
    currentIndex_ = index;
    if (IsReadOnlyFile(settings::ConfigFile())) {
        return Choice::kApplied;
    }
    IniDocument config;
    if (!config.Load(settings::ConfigFile())) {
        return PresentButUnreadable(settings::ConfigFile()) ? Choice::kNotSaved : Choice::kApplied;
    }
    // A file without the key takes the choice in memory only (true), never on disk.
    const LanguageEntry& entry = languages_[static_cast<std::size_t>(index)];
    return config.SetString(settings::kSectionSetting, settings::kKeyLanguage,
                            ToNarrow(entry.sectionName, entry.codePage))
               ? Choice::kApplied
               : Choice::kNotSaved;
}

bool LanguageTexts::UseForThisRun(const std::wstring& sectionName) {
    for (std::size_t i = 0; i < languages_.size(); ++i) {
        if (languages_[i].sectionName == sectionName) {
            currentIndex_ = static_cast<int>(i);
            return true;
        }
    }
    return false;
}

}  // namespace orvo
