#pragma once
// The history file of serial numbers the devices accepted: one 12-digit record per line, each
// followed by CR LF. Records are only ever appended; a number already on a line of its own is
// not recorded again. It is the one file the tool must never lose a line of: a record counts
// as written only once it is on the disk, and a failed append leaves the file as it was.
#include "DurableFile.h"

#include <string>
#include <string_view>

namespace orvo {

enum class HistoryResult {
    kRecorded,        // appended and flushed to the disk
    kAlreadyPresent,  // the number stands on a line already; the file is unchanged
    kFailed,          // could not be opened, created, read or written; the file is unchanged
};

// The history file CONFIG.INI names under FILE_PATH / HISTORY_SN, else "burn_sn.txt".
std::string HistoryFilePath();

// Appends `number` as a record, creating the file when missing. A last line without a line end
// gets one first, so that the old record and the new one both stay readable. `write` lets tests
// cut the write short.
HistoryResult RecordSerialNumber(const std::string& historyPath, std::string_view number,
                                 const ChunkWriter& write = {});

}  // namespace orvo
