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
//   an approved-images list beside the program that does not list the file's SHA-256:
//                                           message T20 naming the file, status line T3,
//                                           before any frame
//   upgrade file against the format's rules, empty, or an empty internal part to send:
//                                           message T9, status line T3, before any frame
//   upgrade file no longer readable mid-run message T9, status line T3; nothing more is sent
//   an exchange failed                      the device error report; nothing more is sent
#include "ApprovedImages.h"
#include "DeviceLink.h"
#include "DialogControls.h"
#include "FramesAhead.h"
#include "HeldBytes.h"
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

// An upgrade file opened and its header checked. Without an approved-images list the parts are
// read from it block by block as they are sent, straight into the kit's frames, so the file is
// never held whole in memory and is read once per run. With a list, the file is read whole into
// memory once, its SHA-256 taken from those bytes, and the parts sent from them: what the list
// approved is what the device gets, even if the file changes on the disk meanwhile. (Holding the
// file open with a share mode that denies writes would leave it to the system to keep it as it
// was checked, and read it twice; a system that enforces no share modes keeps nothing.)
struct UpgradeFile {
    explicit UpgradeFile(TransferKit& kit) : kit(kit) {}
    TransferKit& kit;  // must outlive the stream, whose buffer it holds
    std::ifstream stream;
    HeldBytes held;
    ImageLayout layout;
    ApprovedImageList approvals;  // the list as the file was read
    std::string sha256;           // of the bytes held; empty when the file is streamed

    // Where the parts are read from: the bytes held, else the file.
    std::istream& Source() { return held.Holds() ? held.Stream() : stream; }
};
enum class UpgradeFileRead { kRead, kUnreadable, kRefused, kNotApproved };
// Opens `path` into a fresh `file`, holds it to the approved-images list beside the program when
// there is one (kNotApproved: not listed), and checks its header against the format's rules.
UpgradeFileRead ReadUpgradeFile(const std::string& path, UpgradeFile& file);
// The SHA-256 of the file as it is sent: of the bytes held, else summed from the file's start;
// nothing when the file cannot be read to its end.
std::optional<std::string> UpgradeFileSha256(UpgradeFile& file);
// Sends the chosen parts of a file read and accepted; an empty internal part to send is
// refused before any frame, and a file that can no longer be read mid-run ends it with message
// T9. 1 or 0, as RunUpgrade.
int SendUpgrade(DeviceLink& link, PartChoice parts, TechnicianView& view, UpgradeFile& file);

}  // namespace orvo
