// The approved-images list: its lines as sha256sum writes them, and an upgrade with a list
// beside the program, where the sum of the bytes sent decides, before any frame.
#include "ApprovedImages.h"
#include "ApprovedList.h"
#include "Sha256.h"
#include "UpgradeBench.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace orvo {
namespace {

using image::Bytes;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using testing::ListLine;
using testing::ScopedApprovedList;
using testing::SumOf;
using testing::UpgradeBench;

constexpr char kSumA[] = "0f343b0931126a20f133d67c2b018a3b57b21e2e3e5d0b5b2d52ea5e3c2d0f1a";
constexpr char kSumB[] = "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855";

TEST(ApprovedImageList, ReadsTheLinesSha256sumWritesAndSkipsCommentsAndBlankLines) {
    const ApprovedImageList list =
        ParseApprovedImages(std::string("\xEF\xBB\xBF# IT, 2026-12-10\r\n") + kSumA +
                            "  orvo_upgrade.bin\r\n\r\n" + "   # indented comment\n" +
                            "E3B0C44298FC1C149AFBF4C8996FB92427AE41E4649B934CA495991B7852B855" +
                            " *line 3 image.bin\n");
    EXPECT_EQ(list.state, ApprovedImageList::State::kRead);
    ASSERT_EQ(list.images.size(), 2u);
    EXPECT_EQ(list.images[0].sha256, kSumA);
    EXPECT_EQ(list.images[0].name, "orvo_upgrade.bin");
    EXPECT_EQ(list.images[0].line, 2);
    EXPECT_EQ(list.images[1].sha256, kSumB) << "upper-case digits read as lower-case";
    EXPECT_EQ(list.images[1].name, "line 3 image.bin");
    EXPECT_EQ(list.images[1].line, 5);
    EXPECT_THAT(list.linesNotUnderstood, IsEmpty());
    EXPECT_TRUE(list.Approves(kSumA));
    EXPECT_TRUE(list.Approves(kSumB));
    EXPECT_FALSE(list.Approves(std::string(64, '0')));
}

TEST(ApprovedImageList, ALineOfAnyOtherFormApprovesNothingAndIsCounted) {
    const std::string sum = kSumA;
    const ApprovedImageList list =
        ParseApprovedImages(sum + "\n" +                         // no name
                            sum.substr(1) + "  short.bin\n" +    // 63 digits
                            sum + " one-space.bin\n" +           // one space only
                            "g" + sum.substr(1) + "  x.bin\n" +  // not a hex digit
                            "SHA256 (a.bin) = " + sum + "\n" +   // the BSD form
                            kSumB + "  fine.bin");
    ASSERT_EQ(list.images.size(), 1u);
    EXPECT_EQ(list.images[0].line, 6);
    EXPECT_THAT(list.linesNotUnderstood, ElementsAre(1, 2, 3, 4, 5));
    EXPECT_FALSE(list.Approves(kSumA));
}

TEST(ApprovedImageList, NoFileIsNoListAndApprovesEverything) {
    testing::TempFolder folder;
    const ApprovedImageList none = LoadApprovedImages(folder.Path() / "approved-images.sha256");
    EXPECT_EQ(none.state, ApprovedImageList::State::kNoList);
    EXPECT_TRUE(none.Approves(kSumA));
    EXPECT_EQ(LoadApprovedImages({}).state, ApprovedImageList::State::kNoList);
}

TEST(ApprovedImageList, AListThatIsThereButCannotBeReadApprovesNothing) {
    testing::TempFolder folder;
    std::filesystem::create_directory(folder.Path() / "approved-images.sha256");
    const ApprovedImageList list = LoadApprovedImages(folder.Path() / "approved-images.sha256");
    EXPECT_EQ(list.state, ApprovedImageList::State::kUnreadable);
    EXPECT_FALSE(list.Approves(kSumA));
}

TEST(ApprovedImageList, AnEmptyListApprovesNothing) {
    testing::TempFolder folder;
    folder.Write("approved-images.sha256", "# nothing approved yet\r\n");
    const ApprovedImageList list = LoadApprovedImages(folder.Path() / "approved-images.sha256");
    EXPECT_EQ(list.state, ApprovedImageList::State::kRead);
    EXPECT_FALSE(list.Approves(kSumA));
}

TEST(ApprovedImageList, ALineNamesTheFileWithoutItsFolder) {
    EXPECT_EQ(ApprovedImageLine(kSumA, "upgrades/orvo_upgrade.bin"),
              std::string(kSumA) + "  orvo_upgrade.bin");
}

const Bytes kImage = image::MakeRandomImage({5000, 4000, 5000}, 3);

Bytes Changed(std::size_t at) {
    Bytes changed = kImage;
    changed[at] ^= 0x01;
    return changed;
}

// An upgrade with a list of the bench's own beside it; CONFIG.INI names image.bin.
struct ListCase {
    const char* name;
    Bytes file;        // image.bin
    std::string list;  // approved-images.sha256
    bool upgrades;
    const char* message;  // the message box's key when refused
};

class ApprovedUpgrade : public ::testing::TestWithParam<ListCase> {
protected:
    UpgradeBench bench;
    ScopedApprovedList list{bench.folder.Path() / "approved-images.sha256"};
};

TEST_P(ApprovedUpgrade, SendsOnlyAnImageWhoseSumTheListHoldsAndRefusesTheRestBeforeAnyFrame) {
    const ListCase& c = GetParam();
    bench.WriteImage(c.file);
    bench.folder.Write("approved-images.sha256", c.list);
    ASSERT_EQ(bench.Run(), c.upgrades ? 1 : 0);
    if (c.upgrades) {
        EXPECT_EQ(bench.device.InternalPart(), Bytes(kImage.begin() + 256, kImage.begin() + 5256));
        EXPECT_EQ(bench.device.ExternalPart(), Bytes(kImage.begin() + 5256, kImage.end()));
        EXPECT_TRUE(bench.device.UpgradeEnded());
        EXPECT_THAT(bench.view.messages, IsEmpty());
        return;
    }
    EXPECT_THAT(bench.device.Traffic(), IsEmpty());
    EXPECT_THAT(bench.view.messages, ElementsAre(c.message));
    EXPECT_THAT(bench.view.statusKeys, ElementsAre("T3"));
    EXPECT_THAT(bench.view.bar.positions, IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Lists, ApprovedUpgrade,
    ::testing::Values(
        ListCase{"Approved", kImage, "# IT\r\n" + ListLine(kImage, "image.bin"), true, ""},
        // The sum decides, not the name.
        ListCase{"ApprovedUnderAnotherName", kImage, ListLine(kImage, "orvo_upgrade_2026.bin"),
                 true, ""},
        ListCase{"FirstByteChanged", Changed(0), ListLine(kImage, "image.bin"), false, "T20"},
        ListCase{"InternalByteChanged", Changed(300), ListLine(kImage, "image.bin"), false, "T20"},
        ListCase{"LastByteChanged", Changed(kImage.size() - 1), ListLine(kImage, "image.bin"),
                 false, "T20"},
        ListCase{"EmptyList", kImage, "", false, "T20"},
        ListCase{"OnlyComments", kImage, "# " + ListLine(kImage, "image.bin"), false, "T20"},
        // Approved, and still held to the image rules.
        ListCase{"ApprovedAgainstTheRules", Bytes(200, 7), ListLine(Bytes(200, 7), "image.bin"),
                 false, "T9"}),
    [](const auto& info) { return std::string(info.param.name); });

class ApprovedFile : public ::testing::Test {
protected:
    void WriteList(const std::string& text) const {
        bench.folder.Write("approved-images.sha256", text);
    }

    UpgradeBench bench;
    ScopedApprovedList list{bench.folder.Path() / "approved-images.sha256"};
};

TEST_F(ApprovedFile, TheRefusalNamesTheFileItRefuses) {
    const Bytes alternative = image::MakeRandomImage({300, 70}, 7);
    bench.WriteImage(kImage);
    bench.WriteImage(alternative, "alt.bin");
    WriteList(ListLine(kImage, "image.bin"));
    EXPECT_EQ(bench.Run(true), 0);
    EXPECT_THAT(bench.device.Traffic(), IsEmpty());
    EXPECT_EQ(bench.view.messages, std::vector<std::string>{"T20"});
    ASSERT_THAT(bench.view.messageValues, ::testing::SizeIs(1));
    EXPECT_THAT(bench.view.messageValues[0], ::testing::ElementsAre(HasSubstr(L"alt.bin")));
}

TEST_F(ApprovedFile, AListThatCannotBeReadRefusesEveryImage) {
    bench.WriteImage(kImage);
    std::filesystem::create_directory(bench.folder.Path() / "approved-images.sha256");
    EXPECT_EQ(bench.Run(), 0);
    EXPECT_THAT(bench.device.Traffic(), IsEmpty());
    EXPECT_THAT(bench.view.messages, ElementsAre("T20"));
}

TEST_F(ApprovedFile, TheListIsReadAtEveryRun) {
    bench.WriteImage(kImage);
    WriteList("");
    EXPECT_EQ(bench.Run(), 0);
    WriteList(ListLine(kImage, "image.bin"));
    EXPECT_EQ(bench.Run(), 1);
}

// The sum is of the bytes then sent: read once into memory, summed and sent from there, so a
// file swapped after the check, between the check and the send or between two sends, changes
// nothing of what the device gets.
TEST_F(ApprovedFile, WhatIsSentIsWhatWasSummedThoughTheFileIsSwappedAfter) {
    bench.WriteImage(kImage);
    WriteList(ListLine(kImage, "image.bin"));
    UpgradeFile file(bench.kit);
    ASSERT_EQ(ReadUpgradeFile("image.bin", file), UpgradeFileRead::kRead);
    EXPECT_EQ(UpgradeFileSha256(file), SumOf(kImage));
    bench.WriteImage(image::MakeRandomImage({5000, 4000, 5000}, 4));
    for (int send = 0; send < 2; ++send) {  // as orvo's --retries sends it again
        ASSERT_EQ(SendUpgrade(bench.link, PartChoice{true, true}, bench.view, file), 1);
        EXPECT_EQ(bench.device.InternalPart(), Bytes(kImage.begin() + 256, kImage.begin() + 5256));
        EXPECT_EQ(bench.device.ExternalPart(), Bytes(kImage.begin() + 5256, kImage.end()));
    }
}

TEST_F(ApprovedFile, WithoutAListTheFileIsStreamedAsBefore) {
    bench.WriteImage(kImage);
    UpgradeFile file(bench.kit);
    ASSERT_EQ(ReadUpgradeFile("image.bin", file), UpgradeFileRead::kRead);
    EXPECT_FALSE(file.held.Holds());
    EXPECT_EQ(UpgradeFileSha256(file), SumOf(kImage));
    EXPECT_EQ(SendUpgrade(bench.link, PartChoice{true, true}, bench.view, file), 1);
}

}  // namespace
}  // namespace orvo
