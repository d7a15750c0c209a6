#include "ConsoleReport.h"

#include "ProgressLine.h"
#include "TextCodec.h"
#include "TextKeys.h"

#include <cstdio>

namespace orvo::console {
namespace {

constexpr std::chrono::milliseconds kRedrawInterval{100};

}  // namespace

std::string Utf8(const std::wstring& text) {
    return ToUtf8(text);
}

void ConsoleReport::Started(std::string_view command) {
    if (json_) {
        out_ << JsonLine("start").Add("command", command).Text() << std::endl;
    }
}

void ConsoleReport::SerialNumber(const std::string& number, bool isResult) {
    if (json_) {
        out_ << JsonLine("serial").Add("serial_number", number).Text() << std::endl;
    } else if (isResult) {
        out_ << number << std::endl;
    } else {
        EndProgressLine();
        err_ << "serial number " << number << std::endl;
    }
}

void ConsoleReport::Result(const std::string& text) {
    if (json_) {
        out_ << JsonLine("result").Add("text", text).Text() << std::endl;
    } else {
        out_ << text << std::flush;
    }
}

void ConsoleReport::Message(std::string_view key, int errorCode, const std::wstring& text) {
    if (json_) {
        JsonLine line("message");
        line.Add("key", key);
        if (errorCode >= 0) {
            line.Add("code", static_cast<long long>(errorCode));
        }
        out_ << line.Add("text", Utf8(text)).Text() << std::endl;
        return;
    }
    EndProgressLine();
    err_ << "orvo: " << Utf8(text);
    if (!key.empty()) {
        err_ << " [" << key;
        if (errorCode >= 0) {
            err_ << ", device error code " << errorCode;
        }
        err_ << "]";
    }
    err_ << std::endl;
}

void ConsoleReport::Note(const std::string& text) {
    if (json_) {
        out_ << JsonLine("note").Add("text", text).Text() << std::endl;
    } else {
        EndProgressLine();
        err_ << "orvo: " << text << std::endl;
    }
}

void ConsoleReport::Event(const JsonLine& line) {
    if (json_) {
        out_ << line.Text() << std::endl;
    }
}

void ConsoleReport::PartStarted(std::string_view part, int total, int blockSize) {
    EndProgressLine();
    part_ = part;
    total_ = total;
    blockSize_ = blockSize;
    done_ = 0;
    lastTenth_ = -1;
    partStart_ = Clock::now();
    if (json_) {
        out_ << JsonLine("part")
                    .Add("part", part)
                    .Add("blocks", static_cast<long long>(total))
                    .Add("block_size", static_cast<long long>(blockSize))
                    .Text()
             << std::endl;
        lastShown_ = partStart_;  // the part's line stands for its first progress
        return;
    }
    lastShown_ = partStart_ - kRedrawInterval;
    ShowProgress(false);
}

void ConsoleReport::Progress(int done) {
    done_ = done;
    ShowProgress(done == total_);
}

void ConsoleReport::ShowProgress(bool last) {
    const Clock::time_point now = Clock::now();
    const int tenth = PercentDone(done_, total_) / 10;
    const bool due =
        (terminal_ || json_) ? now - lastShown_ >= kRedrawInterval : tenth != lastTenth_;
    if (!due && !last) {
        return;
    }
    lastShown_ = now;
    lastTenth_ = tenth;
    if (json_) {
        out_ << JsonLine("progress")
                    .Add("part", part_)
                    .Add("done", static_cast<long long>(done_))
                    .Add("total", static_cast<long long>(total_))
                    .Text()
             << std::endl;
        return;
    }
    const double seconds = std::chrono::duration<double>(now - partStart_).count();
    const double speed = seconds > 0.05 ? done_ * static_cast<double>(blockSize_) / seconds : 0;
    const std::string line = FormatProgressLine({part_, done_, total_, speed}, blockSize_);
    if (terminal_) {
        // Spaces wipe the end of a longer line drawn before.
        err_ << '\r' << line << "     " << std::flush;
        lineOpen_ = true;
        if (last) {
            EndProgressLine();
        }
    } else {
        err_ << line << std::endl;
    }
}

void ConsoleReport::EndProgressLine() {
    if (lineOpen_) {
        err_ << std::endl;
        lineOpen_ = false;
    }
}

void ConsoleReport::Interrupted() {
    if (total_ == 0) {
        Note("interrupted");
        return;
    }
    Note("interrupted: stopped after block " + std::to_string(done_) + " of " +
         std::to_string(total_) + " of the " + part_ + " part; the device needs a new upgrade");
}

void ConsoleReport::Finished(std::string_view key, int errorCode, unsigned long windowsError,
                             int exitCode, double seconds) {
    total_ = 0;  // the next job has no part under way until it starts one
    const bool done = key.empty() || key == text::kUpgradeDone;
    if (json_) {
        JsonLine line(done ? "done" : "failed");
        if (!done) {
            line.Add("key", key);
            if (errorCode >= 0) {
                line.Add("code", static_cast<long long>(errorCode));
            } else {
                line.AddNull("code");
            }
            line.Add("windows_error", static_cast<long long>(windowsError));
        }
        out_ << line.Add("exit_code", static_cast<long long>(exitCode))
                    .Add("seconds", seconds)
                    .Text()
             << std::endl;
        return;
    }
    EndProgressLine();
    char elapsed[32];
    std::snprintf(elapsed, sizeof elapsed, "%.1f s", seconds);
    if (done) {
        err_ << "orvo: done in " << elapsed << std::endl;
    } else {
        err_ << "orvo: failed (" << key << ") after " << elapsed << ", exit code " << exitCode;
        if (windowsError != 0) {
            err_ << ", Windows error " << windowsError;
        }
        err_ << std::endl;
    }
}

}  // namespace orvo::console
