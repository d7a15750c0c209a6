// The environment a driven tool gets: the simulator reads its settings from there, so a
// setting left over from the driver's own environment would change the device under test.
#include "Environment.h"

#include <gtest/gtest.h>

namespace orvo::drive {
namespace {

using Variables = std::vector<std::wstring>;

TEST(ChangeEnvironment, SetsReplacesAndRemovesWithoutRegardToCase) {
    const Variables inherited = {L"PATH=C:\\windows", L"orvo_sim_faults=no-reply@0",
                                 L"ORVO_SIM_LATENCY_US=500", L"=C:=C:\\work"};
    const Variables changed = ChangeEnvironment(inherited, {{L"ORVO_SIM_FAULTS", std::nullopt},
                                                            {L"ORVO_SIM_LATENCY_US", L"0"},
                                                            {L"ORVO_SIM_OUTPUT", L"C:\\out"}});
    EXPECT_EQ(changed, (Variables{L"=C:=C:\\work", L"ORVO_SIM_LATENCY_US=0",
                                  L"ORVO_SIM_OUTPUT=C:\\out", L"PATH=C:\\windows"}));
}

TEST(ChangeEnvironment, SortsByNameWithoutRegardToCase) {
    // By whole entry "A-B=1" would come before "A=2", and "B=3" before "a1=4".
    EXPECT_EQ(ChangeEnvironment({L"B=3", L"A-B=1", L"a1=4", L"A=2"}, {}),
              (Variables{L"A=2", L"A-B=1", L"a1=4", L"B=3"}));
}

TEST(ChangeEnvironment, RemovingAMissingVariableChangesNothing) {
    EXPECT_EQ(ChangeEnvironment({L"X=1"}, {{L"Y", std::nullopt}}), (Variables{L"X=1"}));
}

TEST(EnvironmentBlock, EndsEachEntryAndTheBlockWithAZero) {
    EXPECT_EQ(EnvironmentBlock({L"A=1", L"B=2"}), std::wstring(L"A=1\0B=2\0\0", 9));
    EXPECT_EQ(EnvironmentBlock({}), std::wstring(L"\0\0", 2));
}

}  // namespace
}  // namespace orvo::drive
