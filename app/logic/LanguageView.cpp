#include "LanguageView.h"

#include "TextKeys.h"

namespace orvo {
namespace {

struct Caption {
    const char* key;
    int control;
};

// In the order they are applied.
constexpr Caption kCaptions[] = {
    {text::kLanguageCaption, control::kLanguageLabel},
    {text::kSnCaption, control::kSnLabel},
    {text::kIncreaseCaption, control::kIncrease},
    {text::kWriteSnCaption, control::kWriteSn},
    {text::kReadSnCaption, control::kReadSn},
    {text::kStartUpgradeCaption, control::kStartUpgrade},
    {text::kUpgradeInternalCaption, control::kUpgradeInternal},
    {text::kUpgradeExternalCaption, control::kUpgradeExternal},
    {text::kExitCaption, control::kExit},
    {text::kStartUpgradeCaption, control::kStartCaption},
    {text::kExitCaption, control::kExitCaption},
};

constexpr int kSerialCharacters = 12;

}  // namespace

bool LanguageView::LoadLanguages() {
    controls_.SetShowText(true);
    controls_.SetTextLimit(control::kSnField, kSerialCharacters);
    controls_.SetChecked(control::kUpgradeExternal, true);
    controls_.SetChecked(control::kUpgradeInternal, true);
    controls_.SetChecked(control::kIncrease, true);

    switch (texts_.Load()) {
        case LanguageTexts::LoadResult::kConfigMissing:
            ShowLangMessage(text::kConfigMissing);
            return false;
        case LanguageTexts::LoadResult::kLanguageFileMissing:
            ShowLangMessage(text::kLanguageFileMissing);
            return false;
        case LanguageTexts::LoadResult::kLoaded:
            break;
    }
    for (const LanguageEntry& entry : texts_.Languages()) {
        controls_.AddListItem(control::kLanguageList, entry.displayName);
    }
    if (texts_.CurrentIndex() >= 0) {
        controls_.SetListSelection(control::kLanguageList, texts_.CurrentIndex());
    }
    return true;
}

void LanguageView::ApplyTexts() {
    for (const Caption& caption : kCaptions) {
        controls_.SetText(caption.control, GetLangText(caption.key));
    }
}

void LanguageView::OnSelChangeLanguage() {
    const LanguageTexts::Choice choice =
        texts_.Select(controls_.GetListSelection(control::kLanguageList));
    ApplyTexts();
    SetStatusText(GetLangText(StatusKey()));
    if (choice == LanguageTexts::Choice::kNotSaved) {
        ShowLangMessage(text::kLanguageNotSaved);
    }
}

void LanguageView::SetStatusTextMode(int mode) {
    statusTextMode_ = mode;
}

void LanguageView::SetStatusText(const std::wstring& text) {
    controls_.SetText(control::kProgress, statusTextMode_ == 1 ? text : std::wstring());
}

std::string LanguageView::StatusKey() const {
    std::lock_guard<std::mutex> hold(statusKeyLock_);
    return statusKey_;
}

std::wstring LanguageView::GetLangText(std::string_view key) const {
    return texts_.GetLangText(key);
}

void LanguageView::ShowLangMessage(std::string_view key) {
    controls_.ShowMessage(texts_.StoredLanguageText(key));
}

void LanguageView::ShowLangMessage(std::string_view key, const std::vector<std::wstring>& values) {
    controls_.ShowMessage(FillPlaceholders(texts_.StoredLanguageText(key), values));
}

void LanguageView::ShowStatus(std::string_view key) {
    SetStatusTextMode(1);
    SetStatusText(GetLangText(key));
    SetStatusKey(key);
}

void LanguageView::SetStatusKey(std::string_view key) {
    std::lock_guard<std::mutex> hold(statusKeyLock_);
    statusKey_ = key;
}

void LanguageView::ReportFailure(std::string_view messageKey) {
    ReportFailure(messageKey, {});
}

void LanguageView::ReportFailure(std::string_view messageKey,
                                 const std::vector<std::wstring>& values) {
    SetStatusTextMode(1);
    SetStatusText(GetLangText(text::kUpgradeFailed));
    ShowLangMessage(messageKey, values);
    SetStatusKey(text::kUpgradeFailed);
}

void LanguageView::ResetProgress() {
    SetStatusTextMode(0);
    SetStatusText(L"");
    controls_.SetBarPosition(0);
}

void LanguageView::StartProgress(int total) {
    controls_.SetBarRange(0, total);
    controls_.SetBarPosition(0);
}

void LanguageView::SetProgress(int done) {
    controls_.SetBarPosition(done);
}

}  // namespace orvo
