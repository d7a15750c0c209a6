// The PC is kept awake while an upgrade runs, and let go when it ends: on Windows the thread's
// execution state, read back through the call that sets it.
#include "KeepAwake.h"
#include "UpgradeBench.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#endif

namespace orvo {
namespace {

#ifdef _WIN32
// The thread's execution state. Asked by setting the value it is expected to hold, which
// changes nothing when it holds; the state it had comes back.
EXECUTION_STATE StateIfKeptAwake() {
    return SetThreadExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED);
}
EXECUTION_STATE StateIfLetGo() {
    return SetThreadExecutionState(ES_CONTINUOUS);
}

constexpr EXECUTION_STATE kKeptAwake = ES_CONTINUOUS | ES_SYSTEM_REQUIRED;
#endif

TEST(KeepAwake, HoldsWhileAHolderLivesAndNests) {
#ifdef _WIN32
    SetThreadExecutionState(ES_CONTINUOUS);
    {
        const KeepAwake outer;
        EXPECT_EQ(StateIfKeptAwake(), kKeptAwake);
        {
            const KeepAwake inner;
            EXPECT_EQ(StateIfKeptAwake(), kKeptAwake);
        }
        EXPECT_EQ(StateIfKeptAwake(), kKeptAwake) << "the outer holder still holds";
    }
    EXPECT_EQ(StateIfLetGo(), static_cast<EXECUTION_STATE>(ES_CONTINUOUS));
#else
    const KeepAwake nothingToHold;  // a build without power management: it does nothing
#endif
}

#ifdef _WIN32
// What the upgrade's own thread finds in its execution state whenever it shows progress.
class AwakeRecordingView : public testing::RecordingView {
public:
    void SetProgress(int done) override {
        RecordingView::SetProgress(done);
        keptAwake = keptAwake && StateIfKeptAwake() == kKeptAwake;
        ++seen;
    }
    bool keptAwake = true;
    int seen = 0;
};

TEST(KeepAwake, AnUpgradeKeepsThePcAwakeUntilItEnds) {
    SetThreadExecutionState(ES_CONTINUOUS);
    testing::UpgradeBench bench;
    AwakeRecordingView view;
    DeviceLink link{bench.device, view};
    bench.WriteImage(image::MakeRandomImage({100, 50}));
    EXPECT_EQ(RunUpgrade(link, ChosenParts(bench.controls), view, false, bench.kit), 1);
    EXPECT_GT(view.seen, 0);
    EXPECT_TRUE(view.keptAwake);
    EXPECT_EQ(StateIfLetGo(), static_cast<EXECUTION_STATE>(ES_CONTINUOUS)) << "let go at the end";
}
#endif

}  // namespace
}  // namespace orvo
