#pragma once
// The body of an upgrade, run on the upgrade worker: the upgrade file named in CONFIG.INI (in
// the current directory) goes to the device, its internal part when box 1006 is ticked, its
// external part when box 1007 is (as they were when the run started), each as a start command
// and blocks announced one by one, then the end command. The progress bar counts the blocks of
// each part; the status key follows the phase (F1, F0, the label of the segment being sent, T2
// at the end).
//
// Returns 1 when everything was sent and accepted, also when neither box is ticked and nothing
// is sent; else 0, after the reason was shown:
//   CONFIG.INI missing or empty             message T0
//   upgrade file missing or unreadable      message T9
//   upgrade file against the format's rules, empty, or an empty internal part to send:
//                                           message T9, status line T3, before any frame
//   upgrade file no longer readable mid-run message T9, status line T3; nothing more is sent
//   an exchange failed                      the device error report; nothing more is sent
#include "DeviceLink.h"
#include "DialogControls.h"
#include "FramesAhead.h"
#include "TechnicianView.h"
#include "UpgradeImage.h"

#include <cstdint>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace orvo {

// The parts to send, as boxes 1006 and 1007 are ticked.
struct PartChoice {
    bool internal = false;
    bool external = false;
};

// Read on the window's thread when the run is started, so that the worker never has to wait
// for that thread to answer.
PartChoice ChosenParts(DialogControls& controls);

// What a run reads its file with and builds its frames in, kept from run to run: made fresh,
// each run would pay under Wine for a thread's start and for the pages it takes, which on a
// virtual machine cost 10 to 25 µs each, so all of it is set up and touched when it is made.
struct TransferKit {
    TransferKit();
    std::vector<char> readBuffer;  // the file stream's
    FramesAhead frames;
};

// `alternativeFile` picks the file of UPGRADE_FILE_KWOR_OBDII instead of UPGRADE_FILE.
int RunUpgrade(DeviceLink& link, PartChoice parts, TechnicianView& view, bool alternativeFile,
               TransferKit& kit);

// The steps of RunUpgrade, for a caller that names the file itself or runs it more than once.

// Whether the device of this 12-byte serial number takes the alternative file.
bool TakesAlternativeFile(const std::uint8_t* serial);
// The upgrade file CONFIG.INI names; nothing when CONFIG.INI is missing or empty.
std::optional<std::string> UpgradeFilePath(bool alternativeFile);

// An upgrade file opened and its header checked. The parts are read from it block by block as
// they are sent, straight into the kit's frames, so the file is never held whole in memory and
// is read once per run.
struct UpgradeFile {
    explicit UpgradeFile(TransferKit& kit) : kit(kit) {}
    TransferKit& kit;  // must outlive the stream, whose buffer it holds
    std::ifstream stream;
    ImageLayout layout;
};
enum class UpgradeFileRead { kRead, kUnreadable, kRefused };
// Opens `path` into a fresh `file` and checks its header against the format's rules.
UpgradeFileRead ReadUpgradeFile(const std::string& path, UpgradeFile& file);
// Sends the chosen parts of a file read and accepted; an empty internal part to send is
// refused before any frame, and a file that can no longer be read mid-run ends it with message
// T9. 1 or 0, as RunUpgrade.
int SendUpgrade(DeviceLink& link, PartChoice parts, TechnicianView& view, UpgradeFile& file);

}  // namespace orvo
