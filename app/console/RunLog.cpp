#include "RunLog.h"

#include "DurableFile.h"

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string_view>

namespace orvo::console {
namespace {

// A field with a comma, a quote or a line end goes in quotes, its quotes doubled. One that a
// spreadsheet would take for a formula gets a leading quote mark, which shows it as text.
std::string CsvField(std::string text) {
    if (!text.empty() &&
        std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos) {
        text.insert(0, 1, '\'');
    }
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c == '"' ? "\"\"" : std::string(1, c);
    }
    return quoted + "\"";
}

}  // namespace

std::string FormatRunLogLine(const RunLogLine& line) {
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.1f", line.seconds);
    return line.utcTime + "," + CsvField(line.serialNumber) + "," + CsvField(line.imageFile) + "," +
           line.imageSha256 + "," + CsvField(line.result) + "," +
           (line.deviceErrorCode >= 0 ? std::to_string(line.deviceErrorCode) : std::string()) +
           "," + std::to_string(line.windowsError) + "," + seconds + "," +
           CsvField(line.burnedSerialNumber);
}

bool AppendRunLog(const std::string& path, const RunLogLine& line) {
    std::error_code ignored;
    const bool fresh = std::filesystem::file_size(FileSystemPath(path), ignored) == 0 || ignored;
    std::string bytes = fresh ? std::string(kRunLogHeader) + "\r\n" : std::string();
    bytes += FormatRunLogLine(line) + "\r\n";
    return AppendToFile(path, bytes);
}

std::string UtcTimeNow() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
#ifdef _WIN32
    gmtime_s(&utc, &now);
#else
    gmtime_r(&now, &utc);
#endif
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

}  // namespace orvo::console
