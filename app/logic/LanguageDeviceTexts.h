#pragma once
// The language texts as the device link and the upgrade see them.
#include "DeviceTexts.h"
#include "LanguageTexts.h"

namespace orvo {

class LanguageDeviceTexts : public DeviceTexts {
public:
    explicit LanguageDeviceTexts(LanguageTexts& texts) : texts_(texts) {}

    std::wstring GetLangText(std::string_view key) const override { return texts_.GetLangText(key); }
    void ShowLangMessage(std::string_view key) override { texts_.ShowLangMessage(key); }
    void SetStatusTextMode(int mode) override { texts_.SetStatusTextMode(mode); }
    void SetStatusText(const std::wstring& text) override { texts_.SetStatusText(text); }
    void SetStatusKey(std::string key) override { texts_.SetStatusKey(std::move(key)); }

private:
    LanguageTexts& texts_;
};

}  // namespace orvo
