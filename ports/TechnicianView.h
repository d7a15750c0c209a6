#pragma once
// What the technician is shown of a device job: keyed texts in message boxes, the status line
// and the progress bar. The device and serial code say what happened through it, one call each;
// the window decides how it looks (LanguageView). Every call may come from the upgrade worker.
// Keys name texts of language.ini (TextKeys.h).
#include <string>
#include <string_view>
#include <vector>

namespace orvo {

class TechnicianView {
public:
    virtual ~TechnicianView() = default;

    // The key's text in the current language; empty when there is none.
    virtual std::wstring GetLangText(std::string_view key) const = 0;
    // A modal message box with the key's text; returns when the technician has closed it.
    virtual void ShowLangMessage(std::string_view key) = 0;
    // The same with each %1, %2, ... of the text replaced by `values` in order.
    virtual void ShowLangMessage(std::string_view key, const std::vector<std::wstring>& values) = 0;
    // A message box that tells of something found on the way and does not end the job.
    virtual void ShowLangNotice(std::string_view key, const std::vector<std::wstring>& values) {
        ShowLangMessage(key, values);
    }

    // The status line on, showing the key's text; a language change shows it again.
    virtual void ShowStatus(std::string_view key) = 0;
    // Names what is under way without showing it: once the status line is on, a language
    // change shows this key's text.
    virtual void SetStatusKey(std::string_view key) = 0;
    // A failed job: the failure text (T3) in the status line, a message box with the key's text,
    // and T3 as the status key.
    virtual void ReportFailure(std::string_view messageKey) = 0;
    // A failed exchange with the device, reported as ReportFailure; `errorCode` is the device's
    // own code, for a view that shows it beside the text.
    virtual void ReportDeviceFailure(std::string_view messageKey, int /*errorCode*/) {
        ReportFailure(messageKey);
    }
    // A failed job as ReportFailure, the message's %1, %2, ... replaced by `values` in order.
    virtual void ReportFailure(std::string_view messageKey,
                               const std::vector<std::wstring>& values) = 0;

    // A job starts: the status line off, the bar back to 0 %.
    virtual void ResetProgress() = 0;
    // The bar counts `total` steps from none done.
    virtual void StartProgress(int total) = 0;
    virtual void SetProgress(int done) = 0;
};

}  // namespace orvo
