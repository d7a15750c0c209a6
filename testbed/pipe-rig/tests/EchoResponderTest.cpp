// The rig's built-in device answers.
#include "EchoResponder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace orvo::piperig {
namespace {

using ::testing::ElementsAre;

Bytes Command(unsigned char code, unsigned char firstPayloadByte) {
    Bytes frame(16, 0);
    frame[0] = 0x55;
    frame[1] = 0xAA;
    frame[2] = code;
    frame[3] = firstPayloadByte;
    return frame;
}

TEST(EchoResponder, CommandGetsItsCodePlus0x80AndItsPayloadBackOnPipeZero) {
    EchoResponder responder;
    const auto reply = responder.OnFrame(1, Command(0x0A, 0x42));
    ASSERT_TRUE(reply.has_value());
    EXPECT_EQ(reply->pipe, 0);
    EXPECT_THAT(reply->bytes,
                ElementsAre(0x55, 0xAA, 0x8A, 0x42, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xCB));
}

TEST(EchoResponder, DataFrameGetsTheAnnouncingCodeWithItsLengthAndChecksum) {
    EchoResponder responder;
    responder.OnFrame(1, Command(0x01, 0));
    Bytes frame(4104, 0);
    frame[0] = frame[2] = 0x55;
    frame[1] = frame[3] = 0xAA;
    frame[4103] = 0xFE;
    frame[4102] = 0x01;
    const auto reply = responder.OnFrame(3, frame);
    ASSERT_TRUE(reply.has_value());
    EXPECT_EQ(reply->bytes[2], 0x81);
    EXPECT_THAT(Bytes(reply->bytes.begin() + 3, reply->bytes.begin() + 11),
                ElementsAre(0, 0, 0x10, 0x08, 0, 0, 0x01, 0xFE));
}

TEST(EchoResponder, FramesOfNeitherKindGetNoReply) {
    EchoResponder responder;
    EXPECT_FALSE(responder.OnFrame(1, Bytes{0x55, 0xAA, 0x06}).has_value());
    EXPECT_FALSE(responder.OnFrame(1, Bytes(16, 0)).has_value());
}

}  // namespace
}  // namespace orvo::piperig
