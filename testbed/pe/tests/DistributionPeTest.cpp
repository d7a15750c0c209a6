// The Windows deliverables as their PE headers describe them, and the build's version in each,
// checked from the native build so that the 32-bit ones are checked even on a host that cannot
// run them.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "OrvoVersion.h"
#include "PeFile.h"

namespace orvo::testbed {
namespace {

using Names = std::set<std::string>;

// What Windows itself provides; a deliverable needs nothing else beside it.
const Names kSystemDlls = {"kernel32.dll", "user32.dll",   "gdi32.dll",  "comctl32.dll",
                           "setupapi.dll", "advapi32.dll", "msvcrt.dll", "shell32.dll"};

struct Build {
    const char* preset;
    std::uint16_t machine;
};

struct Deliverable {
    const char* file;
    std::uint16_t subsystem;  // 0: a DLL, whose subsystem nobody reads
    Names exports;
    Names importsFromPipeLibrary;
};

const Deliverable kDeliverables[] = {
    {"OrvoUpgradeTool.exe", PeFile::kSubsystemGui, {}, {"qxUSBAdv_ReadData", "qxUSBAdv_WriteData"}},
    {"orvo.exe", PeFile::kSubsystemConsole, {}, {"qxUSBAdv_ReadData", "qxUSBAdv_WriteData"}},
    {"qxUSBDev.dll", 0, {"qxUSB_ReadData", "qxUSB_WriteData"}, {}},
    {"qxUSBDevAdv.dll", 0, {"qxUSBAdv_ReadData", "qxUSBAdv_WriteData"}, {}},
    {"Pyxol.dll", 0, {"SearchProgress", "CloseProgress"}, {}},
};

class DistributionPe : public testing::TestWithParam<Build> {};

TEST_P(DistributionPe, DeliverablesHaveTheirMachineExportsVersionAndOnlySystemImports) {
    const std::filesystem::path dist =
        std::filesystem::path(ORVO_BUILD_ROOT) / GetParam().preset / "dist";
    if (!std::filesystem::is_directory(dist)) {
        GTEST_SKIP() << "skipped: " << dist.string() << " is not built: build the "
                     << GetParam().preset << " preset";
    }
    for (const Deliverable& d : kDeliverables) {
        SCOPED_TRACE(d.file);
        std::string error;
        const auto pe = ReadPeFile((dist / d.file).string(), error);
        ASSERT_TRUE(pe) << error;
        EXPECT_EQ(pe->machine, GetParam().machine);
        if (d.subsystem != 0) {
            EXPECT_EQ(pe->subsystem, d.subsystem);
        }
        EXPECT_EQ(pe->exports, d.exports);
        EXPECT_EQ(pe->fileVersion, ORVO_VERSION_TEXT);
        for (const auto& [dll, names] : pe->imports) {
            if (dll == "qxusbdevadv.dll") {
                EXPECT_EQ(names, d.importsFromPipeLibrary);
            } else {
                EXPECT_EQ(kSystemDlls.count(dll), 1u) << "imports from " << dll;
            }
        }
        EXPECT_EQ(pe->imports.count("qxusbdevadv.dll"), d.importsFromPipeLibrary.empty() ? 0u : 1u);
    }
}

// The delivered CONFIG.INI shows the build's version on the main window, and keeps the Windows
// line ends of its source.
TEST_P(DistributionPe, ConfigShowsTheBuildsVersion) {
    const std::filesystem::path config =
        std::filesystem::path(ORVO_BUILD_ROOT) / GetParam().preset / "dist" / "CONFIG.INI";
    if (!std::filesystem::exists(config)) {
        GTEST_SKIP() << "skipped: " << config.string() << " is not built: build the "
                     << GetParam().preset << " preset";
    }
    std::ifstream in(config, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("\r\nVERSIONNO=V" ORVO_VERSION_TEXT "\r\n"), std::string::npos) << text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'),
              std::count(text.begin(), text.end(), '\r'));
}

INSTANTIATE_TEST_SUITE_P(Builds, DistributionPe,
                         testing::Values(Build{"win32", PeFile::kMachineI386},
                                         Build{"win64", PeFile::kMachineAmd64}),
                         [](const auto& info) { return std::string(info.param.preset); });

TEST(PeFileRead, RefusesWhatIsNoPeFile) {
    const std::string path = testing::TempDir() + "not-a-pe-file.exe";
    for (const std::string& bytes : {std::string(), std::string("MZ"), std::string(64, 'M')}) {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
        std::string error;
        EXPECT_FALSE(ReadPeFile(path, error)) << bytes.size() << " bytes";
        EXPECT_FALSE(error.empty());
    }
    std::remove(path.c_str());
}

}  // namespace
}  // namespace orvo::testbed
