#include "UpgradeStart.h"

#include "DeviceProtocol.h"
#include "TextCodec.h"
#include "TextKeys.h"
#include "UpgradeGuard.h"
#include "UpgradeTransfer.h"

#include <cstring>

namespace orvo {
namespace {

// Devices whose serial number begins with one of these take the alternative upgrade file.
constexpr char kAlternativePrefixes[][7] = {"963697", "963695"};
constexpr std::size_t kPrefixLength = 6;
// Shorter serial numbers are not shown: the field keeps what it held.
constexpr std::size_t kShortestShownSerial = 9;

bool HasAlternativePrefix(const std::uint8_t* serial) {
    for (const char* prefix : kAlternativePrefixes) {
        if (std::memcmp(serial, prefix, kPrefixLength) == 0) {
            return true;
        }
    }
    return false;
}

}  // namespace

void UpgradeStart::OnStartUpgrade() {
    std::uint8_t serial[kSerialLength + 2] = {};
    if (RefuseWhileUpgrading(worker_, view_)) {
        return;
    }
    view_.ResetProgress();
    link_.SendShortCommand(command::kHandshake);
    link_.SendShortCommand(command::kHandshakeNext);
    if (!link_.ReadDeviceSerial(serial)) {
        controls_.SetText(control::kSnField, L"");
        return;
    }
    controls_.Show(control::kSnLabel, true);
    controls_.Show(control::kSnField, true);
    const std::wstring text = FromAnsi(reinterpret_cast<const char*>(serial));
    if (text.size() >= kShortestShownSerial) {
        controls_.SetText(control::kSnField, text);
    }
    alternativeFile_ = HasAlternativePrefix(serial);
    if (!worker_.Start([this, parts = ChosenParts(controls_)] { UpgradeWorker(parts); })) {
        view_.ShowLangMessage(text::kUpgradeRunning);
    }
}

void UpgradeStart::UpgradeWorker(PartChoice parts) {
    if (RunUpgrade(link_, parts, view_, alternativeFile_)) {
        view_.ShowStatus(text::kUpgradeDone);
    } else {
        view_.SetStatusKey(text::kUpgradeFailed);
    }
}

}  // namespace orvo
