#include "LanguageTexts.h"

#include "CodePageLine.h"
#include "IniDocument.h"
#include "ProfileReader.h"
#include "SettingsKeys.h"
#include "TextCodec.h"
#include "TextLines.h"

#include <filesystem>

namespace orvo {

namespace {

const std::wstring kLanguageFile = L"language.ini";
// All three display names come from the English section.
const std::wstring kNamesSection = L"LANGUAGE_EN";

struct Caption {
    const char* key;
    int control;
};

// In the order they are applied.
constexpr Caption kCaptions[] = {
    {"C2", control::kLanguageLabel},
    {"C3", control::kSnLabel},
    {"C4", control::kIncrease},
    {"C0", control::kWriteSn},
    {"C1", control::kReadSn},
    {"C5", control::kStartUpgrade},
    {"C6", control::kUpgradeInternal},
    {"C7", control::kUpgradeExternal},
    {"C9", control::kExit},
    {"C5", control::kStartCaption},
    {"C9", control::kExitCaption},
};

std::wstring Widen(std::string_view ascii) {
    return std::wstring(ascii.begin(), ascii.end());
}

// A name as the settings store it in the language's code page, read back as ANSI text.
std::wstring ThroughCodePage(const std::wstring& name, int codePage) {
    return FromAnsi(ToNarrow(name, codePage));
}

bool LanguageFileExists() {
    std::error_code ignored;
    return std::filesystem::is_regular_file(std::filesystem::path(kLanguageFile), ignored);
}

}  // namespace

std::wstring LanguageTexts::SectionText(const std::wstring& section, std::string_view key) const {
    if (section.empty() || key.empty()) {
        return {};
    }
    return ProfileReader().ReadProfileText(section, Widen(key), kLanguageFile);
}

std::wstring LanguageTexts::GetLangText(std::string_view key) const {
    int index = currentIndex_;
    if (index < 0 || index >= static_cast<int>(languages_.size())) {
        return {};
    }
    const LanguageEntry& entry = languages_[static_cast<std::size_t>(index)];
    return SectionText(ThroughCodePage(entry.sectionName, entry.codePage), key);
}

void LanguageTexts::ShowLangMessage(std::string_view key) {
    std::wstring section;
    int index = currentIndex_;
    if (index >= 0 && index < static_cast<int>(languages_.size())) {
        IniDocument config(settings::kConfigFile);
        std::wstring stored =
            FromAnsi(config.GetString(settings::kSectionSetting, settings::kKeyLanguage));
        section = ThroughCodePage(stored, languages_[static_cast<std::size_t>(index)].codePage);
    }
    controls_.ShowMessage(SectionText(section, key));
}

void LanguageTexts::SetStatusTextMode(int mode) {
    statusTextMode_ = mode;
}

void LanguageTexts::SetStatusText(const std::wstring& text) {
    controls_.SetText(control::kProgress, statusTextMode_ == 1 ? text : std::wstring());
}

void LanguageTexts::SetStatusKey(std::string key) {
    std::lock_guard<std::mutex> hold(statusKeyLock_);
    statusKey_ = std::move(key);
}

std::string LanguageTexts::StatusKey() const {
    std::lock_guard<std::mutex> hold(statusKeyLock_);
    return statusKey_;
}

bool LanguageTexts::LoadLanguages() {
    controls_.SetShowText(true);
    controls_.SetTextLimit(control::kSnField, 12);
    controls_.SetChecked(control::kUpgradeExternal, true);
    controls_.SetChecked(control::kUpgradeInternal, true);
    controls_.SetChecked(control::kIncrease, true);

    auto lines = ReadTextLines(settings::kConfigFile);
    if (!lines) {
        ShowLangMessage("T4");
        return false;
    }
    if (!LanguageFileExists()) {
        ShowLangMessage("T11");
        return false;
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
        entry.displayName = ProfileReader().ReadProfileText(kNamesSection, section, kLanguageFile);
        controls_.AddListItem(control::kLanguageList, entry.displayName);
        languages_.push_back(std::move(entry));
    }
    SelectStoredLanguage();
    return true;
}

void LanguageTexts::SelectStoredLanguage() {
    IniDocument config;
    if (!config.Load(settings::kConfigFile) || languages_.empty()) {
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
    controls_.SetListSelection(control::kLanguageList, chosen);
    currentIndex_ = chosen;
}

void LanguageTexts::ApplyTexts() {
    for (const Caption& caption : kCaptions) {
        controls_.SetText(caption.control, GetLangText(caption.key));
    }
}

void LanguageTexts::OnSelChangeLanguage() {
    int selected = controls_.GetListSelection(control::kLanguageList);
    if (selected >= 0 && selected < static_cast<int>(languages_.size())) {
        currentIndex_ = selected;
        const LanguageEntry& entry = languages_[static_cast<std::size_t>(selected)];
        IniDocument config(settings::kConfigFile);
        // Stored only where CONFIG.INI already has the key; a read-only file stays as it is.
        config.SetString(settings::kSectionSetting, settings::kKeyLanguage,
                         ToNarrow(entry.sectionName, entry.codePage));
    }
    ApplyTexts();
    SetStatusText(GetLangText(StatusKey()));
}

}  // namespace orvo
