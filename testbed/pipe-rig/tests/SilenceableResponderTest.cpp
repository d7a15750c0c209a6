// A device told to fall silent.
#include "SilenceableResponder.h"

#include <gtest/gtest.h>

namespace orvo::piperig {
namespace {

class CountingDevice : public FrameResponder {
public:
    std::optional<DeviceReply> OnFrame(int, const Bytes& frame) override {
        ++frames;
        return DeviceReply{0, frame};
    }
    int frames = 0;
};

TEST(SilenceableResponder, SilentDeviceStillTakesFramesButAnswersNothingUntilToldTo) {
    CountingDevice device;
    SilenceableResponder responder(device);
    EXPECT_TRUE(responder.OnFrame(1, Bytes{1}).has_value());
    responder.SetSilent(true);
    EXPECT_FALSE(responder.OnFrame(1, Bytes{2}).has_value());
    responder.SetSilent(false);
    const auto reply = responder.OnFrame(1, Bytes{3});
    ASSERT_TRUE(reply.has_value());
    EXPECT_EQ(reply->bytes, Bytes{3});
    EXPECT_EQ(device.frames, 3);
}

}  // namespace
}  // namespace orvo::piperig
