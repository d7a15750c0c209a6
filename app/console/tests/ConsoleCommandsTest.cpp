// orvo's commands end to end on the simulated device: what the device receives, what is
// printed, recorded and logged, and the exit code of every kind of outcome.
#include "ApprovedList.h"
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
              "windows_error,seconds,burned_serial_number");
    const std::string expected =
        ",961990000100,orvo_upgrade.bin," + Sha256Hex(image.data(), image.size()) + ",T2,,0,";
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
    {"HistoryUnusable",
     {"write-sn", "961990000200"},
     [](TempFolder& folder, sim::SimulatedDevice&) {
         folder.Write("CONFIG.INI", "[FILE_PATH]\r\nHISTORY_SN=no/such/folder/sn.txt\r\n");
     },
     2,
     "no/such/folder/sn.txt cannot be written: nothing was burned. Check that the file and its "
     "folder can be written, then try again. [T15]"},
    {"GivenBefore",
     {"write-sn", "961990000200"},
     [](TempFolder& folder, sim::SimulatedDevice&) {
         folder.Write("burn_sn.txt", "961990000200\r\n");
     },
     6,
     "[T16]"},
    {"ProposalPastTheCounter",
     {"write-sn"},
     [](TempFolder& folder, sim::SimulatedDevice&) {
         folder.Write("burn_sn.txt", "961999999999\r\n");
     },
     6,
     "9619910000000, is not 12 digits: nothing was burned."},
};

TEST_P(ExitCodes, EachOutcomeHasItsCode) {
    const ExitCase& c = GetParam();
    c.arrange(folder, device);
    const OrvoRun run = Orvo(c.args);
    EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
    EXPECT_THAT(run.err, HasSubstr(c.printed));
    // A file named on the command line, and a number, are refused before the device hears
    // anything; T7 and T8 are the device's and the field's.
    const bool refusedBeforeAnyFrame =
        c.exitCode == 3 || (c.args[0] == "write-sn" && c.exitCode != 0 &&
                            std::string(c.printed).find("[T7]") == std::string::npos);
    if (refusedBeforeAnyFrame) {
        EXPECT_TRUE(device.FramesWritten().empty()) << "nothing may be sent";
    }
}

INSTANTIATE_TEST_SUITE_P(Outcomes, ExitCodes, ::testing::ValuesIn(kExitCases),
                         [](const auto& info) { return std::string(info.param.name); });

// With an approved-images list beside the program the sum of the file decides, before any frame
// of the upgrade: after the greeting and the serial number (3 frames) for the file CONFIG.INI
// names, before any at all for one named on the command line.
struct ListCase {
    const char* name;
    std::vector<std::string> args;
    std::size_t changedByte;  // of orvo_upgrade.bin; past its end for none
    const char* listedAs;
    int exitCode;
    std::size_t framesWhenRefused;
};

class ApprovedImages : public ConsoleFixture, public ::testing::WithParamInterface<ListCase> {
protected:
    ScopedApprovedList list{folder.Path() / "approved-images.sha256"};
};

TEST_P(ApprovedImages, OnlyAListedSumIsSent) {
    const ListCase& c = GetParam();
    folder.Write("approved-images.sha256", "# IT\r\n" + ListLine(image, c.listedAs));
    if (c.changedByte < image.size()) {
        image::Bytes changed = image;
        changed[c.changedByte] ^= 0x01;
        folder.Write("orvo_upgrade.bin", std::string(changed.begin(), changed.end()));
    }
    const OrvoRun run = Orvo(c.args);
    EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
    if (c.exitCode == 0) {
        EXPECT_EQ(device.ExternalPart(), ImageExternal());
        EXPECT_TRUE(device.UpgradeEnded());
        return;
    }
    EXPECT_THAT(run.err, HasSubstr("The upgrade file orvo_upgrade.bin is not one of the approved "
                                   "images (approved-images.sha256), so nothing was sent."));
    EXPECT_THAT(run.err, HasSubstr("[T20]"));
    EXPECT_THAT(run.err, HasSubstr("failed (T20)"));
    EXPECT_EQ(device.FramesWritten().size(), c.framesWhenRefused);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, ApprovedImages,
    ::testing::Values(ListCase{"Approved", {"upgrade"}, SIZE_MAX, "orvo_upgrade.bin", 0, 0},
                      ListCase{
                          "ApprovedUnderAnotherName", {"upgrade"}, SIZE_MAX, "line3.bin", 0, 0},
                      ListCase{"ChangedByte", {"upgrade"}, 4000, "orvo_upgrade.bin", 3, 3},
                      ListCase{"ChangedByteNamed",
                               {"upgrade", "--image", "orvo_upgrade.bin"},
                               0,
                               "orvo_upgrade.bin",
                               3,
                               0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConsoleFixture, InspectSaysTheSumAndWhetherTheListApprovesItAndApprovePrintsItsLine) {
    const std::string sum = Sha256Hex(image.data(), image.size());
    const OrvoRun unlisted = Orvo({"inspect", "orvo_upgrade.bin"});
    EXPECT_EQ(unlisted.exitCode, 0);
    EXPECT_THAT(unlisted.out, HasSubstr("sha256: " + sum + "\n"));
    EXPECT_THAT(unlisted.out, HasSubstr("approved images: no list ("));

    folder.Write("bad.bin", "short");
    const OrvoRun approve = Orvo({"approve", "orvo_upgrade.bin", "bad.bin", "absent.bin"});
    EXPECT_EQ(approve.out, sum + "  orvo_upgrade.bin\n");
    EXPECT_THAT(approve.err, HasSubstr("bad.bin breaks the image rules"));
    EXPECT_THAT(approve.err, HasSubstr("cannot read absent.bin"));
    EXPECT_EQ(approve.exitCode, 3);
    EXPECT_FALSE(folder.Exists("approved-images.sha256")) << "approve writes nothing";

    ScopedApprovedList list(folder.Path() / "approved-images.sha256");
    folder.Write("approved-images.sha256", "junk\n" + approve.out);
    const OrvoRun approved = Orvo({"inspect", "orvo_upgrade.bin"});
    EXPECT_EQ(approved.exitCode, 0);
    EXPECT_THAT(approved.out, HasSubstr("approved images: approved by line 2 of "));
    EXPECT_THAT(approved.out, HasSubstr("line 1 of "));
    folder.Write("approved-images.sha256", "");
    const OrvoRun refused = Orvo({"inspect", "orvo_upgrade.bin"});
    EXPECT_EQ(refused.exitCode, 3);
    EXPECT_THAT(refused.out, HasSubstr("not approved: "));
}

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
    EXPECT_EQ(Orvo({"write-sn", "961990000555"}).exitCode, 6) << "given out before";
    EXPECT_EQ(Orvo({"write-sn", "961990000555", "--again"}).exitCode, 0);
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
