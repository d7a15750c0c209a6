#pragma once
// Sections, keys and fixed names of CONFIG.INI (SettingsFiles.h says where it is). Values are
// narrow texts in the ANSI code page.
namespace orvo::settings {

inline constexpr char kSectionSetting[] = "SETTING";
inline constexpr char kKeyVersionNo[] = "VERSIONNO";  // version text of the main window
inline constexpr char kKeyLanguage[] = "LANGUAGE";    // language.ini section of the chosen language

inline constexpr char kSectionFilePath[] = "FILE_PATH";
inline constexpr char kKeyUpgradeFile[] = "UPGRADE_FILE";
// Upgrade file of devices whose serial number begins with one of the alternative prefixes.
inline constexpr char kKeyUpgradeFileAlternative[] = "UPGRADE_FILE_KWOR_OBDII";
inline constexpr char kKeyHistorySn[] = "HISTORY_SN";

// History file when CONFIG.INI names none; also the number file the next number comes from.
inline constexpr char kDefaultHistoryFile[] = "burn_sn.txt";

}  // namespace orvo::settings
