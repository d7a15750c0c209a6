#include "SerialProgramming.h"

#include "DeviceProtocol.h"
#include "HistoryFile.h"
#include "KeepAwake.h"
#include "SerialLedger.h"
#include "SerialNumber.h"
#include "SettingsKeys.h"
#include "TextCodec.h"
#include "TextKeys.h"
#include "TextLines.h"
#include "UpgradeGuard.h"

#include <algorithm>

namespace orvo {
namespace {

std::wstring DigitsToText(const std::string& digits) {
    return std::wstring(digits.begin(), digits.end());
}

std::optional<std::vector<std::string>> NumberFileLines() {
    return ReadTextLines(settings::kDefaultHistoryFile);
}

// The number of the order, or the ledger's proposal; empty, after its message, when it may not
// be burned.
std::string ChooseNumber(const SerialLedger& ledger, TechnicianView& view, const BurnOrder& order) {
    if (order.number.empty()) {
        const std::string proposal = ledger.Records().Propose(NumberFileLines());
        if (!IsValidSerialNumber(proposal)) {
            view.ShowLangMessage(text::kSerialProposalUnusable, {DigitsToText(proposal)});
            return {};
        }
        return proposal;
    }
    if (!order.again && ledger.Records().Given(order.number)) {
        view.ShowLangMessage(text::kSerialGivenBefore,
                             {DigitsToText(order.number), FromUtf8(ledger.HistoryPath())});
        return {};
    }
    return order.number;
}

// Command 9 with the number; true when the device answered that it took it.
bool WriteToDevice(DeviceLink& link, TechnicianView& view, const std::string& number) {
    CommandPayload payload{};
    std::copy_n(number.begin(), std::min(number.size(), std::size_t{kSerialLength}),
                payload.begin());
    ReplyFrame reply;
    if (link.ExchangeCommand(command::kWriteSerial, payload, reply) < 0) {
        link.ReportDeviceError(reply[kErrorCodeOffset]);
        return false;
    }
    if (reply[kReplyCodeOffset] != command::kWriteSerial + kPositiveReply) {
        view.ShowLangMessage(text::kSerialRefused);
        return false;
    }
    return true;
}

}  // namespace

Burn BurnNumber(DeviceLink& link, TechnicianView& view, const BurnOrder& order) {
    // The PC stays awake until the number is burned and in the history file.
    const KeepAwake awake;
    const std::string historyPath = HistoryFilePath();
    SerialLedger::Refusal refusal;
    std::unique_ptr<SerialLedger> ledger = SerialLedger::Open(historyPath, refusal);
    Burn burn{BurnResult::kNotTaken, order.number};
    if (!ledger) {
        view.ShowLangMessage(
            refusal == SerialLedger::Refusal::kBusy ? text::kHistoryBusy : text::kHistoryUnusable,
            {FromUtf8(historyPath)});
        return burn;
    }
    for (const std::string& number : ledger->Unconfirmed()) {
        view.ShowLangNotice(text::kSerialUnconfirmed, {DigitsToText(number)});
    }
    const std::string chosen = ChooseNumber(*ledger, view, order);
    if (chosen.empty()) {
        return burn;
    }
    burn.number = chosen;
    if (!ledger->Take(burn.number)) {
        view.ShowLangMessage(text::kHistoryUnusable, {FromUtf8(historyPath)});
        return burn;
    }
    if (order.greetFirst) {
        link.Greet();
    }
    if (!WriteToDevice(link, view, burn.number)) {
        ledger->Refused(burn.number);
        burn.result = BurnResult::kFailed;
        return burn;
    }
    if (ledger->Record(burn.number) == HistoryResult::kFailed) {
        view.ShowLangMessage(text::kSerialUnrecorded,
                             {DigitsToText(burn.number), FromUtf8(historyPath)});
        burn.result = BurnResult::kUnrecorded;
        return burn;
    }
    burn.result = BurnResult::kBurned;
    return burn;
}

std::string ProposedSerialNumber() {
    return LedgerRecords::Read(HistoryFilePath())
        .value_or(LedgerRecords())
        .Propose(NumberFileLines());
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
    BurnSerialNumber(number);
}

int SerialProgramming::BurnSerialNumber(const std::uint8_t* number) {
    // The technician chose the field's number: one the history holds is burned again.
    const std::string written(number, number + kSerialLength);
    const BurnResult result = BurnNumber(link_, view_, {written, true, true}).result;
    if (result == BurnResult::kFailed || result == BurnResult::kNotTaken) {
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
