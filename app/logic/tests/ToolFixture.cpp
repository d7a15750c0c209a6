#include "ToolFixture.h"

#include "DeviceProtocol.h"
#include "ProfileReader.h"

#include <thread>

namespace orvo::testing {

ToolFixture::ToolFixture() {
    folder.CopyIn(ORVO_DATA_DIR, {"CONFIG.INI", "language.ini"});
}

MainDialogLogic& ToolFixture::Start() {
    logic = std::make_unique<MainDialogLogic>(controls, device);
    logic->OnInitDialog();
    controls.ClearRecords();
    return *logic;
}

std::wstring ToolFixture::Text(const char* key) const {
    return ProfileReader().ReadProfileText(L"LANGUAGE_EN", std::wstring(key, key + strlen(key)),
                                           L"language.ini");
}

void ToolFixture::WriteImage(const std::string& name, const image::Bytes& image) const {
    folder.Write(name, std::string(image.begin(), image.end()));
}

bool ToolFixture::WaitForUpgradeEnd(std::chrono::milliseconds limit) {
    auto deadline = std::chrono::steady_clock::now() + limit;
    while (logic->UpgradeRunning()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

std::vector<int> ToolFixture::CommandsSent() const {
    std::vector<int> codes;
    for (const auto& frame : device.FramesWritten()) {
        if (frame.pipe == pipe::kCommand && frame.bytes.size() == kCommandFrameLength) {
            codes.push_back(frame.bytes[kReplyCodeOffset]);
        }
    }
    return codes;
}

}  // namespace orvo::testing
