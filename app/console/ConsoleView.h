#pragma once
// What the core's jobs show, written to the console: every message through ConsoleReport,
// the progress of each part, and the first failure of a job, which decides the exit code.
// A failure after a stop was asked for is the interruption itself, and says where the
// transfer stopped.
#include "ConsoleReport.h"
#include "ConsoleTexts.h"
#include "DeviceLink.h"
#include "ExitCodes.h"
#include "StopRequests.h"
#include "TechnicianView.h"

#include <string>

namespace orvo::console {

struct JobOutcome {
    std::string key;     // empty while nothing failed
    int errorCode = -1;  // the device's, when a failed exchange decided it
    ExitCode exitCode = kExitDone;
    unsigned long windowsError = 0;  // the pipe library's, beside the device's
};

class ConsoleView : public TechnicianView {
public:
    ConsoleView(ConsoleReport& report, const ConsoleTexts& texts, const StopRequests& stops)
        : report_(report), texts_(texts), stops_(stops) {}

    // Forgets the outcome of the job before.
    void BeginJob() { outcome_ = {}; }
    // The link whose failed exchanges give their Windows error to the outcome.
    void TakeWindowsErrorsFrom(const DeviceLink& link) { link_ = &link; }
    const JobOutcome& Outcome() const { return outcome_; }
    // A failure found by orvo itself: the key's text, or `detail` when the key has none (a
    // key of orvo's own), and the exit code it decides.
    void Fail(std::string_view key, ExitCode exitCode, const std::string& detail = {});
    // Keeps a failure already shown as the job's outcome, unless one came first.
    void Record(std::string_view key, int errorCode, ExitCode exitCode);

    std::wstring GetLangText(std::string_view key) const override { return texts_.Text(key); }
    void ShowLangMessage(std::string_view key) override { ReportDeviceFailure(key, -1); }
    void ShowLangMessage(std::string_view key, const std::vector<std::wstring>& values) override;
    void ShowLangNotice(std::string_view key, const std::vector<std::wstring>& values) override;
    void ShowStatus(std::string_view key) override { SetStatusKey(key); }
    void SetStatusKey(std::string_view key) override;
    void ReportFailure(std::string_view key) override { ReportDeviceFailure(key, -1); }
    void ReportDeviceFailure(std::string_view key, int errorCode) override;
    void ReportFailure(std::string_view key, const std::vector<std::wstring>& values) override;
    void ResetProgress() override {}
    void StartProgress(int total) override;
    void SetProgress(int done) override { report_.Progress(done); }

private:
    void ReportFailureWith(std::string_view key, int errorCode, const std::wstring& text);

    ConsoleReport& report_;
    const ConsoleTexts& texts_;
    const StopRequests& stops_;
    JobOutcome outcome_;
    const DeviceLink* link_ = nullptr;
    const char* part_ = "internal";
    int blockSize_ = 0;
};

}  // namespace orvo::console
