#include "HistoryFile.h"

#include "TempFolder.h"
#include "TextLines.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>
#endif

namespace orvo {
namespace {

using orvo::testing::ScopedCurrentDir;
using orvo::testing::TempFolder;

TEST(HistoryFile, CreatedWhenMissingAndAppendedTo) {
    TempFolder folder;
    const std::string path = folder.File("history.txt");
    EXPECT_EQ(RecordSerialNumber(path, "961990000100"), HistoryResult::kRecorded);
    EXPECT_EQ(RecordSerialNumber(path, "961990000101"), HistoryResult::kRecorded);
    EXPECT_EQ(folder.Read("history.txt"), "961990000100\r\n961990000101\r\n");
}

TEST(HistoryFile, NumberAlreadyOnALineIsNotRecordedAgain) {
    TempFolder folder;
    folder.Write("h.txt", "961990000100\r\n9619900001011\r\n");
    const std::string path = folder.File("h.txt");
    EXPECT_EQ(RecordSerialNumber(path, "961990000100"), HistoryResult::kAlreadyPresent);
    // Part of a longer line is not the number standing on a line of its own.
    EXPECT_EQ(RecordSerialNumber(path, "961990000101"), HistoryResult::kRecorded);
    EXPECT_EQ(folder.Read("h.txt"), "961990000100\r\n9619900001011\r\n961990000101\r\n");
}

TEST(HistoryFile, LastLineWithoutLineEndKeepsItsRecord) {
    TempFolder folder;
    folder.Write("h.txt", "961990000100");
    EXPECT_EQ(RecordSerialNumber(folder.File("h.txt"), "961990000101"), HistoryResult::kRecorded);
    EXPECT_EQ(SplitTextLines(folder.Read("h.txt")),
              (std::vector<std::string>{"961990000100", "961990000101"}));
}

TEST(HistoryFile, CutWriteLeavesTheFileAsItWas) {
    TempFolder folder;
    const std::string before = "961990000100\r\n";
    folder.Write("h.txt", before);
    for (std::size_t cut = 0; cut < 14; ++cut) {
        auto cutShort = [cut](std::FILE* f, const char* data, std::size_t) {
            return std::fwrite(data, 1, cut, f);
        };
        EXPECT_EQ(RecordSerialNumber(folder.File("h.txt"), "961990000101", cutShort),
                  HistoryResult::kFailed);
        EXPECT_EQ(folder.Read("h.txt"), before) << "cut after " << cut << " bytes";
    }
}

TEST(HistoryFile, UnopenableFileFails) {
    TempFolder folder;
    EXPECT_EQ(RecordSerialNumber(folder.File("no/such/folder/h.txt"), "961990000100"),
              HistoryResult::kFailed);
}

TEST(HistoryFile, PathComesFromConfigElseTheNumberFile) {
    TempFolder folder;
    ScopedCurrentDir inFolder(folder.Path());
    EXPECT_EQ(HistoryFilePath(), "burn_sn.txt");
    folder.Write("CONFIG.INI", "[FILE_PATH]\r\nHISTORY_SN=\r\n");
    EXPECT_EQ(HistoryFilePath(), "burn_sn.txt");
    folder.Write("CONFIG.INI", "[FILE_PATH]\r\nHISTORY_SN=C:\\sn\\history.txt\r\n");
    EXPECT_EQ(HistoryFilePath(), "C:\\sn\\history.txt");
}

#ifndef _WIN32
// A writer killed at any moment: every record it reported as written is in the file, and every
// line of the file is a whole record.
TEST(HistoryFile, KilledWriterLosesNoReportedRecordAndLeavesNoBrokenLine) {
    TempFolder folder;
    const std::string path = folder.File("h.txt");
    for (int round = 0; round < 40; ++round) {
        int report[2];
        ASSERT_EQ(pipe(report), 0);
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(report[0]);
            for (int n = 0;; ++n) {
                char number[32];
                std::snprintf(number, sizeof number, "96199%02d%05d", round, n);
                if (RecordSerialNumber(path, number) == HistoryResult::kRecorded) {
                    (void)!write(report[1], number, 12);
                }
            }
        }
        close(report[1]);
        usleep(1000 + 731 * round);
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        std::string reported;
        char buffer[4096];
        for (ssize_t n; (n = read(report[0], buffer, sizeof buffer)) > 0;) {
            reported.append(buffer, static_cast<std::size_t>(n));
        }
        close(report[0]);

        std::string bytes = folder.Read("h.txt");
        auto lines = SplitTextLines(bytes);
        ASSERT_TRUE(bytes.empty() || bytes.back() == '\n');
        for (const auto& line : lines) {
            ASSERT_EQ(line.size(), 12u) << "broken line '" << line << "' in round " << round;
        }
        for (std::size_t i = 0; i + 12 <= reported.size(); i += 12) {
            ASSERT_NE(std::find(lines.begin(), lines.end(), reported.substr(i, 12)), lines.end());
        }
    }
}
#endif

}  // namespace
}  // namespace orvo
