#include "BarGeometry.h"

#include <gtest/gtest.h>

namespace orvo {
namespace {

struct BarCase {
    const char* name;
    int position, lower, upper, clientWidth;
    int expectedWidth;
    const wchar_t* expectedText;
};

class BarGeometry : public ::testing::TestWithParam<BarCase> {};

TEST_P(BarGeometry, FillsAndLabelsTheDonePart) {
    const BarCase& c = GetParam();
    BarProgress progress = ProgressOf(c.position, c.lower, c.upper);
    EXPECT_EQ(BarWidth(c.clientWidth, progress), c.expectedWidth);
    EXPECT_EQ(PercentText(progress), c.expectedText);
}

const BarCase kCases[] = {
    {"empty", 0, 0, 100, 300, 0, L"0%"},
    {"half", 50, 0, 100, 300, 150, L"50%"},
    {"full", 100, 0, 100, 300, 300, L"100%"},
    {"truncatedPercent", 999, 0, 1000, 300, 299, L"99%"},
    {"truncatedWidth", 101, 0, 1000, 300, 30, L"10%"},
    {"offsetRange", 15, 10, 20, 200, 100, L"50%"},
    {"blocksOfATransfer", 17, 0, 51, 258, 86, L"33%"},
    {"justShortOfAPixel", 16, 0, 51, 258, 80, L"31%"},
    {"belowTheRange", -20, 0, 100, 300, 0, L"0%"},
    {"beyondTheRange", 150, 0, 100, 300, 300, L"100%"},
    {"emptyRange", 5, 5, 5, 300, 0, L"0%"},
    {"invertedRange", 50, 100, 0, 300, 0, L"0%"},
    {"wholeIntRange", 0, -2147483647 - 1, 2147483647, 1000, 500, L"50%"},
    {"wholeIntRangeFull", 2147483647, -2147483647 - 1, 2147483647, 1000, 1000, L"100%"},
};

INSTANTIATE_TEST_SUITE_P(Cases, BarGeometry, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace orvo
