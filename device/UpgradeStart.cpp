#include "UpgradeStart.h"

#include "DeviceProtocol.h"
#include "TextCodec.h"
#include "TextKeys.h"
#include "UpgradeGuard.h"
#include "UpgradeTransfer.h"

namespace orvo {
namespace {

// Shorter serial numbers are not shown: the field keeps what it held.
constexpr std::size_t kShortestShownSerial = 9;

}  // namespace

void UpgradeStart::OnStartUpgrade() {
    std::uint8_t serial[kSerialLength + 2] = {};
    if (RefuseWhileUpgrading(worker_, view_)) {
        return;
    }
    view_.ResetProgress();
    link_.Greet();
    if (!link_.ReadDeviceSerial(serial)) {
        controls_.SetText(control::kSnField, L"");
        return;
    }
    alternativeFile_ = TakesAlternativeFile(serial);
    // The worker goes first and the serial number is shown while it reads the file: under Wine
    // showing it costs the better part of a millisecond, which the upgrade need not wait for.
    const bool started =
        worker_.Start([this, parts = ChosenParts(controls_)] { UpgradeWorker(parts); });
    controls_.Show(control::kSnLabel, true);
    controls_.Show(control::kSnField, true);
    const std::wstring text = FromAnsi(reinterpret_cast<const char*>(serial));
    if (text.size() >= kShortestShownSerial) {
        controls_.SetText(control::kSnField, text);
    }
    if (!started) {
        view_.ShowLangMessage(text::kUpgradeRunning);
    }
}

void UpgradeStart::UpgradeWorker(PartChoice parts) {
    if (RunUpgrade(link_, parts, view_, alternativeFile_, kit_)) {
        view_.ShowStatus(text::kUpgradeDone);
    } else {
        view_.SetStatusKey(text::kUpgradeFailed);
    }
}

}  // namespace orvo
