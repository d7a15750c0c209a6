#include "SerialLedger.h"

#include "SerialNumber.h"
#include "TextLines.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace orvo {
namespace {

// How a taken number stands in the journal: one line "STATE NUMBER" per change.
constexpr char kTaken[] = "taken";
constexpr char kBurned[] = "burned";
constexpr char kRefused[] = "refused";
constexpr char kUnrecorded[] = "unrecorded";
constexpr char kUnconfirmed[] = "unconfirmed";

// A file that is not there yet has no lines; one that cannot be read has none to trust.
std::optional<std::vector<std::string>> LinesOf(const std::string& path) {
    std::error_code ignored;
    if (!std::filesystem::exists(FileSystemPath(path), ignored)) {
        return std::vector<std::string>();
    }
    const std::optional<std::string> bytes = ReadWholeFile(path);
    if (!bytes) {
        return std::nullopt;
    }
    return SplitTextLines(*bytes);
}

// A history that is there must take a record; one that is not yet is made by its first.
bool CanAppendTo(const std::string& path) {
    std::error_code ignored;
    if (!std::filesystem::exists(FileSystemPath(path), ignored)) {
        return true;
    }
    if (IsReadOnlyFile(path)) {
        return false;
    }
    std::FILE* file = OpenFile(path, "ab");
    return file != nullptr && std::fclose(file) == 0;
}

}  // namespace

std::string JournalPath(const std::string& historyPath) {
    return historyPath + ".journal";
}

std::optional<LedgerRecords> LedgerRecords::Read(const std::string& historyPath) {
    const std::optional<std::vector<std::string>> history = LinesOf(historyPath);
    const std::optional<std::vector<std::string>> journal = LinesOf(JournalPath(historyPath));
    if (!history || !journal) {
        return std::nullopt;
    }
    LedgerRecords records;
    records.history = *history;
    for (const std::string& line : *journal) {
        const std::size_t space = line.find(' ');
        if (space != std::string::npos) {
            records.journal[line.substr(space + 1)] = line.substr(0, space);
        }
    }
    return records;
}

std::string LedgerRecords::Propose(
    const std::optional<std::vector<std::string>>& numberFileLines) const {
    return ProposeSerialNumber(numberFileLines, history,
                               [this](const std::string& number) { return Given(number); });
}

bool LedgerRecords::Given(const std::string& number) const {
    return journal.count(number) != 0 ||
           std::find(history.begin(), history.end(), number) != history.end();
}

std::unique_ptr<SerialLedger> SerialLedger::Open(const std::string& historyPath, Refusal& refusal) {
    bool busy = false;
    // The journal is locked rather than the history, which is then created only by its first
    // record; the journal stands in the history's folder, so that folder takes new files.
    std::unique_ptr<FileLock> lock = FileLock::Acquire(JournalPath(historyPath), kLockWait, busy);
    refusal = busy ? Refusal::kBusy : Refusal::kUnusable;
    if (!lock || !CanAppendTo(historyPath)) {
        return nullptr;
    }
    std::optional<LedgerRecords> records = LedgerRecords::Read(historyPath);
    if (!records) {
        return nullptr;
    }
    std::unique_ptr<SerialLedger> ledger(
        new SerialLedger(historyPath, std::move(lock), std::move(*records)));
    ledger->SettleUnconfirmed();
    return ledger;
}

void SerialLedger::SettleUnconfirmed() {
    // Under the lock no burn is under way, so a number still only taken is one whose program
    // stopped between taking it and hearing the device.
    std::vector<std::string> taken;
    for (const auto& [number, state] : records_.journal) {
        if (state == kTaken) {
            taken.push_back(number);
        }
    }
    for (const std::string& number : taken) {
        unconfirmed_.push_back(number);
        Journal(kUnconfirmed, number);
    }
}

bool SerialLedger::Journal(const char* state, const std::string& number) {
    if (!AppendToFile(JournalPath(historyPath_), std::string(state) + " " + number + "\r\n")) {
        return false;
    }
    records_.journal[number] = state;
    return true;
}

bool SerialLedger::Take(const std::string& number) {
    return Journal(kTaken, number);
}

HistoryResult SerialLedger::Record(const std::string& number, const ChunkWriter& write) {
    const HistoryResult recorded = RecordSerialNumber(historyPath_, number, write);
    if (recorded == HistoryResult::kFailed) {
        Journal(kUnrecorded, number);
    } else {
        Journal(kBurned, number);
        records_.history.push_back(number);
    }
    return recorded;
}

void SerialLedger::Refused(const std::string& number) {
    Journal(kRefused, number);
}

}  // namespace orvo
