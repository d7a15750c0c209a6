#include "ApprovedList.h"
#include "DeviceProtocol.h"
#include "ProfileReader.h"
#include "ToolFixture.h"

#include <algorithm>
#include <cstdio>

namespace orvo::testing {
namespace {

using namespace std::chrono_literals;

class UpgradeRoad : public ToolFixture {
protected:
    UpgradeRoad() {
        WriteImage("orvo_upgrade.bin", image::MakeRandomImage({300, 5000}, 1));
        WriteImage("orvo_upgrade_obdii.bin", image::MakeRandomImage({200, 100}, 2));
    }
    bool SentAlternativeFile() const { return device.InternalPart().size() == 200; }
};

TEST_F(UpgradeRoad, ClickReadsTheNumberAndUpgradesOnTheWorker) {
    device.SetSerialNumber("961990000777");
    Start().OnStartUpgrade();
    ASSERT_TRUE(WaitForUpgradeEnd());
    auto codes = CommandsSent();
    ASSERT_GE(codes.size(), 4u);
    EXPECT_EQ(std::vector<int>(codes.begin(), codes.begin() + 4), (std::vector<int>{10, 11, 6, 3}));
    EXPECT_EQ(codes.back(), command::kEndUpgrade);
    EXPECT_EQ(Field(), L"961990000777");
    EXPECT_TRUE(controls.State(control::kSnField).visible);
    EXPECT_TRUE(controls.State(control::kSnLabel).visible);
    EXPECT_EQ(BarText(), Text("T2"));
    EXPECT_TRUE(controls.Messages().empty());
    EXPECT_FALSE(SentAlternativeFile());
}

TEST_F(UpgradeRoad, SecondClickDuringARunIsRefusedAndSendsNothing) {
    WriteImage("orvo_upgrade.bin", image::MakeRandomImage({300, 200000}, 1));
    device.SetLatency(15ms);
    MainDialogLogic& tool = Start();
    tool.OnStartUpgrade();
    ASSERT_TRUE(tool.UpgradeRunning());
    auto begun = std::chrono::steady_clock::now();
    tool.OnStartUpgrade();
    auto waited = std::chrono::steady_clock::now() - begun;
    EXPECT_GE(waited, 450ms);
    EXPECT_EQ(controls.Messages(), std::vector<std::wstring>{Text("T10")});
    ASSERT_TRUE(WaitForUpgradeEnd());
    auto codes = CommandsSent();
    EXPECT_EQ(std::count(codes.begin(), codes.end(), command::kHandshake), 1);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), command::kReadSerial), 1);
    EXPECT_EQ(BarText(), Text("T2"));
    EXPECT_TRUE(device.ProtocolErrors().empty());
}

// What the window gives Windows as its reason to refuse the end of the session: T10, in the
// language of the moment.
TEST_F(UpgradeRoad, TheReasonToRefuseAnEndIsT10InTheCurrentLanguage) {
    MainDialogLogic& tool = Start();
    EXPECT_EQ(tool.UpgradeRunningText(), Text("T10"));
    controls.SetListSelection(control::kLanguageList, 1);
    tool.OnSelChangeLanguage();
    const std::wstring french =
        ProfileReader().ReadProfileText(L"LANGUAGE_FR", L"T10", L"language.ini");
    EXPECT_FALSE(french.empty());
    EXPECT_EQ(tool.UpgradeRunningText(), french);
}

TEST_F(UpgradeRoad, ClickAfterAFinishedRunStartsAgainFromZero) {
    MainDialogLogic& tool = Start();
    tool.OnStartUpgrade();
    ASSERT_TRUE(WaitForUpgradeEnd());
    ASSERT_EQ(BarText(), Text("T2"));
    controls.ClearRecords();
    std::size_t before = controls.BarState().positions.size();
    tool.OnStartUpgrade();
    // The percentage is back before the new run counts.
    EXPECT_EQ(controls.BarState().positions.at(before), 0);
    ASSERT_TRUE(WaitForUpgradeEnd());
    EXPECT_EQ(BarText(), Text("T2"));
    auto codes = CommandsSent();
    EXPECT_EQ(std::count(codes.begin(), codes.end(), command::kEndUpgrade), 2);
}

struct PrefixCase {
    const char* name;
    std::string serial;
    bool alternative;
    const wchar_t* field;  // the SN field afterwards; it held "keep" before
};

class SerialPrefix : public UpgradeRoad, public ::testing::WithParamInterface<PrefixCase> {};

TEST_P(SerialPrefix, ChoosesTheUpgradeFile) {
    const PrefixCase& c = GetParam();
    device.SetSerialNumber(c.serial);
    MainDialogLogic& tool = Start();
    controls.SetText(control::kSnField, L"keep");
    tool.OnStartUpgrade();
    ASSERT_TRUE(WaitForUpgradeEnd());
    EXPECT_EQ(SentAlternativeFile(), c.alternative);
    EXPECT_EQ(Field(), c.field);
    EXPECT_EQ(BarText(), Text("T2"));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SerialPrefix,
    ::testing::Values(PrefixCase{"obdii95", "963695000001", true, L"963695000001"},
                      PrefixCase{"obdii97", "963697123456", true, L"963697123456"},
                      PrefixCase{"sixthDiffers", "963696000001", false, L"963696000001"},
                      PrefixCase{"fiveCharacters", "96369", false, L"keep"},
                      PrefixCase{"firstByteZero", std::string(), false, L"keep"}),
    [](const auto& info) { return std::string(info.param.name); });

// Takes the upgrade file away as the device answers the serial-number read, as a colleague
// tidying the folder at the wrong moment would.
class RemoveOnSerialRead : public sim::DeviceEvents {
public:
    explicit RemoveOnSerialRead(std::string path) : path_(std::move(path)) {}
    void OnTransfer(const sim::Transfer& transfer) override {
        if (transfer.direction == sim::Transfer::Direction::kWrite &&
            transfer.bytes.size() == kCommandFrameLength &&
            transfer.bytes[kReplyCodeOffset] == command::kReadSerial) {
            std::remove(path_.c_str());
        }
    }
    void OnUpgradeEnded(const std::vector<std::uint8_t>&,
                        const std::vector<std::uint8_t>&) override {}
    void OnSerialWritten(const std::string&) override {}

private:
    std::string path_;
};

TEST_F(UpgradeRoad, FileRemovedAfterTheNumberWasReadShowsT9AndSendsNoPart) {
    RemoveOnSerialRead remove(folder.File("orvo_upgrade.bin"));
    device.SetEvents(&remove);
    const std::string config = folder.Read("CONFIG.INI");
    Start().OnStartUpgrade();
    ASSERT_TRUE(WaitForUpgradeEnd());
    device.SetEvents(nullptr);
    EXPECT_EQ(controls.Messages(), std::vector<std::wstring>{Text("T9")});
    EXPECT_EQ(CommandsSent(), (std::vector<int>{10, 11, 6}));
    EXPECT_EQ(Field(), L"961990000100");
    EXPECT_EQ(folder.Read("CONFIG.INI"), config);
}

// With an approved-images list beside the program, a changed byte of the upgrade file stops
// the run with T20 naming the file, after the serial number and before the upgrade's first frame.
TEST_F(UpgradeRoad, WithAnApprovedListOnlyTheListedImageGoesToTheDevice) {
    const image::Bytes approved = image::MakeRandomImage({300, 5000}, 1);
    folder.Write("approved-images.sha256", ListLine(approved, "orvo_upgrade.bin"));
    ScopedApprovedList list(folder.Path() / "approved-images.sha256");
    MainDialogLogic& tool = Start();
    tool.OnStartUpgrade();
    ASSERT_TRUE(WaitForUpgradeEnd());
    EXPECT_EQ(BarText(), Text("T2"));
    EXPECT_TRUE(device.UpgradeEnded());

    image::Bytes changed = approved;
    changed[1000] ^= 0x10;
    WriteImage("orvo_upgrade.bin", changed);
    const std::size_t before = CommandsSent().size();
    controls.ClearRecords();
    tool.OnStartUpgrade();
    ASSERT_TRUE(WaitForUpgradeEnd());
    std::wstring refusal = Text("T20");
    refusal.replace(refusal.find(L"%1"), 2, L"orvo_upgrade.bin");
    EXPECT_EQ(controls.Messages(), std::vector<std::wstring>{refusal});
    EXPECT_EQ(BarText(), Text("T3"));
    const std::vector<int> codes = CommandsSent();
    EXPECT_EQ(std::vector<int>(codes.begin() + before, codes.end()), (std::vector<int>{10, 11, 6}));
}

TEST_F(UpgradeRoad, NoDeviceShowsT5EmptiesTheFieldAndStartsNoWorker) {
    device.AddFault({sim::FaultKind::kUnplugged, 0, -1});
    MainDialogLogic& tool = Start();
    controls.SetText(control::kSnField, L"961990000100");
    tool.OnStartUpgrade();
    EXPECT_FALSE(tool.UpgradeRunning());
    EXPECT_EQ(controls.Messages(), std::vector<std::wstring>{Text("T5")});
    EXPECT_EQ(Field(), L"");
    EXPECT_EQ(BarText(), Text("T3"));
    tool.OnDestroy();  // with no worker ever started
}

TEST_F(UpgradeRoad, ClosingDuringARunIsRefusedAndAllowedOnceItEnded) {
    WriteImage("orvo_upgrade.bin", image::MakeRandomImage({300, 200000}, 1));
    device.SetLatency(10ms);
    MainDialogLogic& tool = Start();
    tool.OnStartUpgrade();
    EXPECT_FALSE(tool.MayClose());
    EXPECT_EQ(controls.Messages(), std::vector<std::wstring>{Text("T10")});
    ASSERT_TRUE(WaitForUpgradeEnd());
    EXPECT_TRUE(tool.MayClose());
    tool.OnDestroy();
    tool.OnDestroy();  // a second destroy finds no worker handle
    EXPECT_EQ(BarText(), Text("T2"));
    EXPECT_TRUE(device.UpgradeEnded());
    EXPECT_EQ(device.InternalPart().size(), 300u);
    EXPECT_EQ(device.ExternalPart().size(), 200000u);
}

TEST_F(UpgradeRoad, LogicDestroyedDuringARunWaitsForItsWorker) {
    WriteImage("orvo_upgrade.bin", image::MakeRandomImage({300, 9000}, 1));
    device.SetLatency(5ms);
    Start().OnStartUpgrade();
    logic.reset();  // must neither crash nor leave a worker behind
    EXPECT_TRUE(device.UpgradeEnded());
}

// The window's thread changes the language again and again while the worker runs upgrades,
// half of which the device fails part-way. The status line must end on the outcome's text in
// the language chosen last, and each failure shows its message once.
TEST_F(UpgradeRoad, LanguageChangesWhileUpgradesRunAndFail) {
    const wchar_t* kSections[] = {L"LANGUAGE_EN", L"LANGUAGE_FR", L"LANGUAGE_SP"};
    auto textIn = [](const wchar_t* section, const wchar_t* key) {
        return ProfileReader().ReadProfileText(section, key, L"language.ini");
    };
    device.SetLatency(1ms);
    MainDialogLogic& tool = Start();
    int choice = 0;
    auto choose = [&](int index) {
        controls.SetListSelection(control::kLanguageList, index);
        tool.OnSelChangeLanguage();
    };
    int failures = 0;
    int changesDuringRuns = 0;
    for (int round = 0; round < 6; ++round) {
        const bool fails = round % 2 == 0;
        device.ClearFaults();
        if (fails) {
            // A frame of the worker's: the three before it are the click's own.
            const int frame = static_cast<int>(device.FramesWritten().size()) + 3 + 2 * round;
            device.AddFault({sim::FaultKind::kFailureReply, frame, 3});
            ++failures;
        }
        tool.OnStartUpgrade();
        while (tool.UpgradeRunning()) {
            choose(++choice % 3);
            ++changesDuringRuns;
        }
        ASSERT_TRUE(WaitForUpgradeEnd());
        // The run's outcome stays the status key whatever the language was when it ended.
        choose(++choice % 3);
        EXPECT_EQ(BarText(), textIn(kSections[choice % 3], fails ? L"T3" : L"T2")) << round;
        EXPECT_EQ(device.UpgradeEnded(), !fails) << round;
    }
    EXPECT_GT(changesDuringRuns, 0);
    const auto messages = controls.Messages();
    ASSERT_EQ(messages.size(), static_cast<std::size_t>(failures));
    for (const auto& message : messages) {
        EXPECT_TRUE(message == textIn(L"LANGUAGE_EN", L"E2") ||
                    message == textIn(L"LANGUAGE_FR", L"E2") ||
                    message == textIn(L"LANGUAGE_SP", L"E2"))
            << "unexpected message";
    }
}

}  // namespace
}  // namespace orvo::testing
