#include "ReadAheadFile.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvo {
namespace {

constexpr std::uint64_t kChunk = 64 * 1024;

// A read of `count` bytes, after a seek to `seekTo` when it is given.
struct Step {
    std::int64_t seekTo;  // -1: read on from where the last read ended
    std::size_t count;
};

struct ReadCase {
    const char* name;
    std::uint64_t fileSize;
    std::vector<Step> steps;
};

// Every read is checked against the file's bytes: it succeeds exactly when the file holds all
// of them, and then copies those. The reads cross chunks, end on their borders and leave the
// bytes the thread has read ahead for others, so a chunk taken out of turn shows.
class ReadAheadFileRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadAheadFileRead, GivesTheFileBytesOrFailsPastItsEnd) {
    const ReadCase& test = GetParam();
    testing::TempFolder folder;
    std::string bytes(test.fileSize, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    }
    folder.Write("image.bin", bytes);
    ReadAheadFile file;
    ASSERT_EQ(file.Open(folder.File("image.bin")), test.fileSize);
    std::uint64_t position = 0;
    for (const Step& step : test.steps) {
        if (step.seekTo >= 0) {
            position = static_cast<std::uint64_t>(step.seekTo);
            ASSERT_TRUE(file.Seek(position));
        }
        ASSERT_EQ(file.Position(), position);
        std::vector<std::uint8_t> into(step.count);
        const bool fits = position + step.count <= test.fileSize;
        ASSERT_EQ(file.Read(into.data(), step.count), fits) << "at " << position;
        if (!fits) {
            return;  // where a failed read leaves the file is not promised
        }
        ASSERT_EQ(std::string(into.begin(), into.end()), bytes.substr(position, step.count))
            << "at " << position;
        position += step.count;
    }
}

std::vector<Step> ReadsOf(std::size_t count, int times) {
    return std::vector<Step>(static_cast<std::size_t>(times), Step{-1, count});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadAheadFileRead,
    ::testing::Values(
        ReadCase{"BlocksAcrossChunksUpToAShortEnd", 3 * kChunk + 123, ReadsOf(4093, 50)},
        ReadCase{"FileOfWholeChunksEndsOnABorder", 2 * kChunk, ReadsOf(4096, 33)},
        ReadCase{"EmptyFile", 0, {{-1, 0}, {-1, 1}}},
        ReadCase{
            "OneReadOfSeveralChunks", 5 * kChunk + 9, {{-1, 3 * kChunk + 5}, {-1, 2 * kChunk}}},
        ReadCase{"SeekWithinTheCurrentChunkAndBack",
                 3 * kChunk,
                 {{-1, 1000}, {500, 100}, {kChunk, 10}, {kChunk - 10, 20}, {-1, kChunk}}},
        ReadCase{"SeekPastWhatWasReadAheadAndBackToTheStart",
                 6 * kChunk + 1,
                 {{-1, 100}, {4 * kChunk + 3, 2 * kChunk - 2}, {0, kChunk + 1}, {-1, 5}}},
        ReadCase{"SeekPastTheEnd", kChunk, {{-1, 10}, {2 * kChunk, 1}}}),
    [](const ::testing::TestParamInfo<ReadCase>& info) { return info.param.name; });

// Kept from run to run: a second file opened is read from its own start, not from what the
// first left in the chunks; and a closed file reads nothing.
TEST(ReadAheadFile, ASecondFileOpenedReadsFromItsOwnStartAndAClosedOneReadsNothing) {
    testing::TempFolder folder;
    folder.Write("a.bin", std::string(2 * kChunk, 'a'));
    folder.Write("b.bin", std::string(10, 'b'));
    ReadAheadFile file;
    std::uint8_t byte = 0;
    ASSERT_EQ(file.Open(folder.File("a.bin")), 2 * kChunk);
    ASSERT_TRUE(file.Read(&byte, 1));
    ASSERT_EQ(file.Open(folder.File("b.bin")), 10U);
    EXPECT_EQ(file.Position(), 0U);
    ASSERT_TRUE(file.Read(&byte, 1));
    EXPECT_EQ(byte, 'b');
    file.Close();
    EXPECT_FALSE(file.Read(&byte, 1));
    EXPECT_FALSE(file.Seek(0));
    EXPECT_FALSE(file.Open(folder.File("missing.bin")).has_value());
}

}  // namespace
}  // namespace orvo
