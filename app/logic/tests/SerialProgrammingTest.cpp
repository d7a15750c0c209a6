#include "DeviceProtocol.h"
#include "ToolFixture.h"

#include <algorithm>
#include <functional>

namespace orvo::testing {
namespace {

class SerialProgramming : public ToolFixture {
protected:
    // Puts `number` into the read-only field, as the tool itself does.
    void Burn(const std::wstring& number) {
        controls.SetText(control::kSnField, number);
        logic->OnWriteSerialNumber();
    }
    std::string History() const { return folder.Read("burn_sn.txt"); }
};

struct ProposalCase {
    const char* name;
    const char* numberFile;  // nullptr: no file
    const wchar_t* proposed;
};

class Proposal : public SerialProgramming, public ::testing::WithParamInterface<ProposalCase> {};

TEST_P(Proposal, FollowsTheNumberFile) {
    if (GetParam().numberFile) {
        folder.Write("burn_sn.txt", GetParam().numberFile);
    }
    Start();
    // Start-up empties the field after proposing; the proposal shows again after a refusal.
    EXPECT_EQ(Field(), L"");
    logic->OnWriteSerialNumber();
    EXPECT_EQ(Field(), GetParam().proposed);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Proposal,
    ::testing::Values(ProposalCase{"lastTwelveCharacterLine",
                                   "961990000100\r\n961990000105\r\nabc\r\n", L"961990000106"},
                      ProposalCase{"emptyFile", "", L"961990000100"},
                      ProposalCase{"noFile", nullptr, L"961990000100"},
                      ProposalCase{"counterOverflows", "961999999999\r\n", L"9619910000000"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SerialProgramming, AcceptedNumberIsRecordedAndTheFieldAdvances) {
    Start();
    Burn(L"961990000100");
    EXPECT_EQ(CommandsSent(), (std::vector<int>{10, 11, 9}));
    EXPECT_EQ(device.SerialNumber(), "961990000100");
    EXPECT_EQ(History(), "961990000100\r\n");
    EXPECT_EQ(Field(), L"961990000101");
    logic->OnWriteSerialNumber();
    EXPECT_EQ(History(), "961990000100\r\n961990000101\r\n");
    EXPECT_EQ(Field(), L"961990000102");
    EXPECT_TRUE(controls.Messages().empty());
}

TEST_F(SerialProgramming, DuplicateIsSentButNotRecordedTwice) {
    folder.Write("burn_sn.txt", "961990000100\r\n");
    Start();
    Burn(L"961990000100");
    EXPECT_EQ(device.SerialNumber(), "961990000100");
    EXPECT_EQ(History(), "961990000100\r\n");
    EXPECT_EQ(Field(), L"961990000101");
}

TEST_F(SerialProgramming, UntickedIncreaseKeepsTheWrittenNumber) {
    Start();
    controls.SetChecked(control::kIncrease, false);
    Burn(L"961990000100");
    EXPECT_EQ(Field(), L"961990000100");
    EXPECT_EQ(History(), "961990000100\r\n");
}

TEST_F(SerialProgramming, RefusedWriteShowsT7AndChangesNothing) {
    Start();
    // Frames 0 and 1 are commands 10 and 11; frame 2 is the write.
    device.AddFault({sim::FaultKind::kWrongReplyCode, 2, 0x88});
    Burn(L"961990000100");
    EXPECT_EQ(controls.Messages(), std::vector<std::wstring>{Text("T7")});
    EXPECT_FALSE(folder.Exists("burn_sn.txt"));
    EXPECT_EQ(Field(), L"961990000100");
}

TEST_F(SerialProgramming, FailedExchangeIsReportedWithTheDeviceError) {
    Start();
    device.AddFault({sim::FaultKind::kFailureReply, 2, 4});
    Burn(L"961990000100");
    EXPECT_EQ(controls.Messages(), std::vector<std::wstring>{Text("E3")});
    EXPECT_EQ(BarText(), Text("T3"));
    EXPECT_FALSE(folder.Exists("burn_sn.txt"));
}

class BadField : public SerialProgramming, public ::testing::WithParamInterface<const wchar_t*> {};

TEST_P(BadField, IsRefusedWithT8BeforeAnyFrame) {
    folder.Write("burn_sn.txt", "961990000200\r\n");
    Start();
    Burn(GetParam());
    EXPECT_EQ(controls.Messages(), std::vector<std::wstring>{Text("T8")});
    EXPECT_TRUE(device.FramesWritten().empty());
    EXPECT_EQ(Field(), L"961990000201");
    EXPECT_EQ(History(), "961990000200\r\n");
}

INSTANTIATE_TEST_SUITE_P(Cases, BadField,
                         ::testing::Values(L"96199000010A", L"9619900001", L"", L"9619910000000",
                                           L"96199000010\x0661",
                                           L"\xFF19\x36\x31\x39\x39\x30\x30\x30\x30\x31\x30\x30"));

// A number is on the disk as taken before the device hears it: where it cannot be, no number
// is burned, and the message names the file.
TEST_F(SerialProgramming, UnusableHistoryIsNamedAndNothingIsSent) {
    std::string config = folder.Read("CONFIG.INI");
    config.replace(config.find("HISTORY_SN=burn_sn.txt"), 22,
                   "HISTORY_SN=no-such-folder/history.txt");
    folder.Write("CONFIG.INI", config);
    Start();
    Burn(L"961990000100");
    EXPECT_TRUE(device.FramesWritten().empty());
    auto messages = controls.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(
        messages[0].rfind(L"The history file no-such-folder/history.txt cannot be written", 0), 0u);
    EXPECT_EQ(Field(), L"961990000100");
}

TEST_F(SerialProgramming, ReadShowsTheNumberAndAFailedReadLeavesNothing) {
    device.SetSerialNumber("961990004242");
    Start();
    logic->OnReadSerialNumber();
    EXPECT_EQ(CommandsSent(), (std::vector<int>{10, 11, 6}));
    EXPECT_EQ(controls.State(control::kSnReadout).text, L"961990004242");
    device.AddFault({sim::FaultKind::kFailureReply, 5, 1});
    logic->OnReadSerialNumber();
    EXPECT_EQ(controls.State(control::kSnReadout).text, L"");
    EXPECT_EQ(controls.Messages(), std::vector<std::wstring>{Text("E0")});
}

TEST_F(SerialProgramming, ReadAndWriteDuringAnUpgradeAreRefusedWithT10) {
    WriteImage("orvo_upgrade.bin", image::MakeRandomImage({300, 200000}, 1));
    device.SetLatency(std::chrono::milliseconds(10));
    Start();
    logic->OnStartUpgrade();
    ASSERT_TRUE(logic->UpgradeRunning());
    // Each waits for the upgrade about half a second before it refuses.
    for (const auto& operation : std::vector<std::function<void()>>{
             [&] { logic->OnReadSerialNumber(); }, [&] { Burn(L"961990000100"); }}) {
        const auto begun = std::chrono::steady_clock::now();
        operation();
        EXPECT_GE(std::chrono::steady_clock::now() - begun, std::chrono::milliseconds(450));
    }
    EXPECT_EQ(controls.Messages(), (std::vector<std::wstring>{Text("T10"), Text("T10")}));
    ASSERT_TRUE(WaitForUpgradeEnd());
    auto codes = CommandsSent();
    EXPECT_EQ(std::count(codes.begin(), codes.end(), command::kWriteSerial), 0);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), command::kHandshake), 1);
    EXPECT_FALSE(folder.Exists("burn_sn.txt"));
}

}  // namespace
}  // namespace orvo::testing
