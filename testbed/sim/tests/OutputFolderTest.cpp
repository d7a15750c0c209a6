// What a simulated device writes for watchers outside its process.
#include "OutputFolder.h"
#include "UpgradeBench.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace orvo::sim {
namespace {

using image::Bytes;
using image::MakeRandomImage;

using ::testing::HasSubstr;
using ::testing::StartsWith;

int LineCount(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

TEST(OutputFolder, KeepsTheTrafficThePartsAndTheWrittenNumber) {
    testing::UpgradeBench bench;
    testing::TempFolder output;
    OutputFolder folder(output.Path().string(), {"fault not understood: x@1"});
    bench.device.SetEvents(&folder);
    const Bytes image = MakeRandomImage({5000, 300});
    bench.WriteImage(image);

    ASSERT_EQ(bench.Run(), 1);
    std::uint8_t serial[] = "961990000123";
    CommandPayload payload{};
    std::copy_n(serial, kSerialLength, payload.begin());
    ReplyFrame reply;
    ASSERT_EQ(bench.link.ExchangeCommand(command::kWriteSerial, payload, reply), 1);

    EXPECT_EQ(output.Read("internal.bin"), std::string(image.begin() + 256, image.begin() + 5256));
    EXPECT_EQ(output.Read("external.bin"), std::string(image.begin() + 5256, image.end()));
    EXPECT_EQ(output.Read("serial.txt"), "961990000123");
    const std::string log = output.Read("traffic.log");
    EXPECT_THAT(log, StartsWith("note: fault not understood: x@1\n"));
    EXPECT_EQ(LineCount(log), 1 + static_cast<int>(bench.device.Traffic().size()));
    EXPECT_FALSE(output.Exists("internal.bin.partial"));
}

TEST(TransferLine, ShowsShortFramesWholeAndLongOnesByTheirEnds) {
    Transfer command{Transfer::Direction::kWrite, 1, 16, 16, Bytes(16, 0)};
    command.bytes[0] = 0x55;
    EXPECT_EQ(FormatTransfer(command),
              "write pipe 1 16 -> 16: 55 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00");
    Transfer data{Transfer::Direction::kWrite, 3, 4104, -1, Bytes(4104, 0xAB)};
    EXPECT_THAT(FormatTransfer(data), StartsWith("write pipe 3 4104 -> -1: AB AB"));
    EXPECT_THAT(FormatTransfer(data), HasSubstr("AB ... AB AB AB AB"));
    Transfer none{Transfer::Direction::kRead, 0, 16, -1, {}};
    EXPECT_EQ(FormatTransfer(none), "read pipe 0 16 -> -1:");
}

}  // namespace
}  // namespace orvo::sim
