// Devices plugged in and out through the control file.
#include "ConfiguredDevice.h"
#include "DeviceLink.h"
#include "PlugControl.h"
#include "RecordingView.h"
#include "TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <thread>

namespace orvo::sim {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::StartsWith;

// Past the control file's read interval, so the next call sees the new line.
void Plug(const testing::TempFolder& folder, const char* line) {
    folder.Write("plug", line);
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
}

TEST(PlugLine, NamesTheDeviceOrNone) {
    const struct {
        const char* line;
        bool plugged;
        const char* serial;
        std::size_t faults;
    } cases[] = {
        {"961990000301", true, "961990000301", 0},
        {"  961990000302 \r\n", true, "961990000302", 0},
        {"961990000303 failure-reply@6:4,unplugged@9", true, "961990000303", 2},
        {"961990000304\tno-reply@3", true, "961990000304", 1},
        {"", false, "", 0},
        {" \r\n", false, "", 0},
        {"961990000305 melt@3", false, "", 0},
    };
    for (const auto& c : cases) {
        std::vector<std::string> errors;
        const auto plugged = ParsePlugLine(c.line, errors);
        ASSERT_EQ(plugged.has_value(), c.plugged) << c.line;
        if (plugged) {
            EXPECT_EQ(plugged->serial, c.serial);
            EXPECT_EQ(plugged->faults.size(), c.faults) << c.line;
        }
    }
    std::vector<std::string> errors;
    ParsePlugLine("961990000305 melt@3", errors);
    EXPECT_THAT(errors, ElementsAre(HasSubstr("melt@3")));
}

TEST(PluggedDevice, EachNewLinePlugsInAFreshDeviceAndNoLineNone) {
    testing::TempFolder folder;
    int plugIns = 0;
    PluggedDevice pipes(folder.File("plug"), [&](SimulatedDevice&) { ++plugIns; });
    testing::RecordingView view;
    DeviceLink link(pipes, view);
    const auto plug = [&](const char* line) { Plug(folder, line); };
    std::uint8_t serial[kSerialLength + 2] = {};

    EXPECT_FALSE(link.SendShortCommand(command::kHandshake)) << "no file, no device";
    plug("961990000301\n");
    ASSERT_EQ(link.ReadDeviceSerial(serial), 1);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(serial)), "961990000301");
    // Frame 1 of the new device, whatever the one before received.
    plug("961990000302 failure-reply@1:4\n");
    EXPECT_TRUE(link.SendShortCommand(command::kHandshake));
    EXPECT_EQ(link.ReadDeviceSerial(serial), 0);
    plug("");
    EXPECT_FALSE(link.SendShortCommand(command::kHandshake));
    EXPECT_EQ(plugIns, 2);
}

TEST(ConfiguredDevice, PlugsInDevicesWithItsSettingsAndNotesBadLines) {
    testing::TempFolder folder;
    testing::TempFolder output;
    const std::map<std::string, std::string> settings = {
        {"ORVO_SIM_PLUG", folder.File("plug")},
        {"ORVO_SIM_OUTPUT", output.Path().string()},
        {"ORVO_SIM_SERIAL", "961990000999"},
    };
    ConfiguredDevice configured([&](const char* name) -> std::optional<std::string> {
        const auto found = settings.find(name);
        return found != settings.end() ? std::optional<std::string>(found->second) : std::nullopt;
    });
    testing::RecordingView view;
    DeviceLink link(configured.Pipes(), view);
    std::uint8_t serial[kSerialLength + 2] = {};

    Plug(folder, "961990000401 melt@3\r\n");
    EXPECT_FALSE(link.SendShortCommand(command::kHandshake)) << "a bad line plugs in nothing";
    Plug(folder, "961990000401\r\n");
    ASSERT_EQ(link.ReadDeviceSerial(serial), 1) << "the plug line, not ORVO_SIM_SERIAL";
    EXPECT_EQ(std::string(reinterpret_cast<char*>(serial)), "961990000401");

    const std::string log = output.Read("traffic.log");
    EXPECT_THAT(log, StartsWith("note: fault not understood: melt@3\nwrite pipe"));
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 3) << "the note, a command, its reply";
}

}  // namespace
}  // namespace orvo::sim
