// The Windows deliverables as their PE headers describe them, the build's version in each and
// the application manifest of every executable, checked from the native build so that the
// 32-bit ones are checked even on a host that cannot run them.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "ManifestCheck.h"
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

std::string ProblemsText(const std::vector<std::string>& problems) {
    std::string text;
    for (const std::string& problem : problems) {
        text += "\n  " + problem;
    }
    return text;
}

std::vector<char> FileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
}

// A little-endian number of `width` bytes of a file's bytes.
std::uint32_t NumberAt(const std::vector<char>& bytes, std::size_t at, std::size_t width) {
    std::uint32_t value = 0;
    for (std::size_t i = width; i-- > 0;) {
        value = value << 8 | static_cast<unsigned char>(bytes.at(at + i));
    }
    return value;
}

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

// Every executable of the deliverables says in its manifest that it runs as the user who starts
// it, on Windows 7 to 11, DPI-unaware with GDI scaling and without Common Controls 6.
TEST_P(DistributionPe, DeliveredProgramsCarryTheManifest) {
    const std::filesystem::path dist =
        std::filesystem::path(ORVO_BUILD_ROOT) / GetParam().preset / "dist";
    if (!std::filesystem::is_directory(dist)) {
        GTEST_SKIP() << "skipped: " << dist.string() << " is not built: build the "
                     << GetParam().preset << " preset";
    }
    int programs = 0;
    for (const Deliverable& d : kDeliverables) {
        if (d.subsystem == 0) {
            continue;  // a DLL runs under its caller's manifest
        }
        SCOPED_TRACE(d.file);
        ++programs;
        std::string error;
        const auto pe = ReadPeFile((dist / d.file).string(), error);
        ASSERT_TRUE(pe) << error;
        const std::vector<std::string> problems = ManifestProblems(pe->manifest);
        EXPECT_TRUE(problems.empty()) << ProblemsText(problems);
    }
    EXPECT_EQ(programs, 2);
}

// The test programs, the window driver, the tools and the simulated device's programs behave
// as the deliverables do: every .exe the build makes carries the same manifest.
TEST_P(DistributionPe, EveryProgramOfTheBuildCarriesTheManifest) {
    const std::filesystem::path build = std::filesystem::path(ORVO_BUILD_ROOT) / GetParam().preset;
    if (!std::filesystem::is_directory(build / "dist")) {
        GTEST_SKIP() << "skipped: " << build.string() << " is not built: build the "
                     << GetParam().preset << " preset";
    }
    int programs = 0;
    for (auto entry = std::filesystem::recursive_directory_iterator(build);
         entry != std::filesystem::recursive_directory_iterator(); ++entry) {
        const std::string name = entry->path().filename().string();
        // CMake's own probes of the compiler, and the Wine prefix of the test run, are not ours.
        if (entry->is_directory() && (name == "CMakeFiles" || name == "wine-session")) {
            entry.disable_recursion_pending();
            continue;
        }
        if (!entry->is_regular_file() || entry->path().extension() != ".exe") {
            continue;
        }
        SCOPED_TRACE(entry->path().string());
        ++programs;
        std::string error;
        const auto pe = ReadPeFile(entry->path().string(), error);
        ASSERT_TRUE(pe) << error;
        const std::vector<std::string> problems = ManifestProblems(pe->manifest);
        EXPECT_TRUE(problems.empty()) << ProblemsText(problems);
    }
    EXPECT_GT(programs, 10) << "the build's programs were not found";
}

// The check fails for a program without a manifest: orvo.exe with its manifest's resource type
// changed to one nobody reads.
TEST_P(DistributionPe, ProgramWithoutManifestFailsTheCheck) {
    const std::filesystem::path orvo =
        std::filesystem::path(ORVO_BUILD_ROOT) / GetParam().preset / "dist" / "orvo.exe";
    if (!std::filesystem::exists(orvo)) {
        GTEST_SKIP() << "skipped: " << orvo.string() << " is not built: build the "
                     << GetParam().preset << " preset";
    }
    std::string error;
    const auto pe = ReadPeFile(orvo.string(), error);
    ASSERT_TRUE(pe) << error;
    ASSERT_NE(pe->resourceDirectory, 0u);
    std::vector<char> bytes = FileBytes(orvo);
    // The root directory's entries follow its 16-byte header: named ones, then those with an id.
    const std::size_t root = pe->resourceDirectory;
    const std::size_t entries = NumberAt(bytes, root + 12, 2) + NumberAt(bytes, root + 14, 2);
    bool changed = false;
    for (std::size_t i = 0; i < entries; ++i) {
        const std::size_t entry = root + 16 + i * 8;
        if (NumberAt(bytes, entry, 4) == 24) {
            bytes.at(entry) = static_cast<char>(0x7E);  // type 126: unknown to Windows
            changed = true;
        }
    }
    ASSERT_TRUE(changed) << "orvo.exe has no resource of type 24";
    const std::string path = testing::TempDir() + "orvo-without-manifest.exe";
    {
        std::ofstream out(path, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    const auto stripped = ReadPeFile(path, error);
    std::remove(path.c_str());
    ASSERT_TRUE(stripped) << error;
    EXPECT_EQ(stripped->manifest, "");
    EXPECT_EQ(ManifestProblems(stripped->manifest),
              std::vector<std::string>{"no application manifest (resource type 24, id 1)"});
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

// Each thing the manifest must say is checked, and one said wrongly is named.
TEST(ManifestCheck, NamesWhatIsMissingOrWrong) {
    const std::string good =
        R"(<assembly><trustInfo><security><requestedPrivileges>)"
        R"(<requestedExecutionLevel level="asInvoker" uiAccess="false"/>)"
        R"(</requestedPrivileges></security></trustInfo><compatibility><application>)"
        R"(<supportedOS Id="{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"/>)"
        R"(<supportedOS Id="{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}"/>)"
        R"(<supportedOS Id="{1f676c76-80e1-4239-95bb-83d0f6d0da78}"/>)"
        R"(<supportedOS Id="{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"/>)"
        R"(</application></compatibility><application><windowsSettings>)"
        R"(<dpiAware xmlns="http://schemas.microsoft.com/SMI/2005/WindowsSettings">false</dpiAware>)"
        R"(<dpiAwareness xmlns="http://schemas.microsoft.com/SMI/2016/WindowsSettings">unaware</dpiAwareness>)"
        R"(<gdiScaling xmlns="http://schemas.microsoft.com/SMI/2017/WindowsSettings">true</gdiScaling>)"
        R"(</windowsSettings></application></assembly>)";
    EXPECT_EQ(ManifestProblems(good), std::vector<std::string>{});

    const auto replaced = [&](const std::string& from, const std::string& to) {
        std::string text = good;
        text.replace(text.find(from), from.size(), to);
        return ManifestProblems(text);
    };
    EXPECT_EQ(replaced("asInvoker", "requireAdministrator"),
              std::vector<std::string>{"requestedExecutionLevel is not asInvoker"});
    EXPECT_EQ(replaced(R"(<supportedOS Id="{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"/>)", ""),
              std::vector<std::string>{
                  "no supportedOS entry for Windows 7 {35138b9a-5d96-4fbd-8e2d-a2440225f93a}"});
    EXPECT_EQ(replaced(">false</dpiAware>", ">true</dpiAware>"),
              std::vector<std::string>{"dpiAware is not stated as false"});
    EXPECT_EQ(replaced(">unaware<", ">permonitorv2<"),
              std::vector<std::string>{"dpiAwareness is not stated as unaware"});
    EXPECT_EQ(replaced(">true</gdiScaling>", ">false</gdiScaling>"),
              std::vector<std::string>{"gdiScaling is not true"});
    EXPECT_EQ(
        replaced("</assembly>", R"(<dependency><dependentAssembly><assemblyIdentity type="win32" )"
                                R"(name="Microsoft.Windows.Common-Controls" version="6.0.0.0"/>)"
                                R"(</dependentAssembly></dependency></assembly>)"),
        std::vector<std::string>{
            "depends on Common Controls 6, which would re-theme the controls"});
    // A setting inside a comment is not made.
    EXPECT_EQ(replaced(R"(<requestedExecutionLevel level="asInvoker" uiAccess="false"/>)",
                       R"(<!-- <requestedExecutionLevel level="asInvoker"/> -->)"),
              std::vector<std::string>{"requestedExecutionLevel is not asInvoker"});
}

}  // namespace
}  // namespace orvo::testbed
