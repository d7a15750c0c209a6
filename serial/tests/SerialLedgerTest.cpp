#include "SerialLedger.h"

#include "TempFolder.h"
#include "TextLines.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace orvo {
namespace {

using orvo::testing::TempFolder;
using Lines = std::vector<std::string>;

struct ProposalCase {
    const char* name;
    Lines numberFile;
    const char* history;  // the history file of its own
    const char* journal;
    const char* proposed;
};

class LedgerProposal : public ::testing::TestWithParam<ProposalCase> {};

TEST_P(LedgerProposal, FollowsTheLaterFileAndSkipsEveryNumberGivenOut) {
    TempFolder folder;
    folder.Write("h.txt", GetParam().history);
    folder.Write("h.txt.journal", GetParam().journal);
    SerialLedger::Refusal refusal;
    auto ledger = SerialLedger::Open(folder.File("h.txt"), refusal);
    ASSERT_NE(ledger, nullptr);
    EXPECT_EQ(ledger->Records().Propose(GetParam().numberFile), GetParam().proposed);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LedgerProposal,
    ::testing::Values(
        ProposalCase{"numberFileLater", {"961990000120"}, "961990000110\r\n", "", "961990000121"},
        ProposalCase{
            "historyLater", {"961990000105"}, "961990000110\r\nabc\r\n", "", "961990000111"},
        ProposalCase{"historyHoldsTheNext",
                     {"961990000105"},
                     "961990000106\r\n961990000100\r\n",
                     "",
                     "961990000107"},
        ProposalCase{"journalGapsAreSkipped",
                     {"961990000105"},
                     "",
                     "taken 961990000106\r\nrefused 961990000106\r\ntaken 961990000107\r\n",
                     "961990000108"},
        ProposalCase{"counterAtItsEnd", {"961999999999"}, "", "", "9619910000000"},
        ProposalCase{"nothingAnywhere", {}, "", "", "961990000100"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SerialLedger, NumberLeftTakenIsReportedOnceAndNeverProposedAgain) {
    TempFolder folder;
    const std::string history = folder.File("h.txt");
    SerialLedger::Refusal refusal;
    {
        auto crashed = SerialLedger::Open(history, refusal);
        ASSERT_TRUE(crashed->Take("961990000100"));
    }  // as a program killed before the device answered
    auto next = SerialLedger::Open(history, refusal);
    EXPECT_EQ(next->Unconfirmed(), Lines{"961990000100"});
    EXPECT_EQ(next->Records().Propose(std::nullopt), "961990000101");
    next.reset();
    EXPECT_TRUE(SerialLedger::Open(history, refusal)->Unconfirmed().empty());
    EXPECT_FALSE(folder.Exists("h.txt")) << "the history holds only numbers devices accepted";
}

TEST(SerialLedger, FailedRecordKeepsTheNumberTakenAndTheHistoryWhole) {
    TempFolder folder;
    folder.Write("h.txt", "961990000100\r\n");
    SerialLedger::Refusal refusal;
    auto ledger = SerialLedger::Open(folder.File("h.txt"), refusal);
    ASSERT_TRUE(ledger->Take("961990000101"));
    auto cutShort = [](std::FILE* f, const char* data, std::size_t) {
        return std::fwrite(data, 1, 5, f);
    };
    EXPECT_EQ(ledger->Record("961990000101", cutShort), HistoryResult::kFailed);
    EXPECT_EQ(folder.Read("h.txt"), "961990000100\r\n");
    EXPECT_TRUE(ledger->Records().Given("961990000101"));
    ledger.reset();
    auto next = SerialLedger::Open(folder.File("h.txt"), refusal);
    EXPECT_TRUE(next->Unconfirmed().empty()) << "reported when it happened";
    EXPECT_EQ(next->Records().Propose(Lines{"961990000100"}), "961990000102");
}

TEST(SerialLedger, UnwritableHistoryIsRefusedBeforeAnythingIsTaken) {
    TempFolder folder;
    SerialLedger::Refusal refusal = SerialLedger::Refusal::kBusy;
    EXPECT_EQ(SerialLedger::Open(folder.File("no/such/folder/h.txt"), refusal), nullptr);
    EXPECT_EQ(refusal, SerialLedger::Refusal::kUnusable);
}

// Whoever holds the ledger, a second opener waits for it: the one step of a burn is never cut
// into by another, in this process or another.
TEST(SerialLedger, SecondOpenerWaitsForTheFirstToFinish) {
    TempFolder folder;
    const std::string history = folder.File("h.txt");
    SerialLedger::Refusal refusal;
    auto first = SerialLedger::Open(history, refusal);
    ASSERT_TRUE(first->Take("961990000100"));
    std::atomic<bool> firstDone{false};
    std::string secondSaw;
    std::thread second([&] {
        SerialLedger::Refusal secondRefusal;
        auto ledger = SerialLedger::Open(history, secondRefusal);
        secondSaw = firstDone ? ledger->Records().Propose(std::nullopt) : "opened too early";
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    first->Record("961990000100");
    firstDone = true;
    first.reset();
    second.join();
    EXPECT_EQ(secondSaw, "961990000101");
}

}  // namespace
}  // namespace orvo
