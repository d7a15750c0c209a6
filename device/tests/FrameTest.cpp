// The frame layouts, checked byte for byte against known frames.
#include "DeviceProtocol.h"
#include "Frames.h"
#include "UpgradeBench.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace orvo {
namespace {

using testing::UpgradeBench;
using Bytes = std::vector<std::uint8_t>;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

Bytes CommandFrame(int code) {
    Bytes frame(kCommandFrameLength, 0xEE);
    BuildFrame(frame.data(), kCommandFrameLength, frame.data(), kCommandFrame, code);
    return frame;
}

TEST(CommandFrame, EmptyPayloadsAreSummedWithSyncBytesAndCode) {
    Bytes frame(kCommandFrameLength, 0);
    BuildFrame(frame.data(), kCommandFrameLength, frame.data(), kCommandFrame, 1);
    EXPECT_THAT(frame, ElementsAre(0x55, 0xAA, 0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x00));
}

TEST(CommandFrame, PayloadIsCopiedFromTheSameBytesOfTheSource) {
    Bytes source(kCommandFrameLength, 0);
    source[0] = 0x11;  // overwritten by the sync bytes and code
    source[3] = 0x00;
    source[4] = 0x05;
    source[15] = 0x99;  // overwritten by the checksum
    Bytes frame(kCommandFrameLength, 0xEE);
    BuildFrame(source.data(), kCommandFrameLength, frame.data(), kCommandFrame, 3);
    EXPECT_THAT(frame,
                ElementsAre(0x55, 0xAA, 0x03, 0x00, 0x05, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x07));
    EXPECT_EQ(source[0], 0x11);
}

TEST(CommandFrame, OnlyTheLowByteOfTheCodeIsUsed) {
    EXPECT_EQ(CommandFrame(0x106)[2], 0x06);
}

TEST(DataFrame, AllZeroBlockOf4096BytesSumsToTheSyncBytes) {
    Bytes frame(4096 + kDataFrameOverhead, 0);
    BuildFrame(frame.data(), static_cast<int>(frame.size()), frame.data(), kDataFrame, -1);
    EXPECT_THAT(Bytes(frame.begin(), frame.begin() + 4), ElementsAre(0x55, 0xAA, 0x55, 0xAA));
    EXPECT_THAT(Bytes(frame.end() - 4, frame.end()), ElementsAre(0x00, 0x00, 0x01, 0xFE));
}

TEST(DataFrame, ChecksumIsA32BitBigEndianSumOfUnsignedBytes) {
    Bytes frame(4352 + kDataFrameOverhead, 0xFF);
    BuildFrame(frame.data(), static_cast<int>(frame.size()), frame.data(), kDataFrame, 7);
    const std::uint32_t sum = 0x55 + 0xAA + 0x55 + 0xAA + 4352 * 0xFF;  // 0x10F1FE
    EXPECT_THAT(Bytes(frame.end() - 4, frame.end()),
                ElementsAre(sum >> 24, (sum >> 16) & 0xFF, (sum >> 8) & 0xFF, sum & 0xFF));
    EXPECT_EQ(frame[4], 0xFF);
}

// The sum is taken four bytes at a time; every length around a word's end and a lane's filling
// must still give the plain sum of the bytes, all 0xFF being the fullest lanes can get.
TEST(DataFrame, ChecksumOfAnyLengthIsThePlainByteSum) {
    for (const std::uint8_t fill : {std::uint8_t{0xFF}, std::uint8_t{0}}) {
        for (const int block : {1, 2, 3, 4, 5, 507, 508, 509, 510, 511, 4093, 4352}) {
            Bytes frame(static_cast<std::size_t>(block + kDataFrameOverhead), fill);
            for (int i = 0; fill == 0 && i < block; ++i) {
                frame[kDataFrameHeaderLength + i] = static_cast<std::uint8_t>(i * 131 + 7);
            }
            BuildFrame(frame.data(), static_cast<int>(frame.size()), frame.data(), kDataFrame, -1);
            const auto summed = frame.end() - kDataFrameChecksumLength;
            const std::uint32_t expected = std::accumulate(frame.begin(), summed, std::uint32_t{0});
            EXPECT_EQ(ReadBigEndian32(&*summed), expected)
                << "block " << block << " fill " << +fill;
        }
    }
}

TEST(BuildFrame, UnknownKindOrTooShortALengthWritesNothing) {
    Bytes frame(kCommandFrameLength, 0xEE);
    BuildFrame(frame.data(), kCommandFrameLength, frame.data(), 2, 6);
    BuildFrame(frame.data(), 3, frame.data(), kCommandFrame, 6);
    BuildFrame(frame.data(), 7, frame.data(), kDataFrame, -1);
    EXPECT_THAT(frame, ElementsAreArray(Bytes(kCommandFrameLength, 0xEE)));
}

TEST(BuildReply, IsACommandFrameWithTheReplyCodeAndPayload) {
    const std::uint8_t payload[kPayloadLength] = {0x42};
    EXPECT_THAT(BuildReply(0x86, payload),
                ElementsAre(0x55, 0xAA, 0x86, 0x42, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xC7));
}

// What the receiving side accepts: built frames whole, and nothing with one byte changed,
// a byte missing or the wrong sync.
TEST(ReceivedFrame, OnlyWholeWellFormedFramesAreAccepted) {
    const ReplyFrame command = BuildReply(0x0A);
    Bytes data(4096 + kDataFrameOverhead, 0x5C);
    BuildFrame(data.data(), static_cast<int>(data.size()), data.data(), kDataFrame, -1);
    const auto commandOk = [](Bytes f) {
        return IsCommandFrame(f.data(), static_cast<int>(f.size()));
    };
    const auto dataOk = [](Bytes f) { return IsDataFrame(f.data(), static_cast<int>(f.size())); };
    const Bytes whole(command.begin(), command.end());
    EXPECT_TRUE(commandOk(whole));
    EXPECT_TRUE(dataOk(data));
    EXPECT_FALSE(dataOk(whole)) << "a command frame is no data frame";
    for (std::size_t at : {std::size_t{0}, std::size_t{2}, std::size_t{9}, std::size_t{15}}) {
        Bytes changed = whole;
        changed[at] ^= 0x01;
        EXPECT_FALSE(commandOk(changed)) << "command byte " << at;
        changed = data;
        changed[at * 200] ^= 0x01;
        EXPECT_FALSE(dataOk(changed)) << "data byte " << at * 200;
    }
    EXPECT_FALSE(commandOk(Bytes(whole.begin(), whole.end() - 1)));
    EXPECT_FALSE(dataOk(Bytes(data.begin(), data.begin() + kDataFrameOverhead)));
}

// The frames as they reach the device.
TEST(FrameOnTheWire, SerialNumberReadAndHandshake) {
    UpgradeBench bench;
    std::uint8_t serial[kSerialLength];
    ASSERT_EQ(bench.link.ReadDeviceSerial(serial), 1);
    ASSERT_TRUE(bench.link.SendShortCommand(command::kHandshake));
    const auto frames = bench.device.FramesWritten();
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].pipe, pipe::kCommand);
    EXPECT_THAT(frames[0].bytes,
                ElementsAre(0x55, 0xAA, 0x06, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x05));
    EXPECT_THAT(frames[1].bytes,
                ElementsAre(0x55, 0xAA, 0x0A, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x09));
}

TEST(FrameOnTheWire, FiveBlockInternalPartAndEmptyExternalPart) {
    UpgradeBench bench;
    bench.WriteImage(image::MakeRandomImage({4 * 4352 + 1, 0}));
    ASSERT_EQ(bench.Run(), 1);
    const auto frames = bench.device.FramesWritten();
    ASSERT_EQ(frames.size(), 1u + 5 * 2 + 1 + 2 + 1);
    EXPECT_THAT(frames[0].bytes,
                ElementsAre(0x55, 0xAA, 0x03, 0x00, 0x05, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x07));
    const auto& emptyBlock = frames[frames.size() - 2];
    EXPECT_EQ(emptyBlock.pipe, pipe::kData);
    ASSERT_EQ(emptyBlock.bytes.size(), 4104u);
    EXPECT_THAT(Bytes(emptyBlock.bytes.end() - 4, emptyBlock.bytes.end()),
                ElementsAre(0x00, 0x00, 0x01, 0xFE));
}

}  // namespace
}  // namespace orvo
