#include "SerialProgramming.h"

#include "DeviceProtocol.h"
#include "HistoryFile.h"
#include "KeepAwake.h"
#include "SerialNumber.h"
#include "SettingsKeys.h"
#include "TextCodec.h"
#include "TextKeys.h"
#include "TextLines.h"
#include "UpgradeGuard.h"

#include <algorithm>

namespace orvo {
namespace {

// Key of the message for a number the device took but the history file did not; its text holds
// %1 for the number and %2 for the file.
constexpr wchar_t kUnrecordedFallback[] =
    L"The device now carries serial number %1, but it could not be recorded in the history "
    L"file %2. Please write the number down by hand before you go on.";

void ReplaceAll(std::wstring& text, std::wstring_view placeholder, const std::wstring& value) {
    for (std::size_t at = text.find(placeholder); at != std::wstring::npos;
         at = text.find(placeholder, at + value.size())) {
        text.replace(at, placeholder.size(), value);
    }
}

std::wstring DigitsToText(const std::string& digits) { return std::wstring(digits.begin(), digits.end()); }

void ReportUnrecordedNumber(TechnicianView& view, const std::string& number,
                            const std::string& historyPath) {
    std::wstring text = view.GetLangText(text::kSerialUnrecorded);
    if (text.find(L"%1") == std::wstring::npos) {
        text = kUnrecordedFallback;
    }
    ReplaceAll(text, L"%1", DigitsToText(number));
    ReplaceAll(text, L"%2", FromUtf8(historyPath));
    view.ShowMessage(text);
}

}  // namespace

BurnResult BurnAndRecordSerialNumber(DeviceLink& link, TechnicianView& view,
                                     const std::string& number) {
    // The PC stays awake until the number is burned and in the history file.
    const KeepAwake awake;
    CommandPayload payload{};
    std::copy_n(number.begin(), std::min(number.size(), std::size_t{kSerialLength}), payload.begin());
    ReplyFrame reply;
    if (link.ExchangeCommand(command::kWriteSerial, payload, reply) < 0) {
        link.ReportDeviceError(reply[kErrorCodeOffset]);
        return BurnResult::kFailed;
    }
    if (reply[kReplyCodeOffset] != command::kWriteSerial + kPositiveReply) {
        view.ShowLangMessage(text::kSerialRefused);
        return BurnResult::kFailed;
    }
    const std::string historyPath = HistoryFilePath();
    if (RecordSerialNumber(historyPath, number) == HistoryResult::kFailed) {
        ReportUnrecordedNumber(view, number, historyPath);
        return BurnResult::kUnrecorded;
    }
    return BurnResult::kBurned;
}

std::string ProposedSerialNumber() {
    return ProposeSerialNumber(ReadTextLines(settings::kDefaultHistoryFile));
}

void SerialProgramming::OnReadSerialNumber() {
    if (RefuseWhileUpgrading(upgradeWorker_, view_)) {
        return;
    }
    view_.ResetProgress();
    link_.Greet();
    std::uint8_t buffer[kSerialLength + 2] = {};
    link_.ReadDeviceSerial(buffer);
    controls_.SetText(control::kSnReadout, FromAnsi(reinterpret_cast<const char*>(buffer)));
}

void SerialProgramming::OnWriteSerialNumber() {
    const std::wstring field = controls_.GetText(control::kSnField);
    if (RefuseWhileUpgrading(upgradeWorker_, view_)) {
        return;
    }
    view_.ResetProgress();
    if (!IsValidSerialNumber(field)) {
        view_.ShowLangMessage(text::kSerialNotTwelveDigits);
        LoadNextSerialNumber();
        return;
    }
    // Checked ASCII digits stand for themselves in every code page.
    std::uint8_t number[kSerialLength + 1] = {};
    std::transform(field.begin(), field.end(), number,
                   [](wchar_t c) { return static_cast<std::uint8_t>(c); });
    link_.Greet();
    BurnSerialNumber(number);
}

int SerialProgramming::BurnSerialNumber(const std::uint8_t* number) {
    const std::string written(number, number + kSerialLength);
    if (BurnAndRecordSerialNumber(link_, view_, written) == BurnResult::kFailed) {
        return 0;
    }
    if (controls_.IsChecked(control::kIncrease)) {
        controls_.SetText(control::kSnField, DigitsToText(NextSerialNumber(written)));
    }
    return 1;
}

void SerialProgramming::LoadNextSerialNumber() {
    controls_.SetText(control::kSnField, DigitsToText(ProposedSerialNumber()));
}

}  // namespace orvo
