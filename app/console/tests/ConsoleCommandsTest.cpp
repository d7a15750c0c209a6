// orvo's commands end to end on the simulated device: what the device receives, what is
// printed, recorded and logged, and the exit code of every kind of outcome.
#include "ConsoleFixture.h"
#include "Sha256.h"
#include "TextLines.h"

#include <gmock/gmock.h>

#include <functional>

namespace orvo::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

std::vector<std::string> Lines(const std::string& text) {
    return SplitTextLines(text);
}

TEST_F(ConsoleFixture, UpgradeSendsBothPartsAndLogsTheRun) {
    const OrvoRun run = Orvo({"upgrade", "--log", "runs.csv"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(device.InternalPart(), ImageInternal());
    EXPECT_EQ(device.ExternalPart(), ImageExternal());
    EXPECT_TRUE(device.UpgradeEnded());

    const std::vector<std::string> log = Lines(folder.Read("runs.csv"));
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0],
              "utc_time,serial_number,image_file,image_sha256,result,device_error_code,"
              "windows_error,seconds");
    const std::string expected = ",961990000100,orvo_upgrade.bin," +
                                 console::Sha256Hex(image.data(), image.size()) + ",T2,,0,";
    EXPECT_THAT(log[1], HasSubstr(expected));
}

// The device's pipes, failing the write of frame `failing` (counted from 0) with a Windows error.
class WriteFailingWithError : public PipeLibrary {
public:
    WriteFailingWithError(PipeLibrary& pipes, int failing, unsigned long error)
        : pipes_(pipes), failing_(failing), error_(error) {}
    int WriteData(int pipe, unsigned char* data, int length, int timeoutMs) override {
        failed_ = written_++ == failing_;
        return failed_ ? -1 : pipes_.WriteData(pipe, data, length, timeoutMs);
    }
    int ReadData(int pipe, unsigned char* data, int length, int timeoutMs) override {
        failed_ = false;
        return pipes_.ReadData(pipe, data, length, timeoutMs);
    }
    unsigned long LastError() const override { return failed_ ? error_ : 0; }

private:
    PipeLibrary& pipes_;
    int written_ = 0;
    const int failing_;
    const unsigned long error_;
    bool failed_ = false;
};

// A failed exchange's Windows error goes beside the device's code; a library that leaves none
// gives 0.
TEST_F(ConsoleFixture, FailedRunKeepsThePipeLibrarysWindowsError) {
    WriteFailingWithError pipes(device, 4, 1167);  // the first block's announcement
    const OrvoRun failed = Orvo({"upgrade", "--json", "--log", "runs.csv"}, pipes);
    EXPECT_EQ(failed.exitCode, 4);
    EXPECT_THAT(failed.out, HasSubstr(R"("key":"T5","code":0,"windows_error":1167,)"));
    WriteFailingWithError silent(device, 4, 0);
    const OrvoRun unexplained = Orvo({"upgrade", "--json", "--log", "runs.csv"}, silent);
    EXPECT_THAT(unexplained.out, HasSubstr(R"("key":"T5","code":0,"windows_error":0,)"));
    const std::vector<std::string> log = Lines(folder.Read("runs.csv"));
    ASSERT_EQ(log.size(), 3u);
    EXPECT_THAT(log[1], HasSubstr(",T5,0,1167,"));
    EXPECT_THAT(log[2], HasSubstr(",T5,0,0,"));
}

TEST_F(ConsoleFixture, JsonGivesOneObjectPerLineFromStartToDone) {
    const OrvoRun run = Orvo({"upgrade", "--json"});
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, "");
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines.front(), R"({"event":"start","command":"upgrade"})");
    EXPECT_EQ(lines[1], R"({"event":"serial","serial_number":"961990000100"})");
    EXPECT_THAT(run.out,
                HasSubstr(R"({"event":"part","part":"external","blocks":3,"block_size":4096})"));
    EXPECT_THAT(run.out, HasSubstr(R"({"event":"progress","part":"external","done":3,"total":3})"));
    EXPECT_THAT(lines.back(), HasSubstr(R"({"event":"done","exit_code":0,"seconds":)"));
    for (const std::string& line : lines) {
        EXPECT_TRUE(line.front() == '{' && line.back() == '}') << line;
    }
}

struct ExitCase {
    const char* name;
    std::vector<std::string> args;
    std::function<void(TempFolder&, sim::SimulatedDevice&)> arrange;
    int exitCode;
    const char* printed;  // what stderr says of it
};

void Nothing(TempFolder&, sim::SimulatedDevice&) {}

std::function<void(TempFolder&, sim::SimulatedDevice&)> WithFault(sim::FaultKind kind, int frame,
                                                                  int value = -1) {
    return [=](TempFolder&, sim::SimulatedDevice& device) {
        device.AddFault({kind, frame, value});
    };
}

class ExitCodes : public ConsoleFixture, public ::testing::WithParamInterface<ExitCase> {};

// Frames of an upgrade: 0 and 1 the greeting, 2 the serial number, 3 the internal part's start.
const ExitCase kExitCases[] = {
    {"Done", {"upgrade"}, Nothing, 0, "done in"},
    {"UnknownCommand", {"flash"}, Nothing, 1, "unknown command \"flash\""},
    {"BadRetries", {"upgrade", "--retries", "x"}, Nothing, 1, "--retries takes a whole number"},
    {"ConfigMissing",
     {"upgrade"},
     [](TempFolder& folder, sim::SimulatedDevice&) {
         std::filesystem::remove(folder.File("CONFIG.INI"));
     },
     2,
     "[T0]"},
    {"ImageMissing", {"upgrade", "--image", "absent.bin"}, Nothing, 2, "cannot read absent.bin"},
    {"ImageAgainstTheRules",
     {"upgrade", "--image", "bad.bin"},
     [](TempFolder& folder, sim::SimulatedDevice&) { folder.Write("bad.bin", "short"); },
     3,
     "refused: the file is shorter than its 256-byte header"},
    {"SilentDevice",
     {"read-sn"},
     WithFault(sim::FaultKind::kNoReply, 2),
     4,
     "[T5, device error code 0]"},
    {"NoDevice",
     {"upgrade"},
     WithFault(sim::FaultKind::kUnplugged, 0),
     4,
     "[T5, device error code 0]"},
    {"DeviceRefused",
     {"upgrade"},
     WithFault(sim::FaultKind::kFailureReply, 6, 4),
     5,
     "[E3, device error code 4]"},
    {"RetryRecovers",
     {"upgrade", "--retries", "1"},
     WithFault(sim::FaultKind::kFailureReply, 6, 4),
     0,
     "starting the upgrade again, attempt 2 of 2"},
    {"NotTwelveDigits", {"write-sn", "12345"}, Nothing, 6, "[T8]"},
    {"SerialNotAccepted",
     {"write-sn", "961990000200"},
     WithFault(sim::FaultKind::kWrongReplyCode, 2, 0x55),
     6,
     "[T7]"},
    {"BurnedButUnrecorded",
     {"write-sn", "961990000200"},
     [](TempFolder& folder, sim::SimulatedDevice&) {
         folder.Write("CONFIG.INI", "[FILE_PATH]\r\nHISTORY_SN=no/such/folder/sn.txt\r\n");
     },
     2,
     "961990000200"},
};

TEST_P(ExitCodes, EachOutcomeHasItsCode) {
    const ExitCase& c = GetParam();
    c.arrange(folder, device);
    const OrvoRun run = Orvo(c.args);
    EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
    EXPECT_THAT(run.err, HasSubstr(c.printed));
    if (c.exitCode == 3) {
        EXPECT_TRUE(device.FramesWritten().empty()) << "a refused file named on the command line";
    }
}

INSTANTIATE_TEST_SUITE_P(Outcomes, ExitCodes, ::testing::ValuesIn(kExitCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConsoleFixture, InterruptionStopsAfterTheExchangeAndKeepsTheLogWhole) {
    StopAfterFrames interrupt(device, stops, 9);
    const OrvoRun run = Orvo({"upgrade", "--log", "runs.csv"}, interrupt);
    EXPECT_EQ(run.exitCode, 130);
    EXPECT_THAT(run.err, HasSubstr("interrupted: stopped after block 0 of 3 of the external part"));
    EXPECT_EQ(device.FramesWritten().size(), 9u);
    const std::vector<std::string> log = Lines(folder.Read("runs.csv"));
    ASSERT_EQ(log.size(), 2u);
    EXPECT_THAT(log[1], HasSubstr(",interrupted,,"));
}

TEST_F(ConsoleFixture, WriteSnRecordsANumberOnceAndProposesTheNext) {
    EXPECT_EQ(Orvo({"write-sn", "961990000555"}).out, "961990000555\n");
    EXPECT_EQ(Orvo({"write-sn", "961990000555"}).exitCode, 0);
    const std::vector<std::string> history = Lines(folder.Read("burn_sn.txt"));
    EXPECT_EQ(std::count(history.begin(), history.end(), "961990000555"), 1);
    EXPECT_EQ(Orvo({"write-sn"}).out, "961990000556\n");
    EXPECT_EQ(Orvo({"read-sn"}).out, "961990000556\n");
}

TEST_F(ConsoleFixture, MessagesComeInTheLanguageAskedForOrBuiltInEnglish) {
    device.AddFault({sim::FaultKind::kUnplugged, 0, -1});
    EXPECT_THAT(Orvo({"read-sn", "--lang", "FR"}).err, HasSubstr("L'appareil ne répond pas"));
    std::filesystem::remove(folder.File("language.ini"));
    const OrvoRun english = Orvo({"read-sn", "--lang", "FR"});
    EXPECT_THAT(english.err, HasSubstr("The device does not answer."));
    EXPECT_THAT(english.err, HasSubstr("messages in English"));
}

TEST_F(ConsoleFixture, OtherSettingsFilesCanBeNamed) {
    std::filesystem::create_directory(folder.File("line3"));
    folder.Write("line3/station.ini", "[FILE_PATH]\r\nUPGRADE_FILE=absent.bin\r\n");
    EXPECT_THAT(Orvo({"upgrade", "--config", "line3/station.ini"}).err,
                HasSubstr("cannot read absent.bin"));
    EXPECT_EQ(Orvo({"upgrade"}).exitCode, 0) << "the next run is back on CONFIG.INI";
}

}  // namespace
}  // namespace orvo::testing
