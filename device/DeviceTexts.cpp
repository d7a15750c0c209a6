#include "DeviceTexts.h"

namespace orvo {

void ReportFailure(DeviceTexts& texts, std::string_view messageKey) {
    static constexpr char kFailedKey[] = "T3";
    texts.SetStatusTextMode(1);
    texts.SetStatusText(texts.GetLangText(kFailedKey));
    texts.ShowLangMessage(messageKey);
    texts.SetStatusKey(kFailedKey);
}

}  // namespace orvo
