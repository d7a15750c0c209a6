#pragma once
// The text operations the device link and the upgrade use: keyed texts and message boxes, the
// status line and the status key. The window's language texts provide them
// (LanguageDeviceTexts.h); tests record them. Calls may come from the upgrade worker.
#include <string>
#include <string_view>

namespace orvo {

class DeviceTexts {
public:
    virtual ~DeviceTexts() = default;
    virtual std::wstring GetLangText(std::string_view key) const = 0;
    // A modal message box with the key's text; returns when the user has closed it.
    virtual void ShowLangMessage(std::string_view key) = 0;
    virtual void SetStatusTextMode(int mode) = 0;
    virtual void SetStatusText(const std::wstring& text) = 0;
    virtual void SetStatusKey(std::string key) = 0;
};

// The one way a failure is shown: the failure text (T3) in the status line, the message box of
// `messageKey`, and T3 as the status key so that a language change shows the failure again.
void ReportFailure(DeviceTexts& texts, std::string_view messageKey);

}  // namespace orvo
