#pragma once
// Everything orvo prints goes through here. For people: messages, notes and the progress line
// on standard error, results (a serial number, an image report) on standard output. With
// --json: one JSON object per line on standard output instead, and nothing on standard error.
// The progress line is redrawn in place at most ten times a second on a terminal; elsewhere it
// is written as a new line at every tenth of a part.
#include "JsonLine.h"

#include <chrono>
#include <ostream>
#include <string>
#include <string_view>

namespace orvo::console {

class ConsoleReport {
public:
    ConsoleReport(std::ostream& out, std::ostream& err, bool json, bool terminal)
        : out_(out), err_(err), json_(json), terminal_(terminal) {}

    bool Json() const { return json_; }

    void Started(std::string_view command);
    // The device's serial number: the result of read-sn and write-sn, a note for the others.
    void SerialNumber(const std::string& number, bool isResult);
    // A result for people (with --json, under "text").
    void Result(const std::string& text);
    // A text of language.ini; `errorCode` is the device's, or -1.
    void Message(std::string_view key, int errorCode, const std::wstring& text);
    // orvo's own words, in English.
    void Note(const std::string& text);
    // An event only scripts are shown (--json).
    void Event(const JsonLine& line);

    void PartStarted(std::string_view part, int total, int blockSize);
    void Progress(int done);
    // A stop asked for ended the job: says where the part under way stopped, if one was.
    void Interrupted();

    // The end of a device job: done (an empty `key` or T2) or failed with the key, the device's
    // error code and the pipe library's Windows error.
    void Finished(std::string_view key, int errorCode, unsigned long windowsError, int exitCode,
                  double seconds);

private:
    using Clock = std::chrono::steady_clock;

    void ShowProgress(bool last);
    void EndProgressLine();

    std::ostream& out_;
    std::ostream& err_;
    const bool json_;
    const bool terminal_;

    std::string part_;
    int total_ = 0;
    int done_ = 0;
    int blockSize_ = 0;
    int lastTenth_ = -1;
    bool lineOpen_ = false;
    Clock::time_point partStart_;
    Clock::time_point lastShown_;
};

// A wide text as UTF-8, for the console and for JSON.
std::string Utf8(const std::wstring& text);

}  // namespace orvo::console
