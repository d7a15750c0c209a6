#pragma once
// The serial numbers given out to devices, shared by every program that burns them: the
// history file (the numbers the devices accepted, one per line, as other programs read it) and
// its journal beside it (every number taken for a burn, and how that burn ended).
//
// One burn is one step under a lock on the journal that every process on the PC, and on a
// network share, honours: read both files, choose a number, take it (on the disk before the
// device hears it), burn, record. So no two programs ever give out one number, a failed append
// never undoes another program's record, and a number that a crash or a power loss left taken,
// which may stand in a device, is reported once and never given out again.
#include "DurableFile.h"
#include "FileLock.h"
#include "HistoryFile.h"

#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orvo {

// The journal kept beside `historyPath`.
std::string JournalPath(const std::string& historyPath);

// What the history and its journal hold, read as they stand.
struct LedgerRecords {
    std::vector<std::string> history;            // the history's lines
    std::map<std::string, std::string> journal;  // number -> how its last burn stands

    // Nothing when a file that is there cannot be read; a missing one holds nothing.
    static std::optional<LedgerRecords> Read(const std::string& historyPath);

    // The number after the later of the last numbers of the number file and of the history,
    // past every number already given out; may be 13 characters when the counter is at its end.
    std::string Propose(const std::optional<std::vector<std::string>>& numberFileLines) const;
    // In the history, or taken by a burn before.
    bool Given(const std::string& number) const;
};

class SerialLedger {
public:
    enum class Refusal {
        kUnusable,  // the history or its journal cannot be read or written
        kBusy,      // another program held the lock for longer than a burn takes
    };
    // How long a program waits for another one's burn to end.
    static constexpr std::chrono::milliseconds kLockWait{10000};

    // Takes the lock and reads both files; nothing, and `refusal` says why, when it cannot, or
    // when the history could not take a record.
    static std::unique_ptr<SerialLedger> Open(const std::string& historyPath, Refusal& refusal);

    const std::string& HistoryPath() const { return historyPath_; }
    // Numbers a burn took and never settled, found by this opening; each is found once.
    const std::vector<std::string>& Unconfirmed() const { return unconfirmed_; }

    const LedgerRecords& Records() const { return records_; }

    // Holds `number` as taken, on the disk; false when it is not, and nothing may be burned.
    bool Take(const std::string& number);
    // The device accepted `number`: recorded in the history and settled in the journal.
    HistoryResult Record(const std::string& number, const ChunkWriter& write = {});
    // The device did not take `number`, or may have: the number stays a gap in the numbering.
    void Refused(const std::string& number);

private:
    SerialLedger(std::string historyPath, std::unique_ptr<FileLock> lock, LedgerRecords records)
        : historyPath_(std::move(historyPath)),
          lock_(std::move(lock)),
          records_(std::move(records)) {}
    void SettleUnconfirmed();
    bool Journal(const char* state, const std::string& number);

    std::string historyPath_;
    std::unique_ptr<FileLock> lock_;
    LedgerRecords records_;
    std::vector<std::string> unconfirmed_;
};

}  // namespace orvo
