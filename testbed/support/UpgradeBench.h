#pragma once
// One upgrade against the simulated device, in a folder of its own that is the current
// directory: CONFIG.INI names image.bin (and alt.bin for the alternative file), both boxes are
// ticked, what the technician would be shown is recorded.
#include "DeviceLink.h"
#include "FakeDialogControls.h"
#include "ImageMaker.h"
#include "RecordingView.h"
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

    void WriteImage(const image::Bytes& image, const char* name = "image.bin") const {
        folder.Write(name, std::string(image.begin(), image.end()));
    }
    int Run(bool alternativeFile = false) {
        return RunUpgrade(link, ChosenParts(controls), view, alternativeFile, kit);
    }

    TempFolder folder;
    ScopedCurrentDir inFolder{folder.Path()};
    sim::SimulatedDevice device;
    RecordingView view;
    FakeDialogControls controls;
    DeviceLink link{device, view};
    TransferKit kit;
};

}  // namespace orvo::testing
