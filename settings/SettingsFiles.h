#pragma once
// Where the two settings files are: CONFIG.INI and language.ini, by default in the current
// directory, as the window always has them. A command-line run may name others, once, before
// anything reads them; every reader asks here, so no reader keeps a name of its own.
//
// The approved-images list is the one file found beside the program instead: the current
// directory is the data folder, which every user of the PC may change, while only
// administrators may change the program's folder where the installer puts it.
#include <filesystem>
#include <string>

namespace orvo::settings {

inline constexpr char kDefaultConfigFile[] = "CONFIG.INI";
inline constexpr char kDefaultTextsFile[] = "language.ini";
inline constexpr char kApprovedImagesFile[] = "approved-images.sha256";

const std::string& ConfigFile();
const std::string& TextsFile();

// Empty names keep the default. Call before any reader runs; not to be called while one does.
void UseSettingsFiles(const std::string& configFile, const std::string& textsFile);

// The folder of the running program's executable; empty when the system does not say.
std::filesystem::path ProgramFolder();
// The approved-images list (ApprovedImages.h) beside the program; empty when the program's
// folder is unknown. No command-line option moves it.
std::filesystem::path ApprovedImagesFile();
// For tests: the list in `file` instead; an empty path gives back the one beside the program.
void UseApprovedImagesFile(const std::filesystem::path& file);

}  // namespace orvo::settings
