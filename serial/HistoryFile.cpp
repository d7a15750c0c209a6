#include "HistoryFile.h"

#include "IniDocument.h"
#include "SettingsFiles.h"
#include "SettingsKeys.h"
#include "TextCodec.h"
#include "TextLines.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <vector>

namespace orvo {
std::string HistoryFilePath() {
    IniDocument config(settings::ConfigFile());
    // The settings are in the ANSI code page, paths in UTF-8.
    std::string path =
        Utf8FromAnsi(config.GetString(settings::kSectionFilePath, settings::kKeyHistorySn));
    return path.empty() ? settings::kDefaultHistoryFile : path;
}

HistoryResult RecordSerialNumber(const std::string& historyPath, std::string_view number,
                                 const ChunkWriter& write) {
    std::error_code ignored;
    const bool exists = std::filesystem::exists(FileSystemPath(historyPath), ignored);
    const std::optional<std::string> existing =
        exists ? ReadWholeFile(historyPath) : std::optional<std::string>(std::string());
    if (!existing) {
        return HistoryResult::kFailed;
    }
    const std::vector<std::string> lines = SplitTextLines(*existing);
    if (std::find(lines.begin(), lines.end(), number) != lines.end()) {
        return HistoryResult::kAlreadyPresent;
    }
    // One buffer, one write: a record is never split across two writes.
    std::string record;
    if (!existing->empty() && existing->back() != '\n') {
        record = "\r\n";
    }
    record.append(number).append("\r\n");
    return AppendToFile(historyPath, record, write) ? HistoryResult::kRecorded
                                                    : HistoryResult::kFailed;
}

}  // namespace orvo
