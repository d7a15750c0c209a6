#include "ExitCodes.h"

#include "TextKeys.h"

namespace orvo::console {

ExitCode ExitCodeFor(std::string_view messageKey) {
    struct Rule {
        std::string_view key;
        ExitCode code;
    };
    static constexpr Rule kRules[] = {
        {"", kExitDone},
        {text::kUpgradeDone, kExitDone},
        {text::kConfigUnreadable, kExitFiles},
        {text::kConfigMissing, kExitFiles},
        {text::kSerialUnrecorded, kExitFiles},
        {text::kHistoryUnusable, kExitFiles},
        {text::kHistoryBusy, kExitFiles},
        // The one refusal left once orvo has read the file itself: an empty internal part.
        {text::kUpgradeFileUnusable, kExitImageRefused},
        {text::kImageNotApproved, kExitImageRefused},
        {text::kNoDeviceReply, kExitNoDevice},
        {text::kSerialRefused, kExitSerialNumber},
        {text::kSerialNotTwelveDigits, kExitSerialNumber},
        {text::kSerialProposalUnusable, kExitSerialNumber},
        {text::kSerialGivenBefore, kExitSerialNumber},
        {kInterruptedKey, kExitInterrupted},
    };
    for (const Rule& rule : kRules) {
        if (rule.key == messageKey) {
            return rule.code;
        }
    }
    // Every other key of a failed exchange is one of the device's error texts.
    return kExitDeviceRefused;
}

}  // namespace orvo::console
