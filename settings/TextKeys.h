#pragma once
// The catalogue of language.ini's keys that the tool looks up, each by what its text is for.
// The texts themselves, in three languages, are the file's; a segment's label ("F" and its
// number in lower-case hex, UpgradeImage.h) is made from the segment's number.
namespace orvo::text {

// Captions of the dialog's controls.
inline constexpr char kWriteSnCaption[] = "C0";
inline constexpr char kReadSnCaption[] = "C1";
inline constexpr char kLanguageCaption[] = "C2";
inline constexpr char kSnCaption[] = "C3";
inline constexpr char kIncreaseCaption[] = "C4";
inline constexpr char kStartUpgradeCaption[] = "C5";
inline constexpr char kUpgradeInternalCaption[] = "C6";
inline constexpr char kUpgradeExternalCaption[] = "C7";
inline constexpr char kExitCaption[] = "C9";

// Messages and the status line.
inline constexpr char kConfigUnreadable[] = "T0";
inline constexpr char kUpgradeDone[] = "T2";
inline constexpr char kUpgradeFailed[] = "T3";
inline constexpr char kConfigMissing[] = "T4";
inline constexpr char kNoDeviceReply[] = "T5";  // also the device's error code 0
inline constexpr char kSerialRefused[] = "T7";
inline constexpr char kSerialNotTwelveDigits[] = "T8";
inline constexpr char kUpgradeFileUnusable[] = "T9";
inline constexpr char kUpgradeRunning[] = "T10";
inline constexpr char kLanguageFileMissing[] = "T11";
inline constexpr char kSerialUnrecorded[] = "T12";  // %1 the number, %2 the history file
inline constexpr char kLanguageNotSaved[] = "T13";
inline constexpr char kSerialProposalUnusable[] = "T14";  // %1 the proposal
inline constexpr char kHistoryUnusable[] = "T15";         // %1 the history file
inline constexpr char kSerialGivenBefore[] = "T16";       // %1 the number, %2 the history file
inline constexpr char kSerialUnconfirmed[] = "T17";       // %1 the number
inline constexpr char kHistoryBusy[] = "T18";             // %1 the history file
inline constexpr char kImageNotApproved[] = "T20";        // %1 the upgrade file

// The device's error codes 1 to 8; there is no E8, every other code is E9.
inline constexpr const char* kDeviceErrors[] = {"E0", "E1", "E2", "E3", "E4", "E5", "E6", "E7"};
inline constexpr char kUnknownDeviceError[] = "E9";

// What the status key names while a part is sent.
inline constexpr char kSendingExternal[] = "F0";
inline constexpr char kSendingInternal[] = "F1";

// Every key above, for the checks of language.ini; the segment labels F2 onwards are made.
inline constexpr const char* kCatalogue[] = {kWriteSnCaption,
                                             kReadSnCaption,
                                             kLanguageCaption,
                                             kSnCaption,
                                             kIncreaseCaption,
                                             kStartUpgradeCaption,
                                             kUpgradeInternalCaption,
                                             kUpgradeExternalCaption,
                                             kExitCaption,
                                             kConfigUnreadable,
                                             kUpgradeDone,
                                             kUpgradeFailed,
                                             kConfigMissing,
                                             kNoDeviceReply,
                                             kSerialRefused,
                                             kSerialNotTwelveDigits,
                                             kUpgradeFileUnusable,
                                             kUpgradeRunning,
                                             kLanguageFileMissing,
                                             kSerialUnrecorded,
                                             kLanguageNotSaved,
                                             kSerialProposalUnusable,
                                             kHistoryUnusable,
                                             kSerialGivenBefore,
                                             kSerialUnconfirmed,
                                             kHistoryBusy,
                                             kDeviceErrors[0],
                                             kDeviceErrors[1],
                                             kDeviceErrors[2],
                                             kDeviceErrors[3],
                                             kDeviceErrors[4],
                                             kDeviceErrors[5],
                                             kDeviceErrors[6],
                                             kDeviceErrors[7],
                                             kUnknownDeviceError,
                                             kSendingExternal,
                                             kSendingInternal};

}  // namespace orvo::text
