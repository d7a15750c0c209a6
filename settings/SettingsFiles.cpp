#include "SettingsFiles.h"

#include <mutex>

namespace orvo::settings {
namespace {

// Set by a test's thread while no upgrade runs, read by the upgrade worker.
std::mutex approvedImagesLock;
std::filesystem::path approvedImagesOverride;

std::string& ConfigName() {
    static std::string name = kDefaultConfigFile;
    return name;
}

std::string& TextsName() {
    static std::string name = kDefaultTextsFile;
    return name;
}

}  // namespace

const std::string& ConfigFile() {
    return ConfigName();
}
const std::string& TextsFile() {
    return TextsName();
}

std::filesystem::path ApprovedImagesFile() {
    {
        std::lock_guard<std::mutex> hold(approvedImagesLock);
        if (!approvedImagesOverride.empty()) {
            return approvedImagesOverride;
        }
    }
    static const std::filesystem::path besideProgram = [] {
        const std::filesystem::path folder = ProgramFolder();
        return folder.empty() ? folder : folder / kApprovedImagesFile;
    }();
    return besideProgram;
}

void UseApprovedImagesFile(const std::filesystem::path& file) {
    std::lock_guard<std::mutex> hold(approvedImagesLock);
    approvedImagesOverride = file;
}

void UseSettingsFiles(const std::string& configFile, const std::string& textsFile) {
    ConfigName() = configFile.empty() ? kDefaultConfigFile : configFile;
    TextsName() = textsFile.empty() ? kDefaultTextsFile : textsFile;
}

}  // namespace orvo::settings
