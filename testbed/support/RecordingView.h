#pragma once
// What the technician would be shown, remembered for tests of the device and serial code. A
// key's text is "text of <key>", so a test sees which key a shown text came from. Not for use
// from two threads at once.
#include "TechnicianView.h"

#include <string>
#include <vector>

namespace orvo::testing {

class RecordingView : public TechnicianView {
public:
    struct Bar {
        int upper = 100;
        int position = 0;
        std::vector<int> positions;  // every position set, in order
    };

    std::wstring GetLangText(std::string_view key) const override {
        return L"text of " + std::wstring(key.begin(), key.end());
    }
    void ShowLangMessage(std::string_view key) override { ShowLangMessage(key, {}); }
    void ShowLangMessage(std::string_view key, const std::vector<std::wstring>& values) override {
        messages.emplace_back(key);
        messageValues.push_back(values);
    }
    void ShowLangNotice(std::string_view key, const std::vector<std::wstring>&) override {
        notices.emplace_back(key);
    }
    void ShowStatus(std::string_view key) override {
        statusTextMode = 1;
        statusText = GetLangText(key);
        SetStatusKey(key);
    }
    void SetStatusKey(std::string_view key) override { statusKeys.emplace_back(key); }
    void ReportFailure(std::string_view messageKey) override { ReportFailure(messageKey, {}); }
    void ReportFailure(std::string_view messageKey,
                       const std::vector<std::wstring>& values) override {
        statusTextMode = 1;
        statusText = GetLangText("T3");
        ShowLangMessage(messageKey, values);
        SetStatusKey("T3");
    }
    void ResetProgress() override {
        statusTextMode = 0;
        statusText.clear();
        SetProgress(0);
    }
    void StartProgress(int total) override {
        bar.upper = total;
        SetProgress(0);
    }
    void SetProgress(int done) override {
        bar.position = done;
        bar.positions.push_back(done);
    }

    std::string StatusKey() const { return statusKeys.empty() ? "" : statusKeys.back(); }

    std::vector<std::string> messages;                     // keys of the message boxes, in order
    std::vector<std::string> notices;                      // keys of the notices, in order
    std::vector<std::vector<std::wstring>> messageValues;  // what filled each keyed message
    int statusTextMode = 0;
    std::wstring statusText;
    std::vector<std::string> statusKeys;  // every status key set, in order
    Bar bar;
};

}  // namespace orvo::testing
