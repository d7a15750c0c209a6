#pragma once
// One upgrade against the simulated device, in a folder of its own that is the current
// directory: CONFIG.INI names image.bin (and alt.bin for the alternative file), both boxes are
// ticked, texts are recorded.
#include "DeviceLink.h"
#include "FakeDialogControls.h"
#include "ImageMaker.h"
#include "RecordingTexts.h"
#include "SimulatedDevice.h"
#include "TempFolder.h"
#include "UpgradeTransfer.h"

#include <string>

namespace orvo::testing {

struct UpgradeBench {
    UpgradeBench() {
        controls.SetChecked(control::kUpgradeInternal, true);
        controls.SetChecked(control::kUpgradeExternal, true);
        folder.Write("CONFIG.INI",
                     "[FILE_PATH]\r\nUPGRADE_FILE=image.bin\r\n"
                     "UPGRADE_FILE_KWOR_OBDII=alt.bin\r\n");
    }

    void WriteImage(const sim::Bytes& image, const char* name = "image.bin") const {
        folder.Write(name, std::string(image.begin(), image.end()));
    }
    int Run(bool alternativeFile = false) {
        return RunUpgrade(link, controls, texts, alternativeFile);
    }

    TempFolder folder;
    ScopedCurrentDir inFolder{folder.Path()};
    sim::SimulatedDevice device;
    RecordingTexts texts;
    FakeDialogControls controls;
    DeviceLink link{device, texts};
};

}  // namespace orvo::testing
