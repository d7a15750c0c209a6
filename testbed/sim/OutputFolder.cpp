#include "OutputFolder.h"

#include <filesystem>

namespace orvo::sim {

OutputFolder::OutputFolder(std::string folder, const std::vector<std::string>& notes)
    : folder_(std::move(folder)) {
    std::error_code ignored;
    std::filesystem::create_directories(folder_, ignored);
    // LF line ends on every platform, so watchers read one format.
    log_.open(std::filesystem::path(folder_) / "traffic.log", std::ios::binary | std::ios::trunc);
    for (const std::string& note : notes) {
        Note(note);
    }
}

void OutputFolder::Note(const std::string& note) {
    log_ << "note: " << note << std::endl;
}

void OutputFolder::OnTransfer(const Transfer& transfer) {
    // Flushed line by line: a watcher may read the log while the run goes on.
    log_ << FormatTransfer(transfer) << std::endl;
}

void OutputFolder::OnUpgradeEnded(const std::vector<std::uint8_t>& internal,
                                  const std::vector<std::uint8_t>& external) {
    WriteFile("internal.bin", reinterpret_cast<const char*>(internal.data()), internal.size());
    WriteFile("external.bin", reinterpret_cast<const char*>(external.data()), external.size());
}

void OutputFolder::OnSerialWritten(const std::string& serial) {
    WriteFile("serial.txt", serial.data(), serial.size());
}

void OutputFolder::WriteFile(const char* name, const char* bytes, std::size_t count) const {
    // Written beside and renamed, so a watcher never reads half a file.
    const auto target = std::filesystem::path(folder_) / name;
    auto partial = target;
    partial += ".partial";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out.write(bytes, static_cast<std::streamsize>(count));
    }
    std::error_code ignored;
    std::filesystem::rename(partial, target, ignored);
}

}  // namespace orvo::sim
