#include "SettingsFiles.h"

namespace orvo::settings {
namespace {

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

void UseSettingsFiles(const std::string& configFile, const std::string& textsFile) {
    ConfigName() = configFile.empty() ? kDefaultConfigFile : configFile;
    TextsName() = textsFile.empty() ? kDefaultTextsFile : textsFile;
}

}  // namespace orvo::settings
