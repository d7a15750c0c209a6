#include "ConsoleView.h"

#include "LanguageTexts.h"
#include "TextKeys.h"
#include "UpgradeImage.h"

namespace orvo::console {

void ConsoleView::Fail(std::string_view key, ExitCode exitCode, const std::string& detail) {
    Record(key, -1, exitCode);
    const std::wstring text = texts_.Text(key);
    if (!text.empty()) {
        report_.Message(key, -1, text);
    }
    if (!detail.empty()) {
        report_.Note(detail);
    }
}

void ConsoleView::Record(std::string_view key, int errorCode, ExitCode exitCode) {
    if (outcome_.key.empty()) {
        // Only a failed exchange carries a device error code, and with it a Windows error.
        const unsigned long windowsError =
            errorCode >= 0 && link_ != nullptr ? link_->WindowsError() : 0;
        outcome_ = {std::string(key), errorCode, exitCode, windowsError};
    }
}

void ConsoleView::SetStatusKey(std::string_view key) {
    // Only the part's key counts here; the segment labels that follow it are the window's.
    if (key == text::kSendingInternal) {
        part_ = "internal";
        blockSize_ = kInternalBlockSize;
    } else if (key == text::kSendingExternal) {
        part_ = "external";
        blockSize_ = kExternalBlockSize;
    }
}

void ConsoleView::ReportDeviceFailure(std::string_view key, int errorCode) {
    ReportFailureWith(key, errorCode, texts_.Text(key));
}

void ConsoleView::ReportFailure(std::string_view key, const std::vector<std::wstring>& values) {
    ReportFailureWith(key, -1, FillPlaceholders(texts_.Text(key), values));
}

void ConsoleView::ReportFailureWith(std::string_view key, int errorCode, const std::wstring& text) {
    if (!stops_.Requested()) {
        Record(key, errorCode, ExitCodeFor(key));
        report_.Message(key, errorCode, text);
        return;
    }
    Record(kInterruptedKey, -1, kExitInterrupted);
    report_.Interrupted();
}

void ConsoleView::ShowLangMessage(std::string_view key, const std::vector<std::wstring>& values) {
    Record(key, -1, ExitCodeFor(key));
    report_.Message(key, -1, FillPlaceholders(texts_.Text(key), values));
}

void ConsoleView::ShowLangNotice(std::string_view key, const std::vector<std::wstring>& values) {
    report_.Message(key, -1, FillPlaceholders(texts_.Text(key), values));
}

void ConsoleView::StartProgress(int total) {
    report_.PartStarted(part_, total, blockSize_);
}

}  // namespace orvo::console
