#pragma once
// Text operations that remember what the device code asked of them. A key's text is
// "text of <key>", so a test sees which key a shown text came from.
#include "DeviceTexts.h"

#include <string>
#include <vector>

namespace orvo::testing {

class RecordingTexts : public DeviceTexts {
public:
    std::wstring GetLangText(std::string_view key) const override {
        return L"text of " + std::wstring(key.begin(), key.end());
    }
    void ShowLangMessage(std::string_view key) override { messages.emplace_back(key); }
    void SetStatusTextMode(int mode) override { statusTextMode = mode; }
    void SetStatusText(const std::wstring& text) override {
        statusText = statusTextMode == 1 ? text : std::wstring();
    }
    void SetStatusKey(std::string key) override { statusKeys.push_back(std::move(key)); }

    std::string StatusKey() const { return statusKeys.empty() ? "" : statusKeys.back(); }

    std::vector<std::string> messages;  // keys of the message boxes, in order
    int statusTextMode = 0;
    std::wstring statusText;
    std::vector<std::string> statusKeys;  // every status key set, in order
};

}  // namespace orvo::testing
