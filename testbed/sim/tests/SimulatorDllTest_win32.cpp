// qxUSBDevAdv.dll played by the simulator, loaded as the real program's callers would load a
// pipe library: by LoadLibrary and GetProcAddress, set up through the environment.
#include "DeviceLink.h"
#include "FakeDialogControls.h"
#include "ImageMaker.h"
#include "RecordingView.h"
#include "ScopedEnvironment.h"
#include "TempFolder.h"
#include "UpgradeTransfer.h"
#include "WindowsPath.h"

#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvo::sim {
namespace {

using image::Bytes;
using image::MakeRandomImage;
using testing::ScopedEnvironment;

using ::testing::ElementsAre;

// The DLL, loaded for one test and unloaded after it, so the next one starts a fresh device.
class LoadedSimulator : public PipeLibrary {
public:
    using PipeCall = int (*)(int, unsigned char*, int, int);

    LoadedSimulator()
        : module_(LoadLibraryA(testing::BesideThisProgram("qxUSBDevAdv.dll").c_str())) {
        if (module_ != nullptr) {
            write_ = reinterpret_cast<PipeCall>(
                reinterpret_cast<void*>(GetProcAddress(module_, "qxUSBAdv_WriteData")));
            read_ = reinterpret_cast<PipeCall>(
                reinterpret_cast<void*>(GetProcAddress(module_, "qxUSBAdv_ReadData")));
        }
    }
    ~LoadedSimulator() override {
        if (module_ != nullptr) {
            FreeLibrary(module_);
        }
    }
    LoadedSimulator(const LoadedSimulator&) = delete;
    LoadedSimulator& operator=(const LoadedSimulator&) = delete;

    bool IsValid() const { return module_ != nullptr && write_ != nullptr && read_ != nullptr; }
    HMODULE Module() const { return module_; }

    int WriteData(int pipe, unsigned char* data, int length, int timeoutMs) override {
        return write_(pipe, data, length, timeoutMs);
    }
    int ReadData(int pipe, unsigned char* data, int length, int timeoutMs) override {
        return read_(pipe, data, length, timeoutMs);
    }

private:
    HMODULE module_;
    PipeCall write_ = nullptr;
    PipeCall read_ = nullptr;
};

std::vector<std::string> ExportedNames(HMODULE module) {
    const auto* base = reinterpret_cast<const BYTE*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& entry =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    const auto* exports =
        reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + entry.VirtualAddress);
    const auto* names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    std::vector<std::string> result;
    for (DWORD i = 0; i < exports->NumberOfNames; ++i) {
        result.emplace_back(reinterpret_cast<const char*>(base + names[i]));
    }
    return result;
}

TEST(SimulatorDll, ExportsExactlyTheTwoPipeCalls) {
    LoadedSimulator dll;
    ASSERT_TRUE(dll.IsValid());
    EXPECT_THAT(ExportedNames(dll.Module()),
                ElementsAre("qxUSBAdv_ReadData", "qxUSBAdv_WriteData"));
}

TEST(SimulatorDll, AnswersWithTheSerialNumberOfItsEnvironment) {
    ScopedEnvironment serial("ORVO_SIM_SERIAL", "963697001122");
    LoadedSimulator dll;
    ASSERT_TRUE(dll.IsValid());
    testing::RecordingView texts;
    DeviceLink link(dll, texts);
    std::uint8_t number[kSerialLength];
    ASSERT_EQ(link.ReadDeviceSerial(number), 1);
    EXPECT_EQ(std::string(number, number + kSerialLength), "963697001122");
}

TEST(SimulatorDll, FaultsComeFromItsEnvironment) {
    ScopedEnvironment faults("ORVO_SIM_FAULTS", "failure-reply@1:4");
    LoadedSimulator dll;
    ASSERT_TRUE(dll.IsValid());
    testing::RecordingView texts;
    DeviceLink link(dll, texts);
    std::uint8_t number[kSerialLength];
    EXPECT_TRUE(link.SendShortCommand(command::kHandshake));
    EXPECT_EQ(link.ReadDeviceSerial(number), 0);
    EXPECT_THAT(texts.messages, ElementsAre("E3"));
}

TEST(SimulatorDll, ItsControlFilePlugsADeviceIn) {
    testing::TempFolder folder;
    ScopedEnvironment plug("ORVO_SIM_PLUG", folder.File("plug"));
    LoadedSimulator dll;
    ASSERT_TRUE(dll.IsValid());
    testing::RecordingView texts;
    DeviceLink link(dll, texts);
    std::uint8_t number[kSerialLength];

    EXPECT_FALSE(link.SendShortCommand(command::kHandshake)) << "no line, no device";
    folder.Write("plug", "963697001133\r\n");
    Sleep(60);  // past the control file's read interval
    ASSERT_EQ(link.ReadDeviceSerial(number), 1);
    EXPECT_EQ(std::string(number, number + kSerialLength), "963697001133");
}

TEST(SimulatorDll, WholeUpgradeReachesItsOutputFolder) {
    testing::TempFolder work;
    testing::TempFolder output;
    ScopedEnvironment folder("ORVO_SIM_OUTPUT", output.Path().string());
    const Bytes image = MakeRandomImage({6000, 5000, 3000});
    work.Write("image.bin", std::string(image.begin(), image.end()));
    work.Write("CONFIG.INI", "[FILE_PATH]\r\nUPGRADE_FILE=image.bin\r\n");
    testing::ScopedCurrentDir inWork(work.Path());
    LoadedSimulator dll;
    ASSERT_TRUE(dll.IsValid());
    testing::RecordingView texts;
    testing::FakeDialogControls controls;
    controls.SetChecked(control::kUpgradeInternal, true);
    controls.SetChecked(control::kUpgradeExternal, true);
    DeviceLink link(dll, texts);

    TransferKit kit;
    ASSERT_EQ(RunUpgrade(link, ChosenParts(controls), texts, false, kit), 1);
    ASSERT_EQ(RunUpgrade(link, ChosenParts(controls), texts, false, kit), 1);  // parts replaced

    EXPECT_EQ(output.Read("internal.bin"), std::string(image.begin() + 256, image.begin() + 6256));
    EXPECT_EQ(output.Read("external.bin"), std::string(image.begin() + 6256, image.end()));
    const std::string log = output.Read("traffic.log");
    const int frames = 2 * (1 + 2 * 2 + 1 + 2 * 2 + 1);
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 2 * frames);
}

}  // namespace
}  // namespace orvo::sim
