#pragma once
// The CSV log of device runs (--log): one line per device, appended and flushed to the disk as
// the history file is, under a header line written when the file is new.
#include <string>

namespace orvo::console {

struct RunLogLine {
    std::string utcTime;       // ISO 8601, "2026-12-10T08:15:02Z"
    std::string serialNumber;  // as read before the job
    std::string imageFile;
    std::string imageSha256;
    std::string result;              // the message key that ended the run: T2 when done
    int deviceErrorCode = -1;        // -1: none, left empty
    unsigned long windowsError = 0;  // the pipe library's, beside the device's; 0: none
    double seconds = 0;
    std::string burnedSerialNumber;  // the number burned into the device; empty when none
};

inline constexpr char kRunLogHeader[] =
    "utc_time,serial_number,image_file,image_sha256,result,device_error_code,windows_error,"
    "seconds,burned_serial_number";

std::string FormatRunLogLine(const RunLogLine& line);
// False when the line could not be written whole; the file is then as it was.
bool AppendRunLog(const std::string& path, const RunLogLine& line);

std::string UtcTimeNow();

}  // namespace orvo::console
