#pragma once
// Where the two settings files are: CONFIG.INI and language.ini, by default in the current
// directory, as the window always has them. A command-line run may name others, once, before
// anything reads them; every reader asks here, so no reader keeps a name of its own.
#include <string>

namespace orvo::settings {

inline constexpr char kDefaultConfigFile[] = "CONFIG.INI";
inline constexpr char kDefaultTextsFile[] = "language.ini";

const std::string& ConfigFile();
const std::string& TextsFile();

// Empty names keep the default. Call before any reader runs; not to be called while one does.
void UseSettingsFiles(const std::string& configFile, const std::string& textsFile);

}  // namespace orvo::settings
