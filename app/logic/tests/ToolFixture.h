#pragma once
// The tool's logic in a folder of its own: the sample CONFIG.INI and language.ini, in-memory
// controls and a simulated device. Texts are compared with what language.ini says for a key.
#include "FakeDialogControls.h"
#include "ImageMaker.h"
#include "MainDialogLogic.h"
#include "SimulatedDevice.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace orvo::testing {

class ToolFixture : public ::testing::Test {
protected:
    ToolFixture();

    // Starts the logic as the window does: language set-up, proposed number, layout.
    MainDialogLogic& Start();
    // The English text of `key` in the sample language.ini.
    std::wstring Text(const char* key) const;
    void WriteImage(const std::string& name, const image::Bytes& image) const;
    bool WaitForUpgradeEnd(std::chrono::milliseconds limit = std::chrono::seconds(30));
    // Command codes of the command frames written, in order.
    std::vector<int> CommandsSent() const;
    std::wstring BarText() const { return controls.State(control::kProgress).text; }
    std::wstring Field() const { return controls.State(control::kSnField).text; }

    TempFolder folder;
    ScopedCurrentDir inFolder{folder.Path()};
    FakeDialogControls controls;
    sim::SimulatedDevice device;
    std::unique_ptr<MainDialogLogic> logic;
};

}  // namespace orvo::testing
