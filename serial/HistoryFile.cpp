#include "HistoryFile.h"

#include "IniDocument.h"
#include "SettingsKeys.h"
#include "TextLines.h"

#include <algorithm>
#include <filesystem>
#include <memory>

namespace orvo {
namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

std::string HistoryFilePath() {
    IniDocument config(settings::kConfigFile);
    std::string path = config.GetString(settings::kSectionFilePath, settings::kKeyHistorySn);
    return path.empty() ? settings::kDefaultHistoryFile : path;
}

HistoryResult RecordSerialNumber(const std::string& historyPath, std::string_view number,
                                 const ChunkWriter& write) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(historyPath.c_str(), "ab+"));
    if (!file) {
        return HistoryResult::kFailed;
    }
    auto existing = ReadWholeFile(historyPath);
    if (!existing) {
        return HistoryResult::kFailed;
    }
    auto lines = SplitTextLines(*existing);
    if (std::find(lines.begin(), lines.end(), number) != lines.end()) {
        return HistoryResult::kAlreadyPresent;
    }

    // One buffer, one write: a record is never split across two writes.
    std::string record;
    if (!existing->empty() && existing->back() != '\n') {
        record = "\r\n";
    }
    record.append(number).append("\r\n");
    std::size_t written = write ? write(file.get(), record.data(), record.size())
                                : std::fwrite(record.data(), 1, record.size(), file.get());
    bool durable = written == record.size() && FlushToDisk(file.get());
    durable = std::fclose(file.release()) == 0 && durable;
    if (!durable) {
        // Whatever part of the record reached the file would be a broken line: take it back.
        std::error_code ignored;
        std::filesystem::resize_file(historyPath, existing->size(), ignored);
        return HistoryResult::kFailed;
    }
    return HistoryResult::kRecorded;
}

}  // namespace orvo
