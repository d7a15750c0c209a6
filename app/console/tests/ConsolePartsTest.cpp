// The pieces of orvo's output and command line, each against what a reader of it expects.
#include "ConsoleOptions.h"
#include "ExitCodes.h"
#include "JsonLine.h"
#include "ProgressLine.h"
#include "RunLog.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace orvo::console {
namespace {

using ::testing::HasSubstr;

TEST(CommandLine, TakesWhatEachCommandTakesAndExplainsTheRest) {
    const struct {
        std::vector<std::string> args;
        const char* error;  // empty: accepted
    } cases[] = {
        {{"upgrade", "--image", "a.bin", "--retries=2", "--log", "l.csv", "--json"}, ""},
        {{"station", "--burn", "--lang", "SP", "--config", "c.ini", "--texts", "t.ini"}, ""},
        {{"write-sn", "961990000100", "--again"}, ""},
        {{"inspect", "a.bin"}, ""},
        {{"inspect", "--help"}, ""},
        {{"station", "--burn", "--help"}, ""},
        {{"upgrade", "--again"}, "upgrade has no option --again"},
        {{"inspect"}, "inspect needs FILE"},
        {{"approve", "a.bin", "b.bin"}, ""},
        {{"approve"}, "approve needs FILE"},
        {{"approve", "a.bin", "--json"}, "approve has no option --json"},
        {{"read-sn", "extra"}, "read-sn takes no argument \"extra\""},
        {{"write-sn", "1", "2"}, "write-sn takes no argument \"2\""},
        {{"read-sn", "--burn"}, "read-sn has no option --burn"},
        {{"upgrade", "--retries", "101"}, "--retries takes a whole number from 0 to 100"},
        {{"upgrade", "--retries", "-1"}, "--retries takes a whole number"},
        {{"upgrade", "--image"}, "--image needs a value"},
        {{"upgrade", "--image="}, "--image needs a non-empty value"},
        {{"upgrade", "--json=yes"}, "--json takes no value"},
        {{"upgrade", "--lang", "DE"}, "--lang takes EN, FR or SP"},
        {{"flash"}, "unknown command \"flash\""},
        {{}, "no command given"},
    };
    for (const auto& c : cases) {
        const std::string error = ParseCommandLine(c.args).error;
        EXPECT_TRUE(*c.error == '\0' ? error.empty() : error.rfind(c.error, 0) == 0)
            << c.args.size() << " arguments: " << error;
    }
    for (const char* command : {"upgrade", "read-sn", "write-sn", "inspect", "station"}) {
        EXPECT_EQ(ParseCommandLine({command, "--help"}).options.command, Command::kHelp) << command;
    }
    const ConsoleOptions parsed =
        ParseCommandLine({"upgrade", "--image", "a.bin", "--retries=2", "--json"}).options;
    EXPECT_EQ(parsed.command, Command::kUpgrade);
    EXPECT_EQ(parsed.image, "a.bin");
    EXPECT_EQ(parsed.retries, 2);
    EXPECT_TRUE(parsed.json);
    EXPECT_EQ(ParseCommandLine({"approve", "a.bin", "b.bin"}).options.files,
              (std::vector<std::string>{"a.bin", "b.bin"}));
}

TEST(CommandLine, UsageListsEveryCommandAndExitCode) {
    const std::string usage = UsageText();
    for (const char* item :
         {"orvo upgrade", "orvo read-sn", "orvo write-sn [NUMBER]", "orvo inspect FILE",
          "orvo approve FILE...", "orvo station", "  130  interrupted"}) {
        EXPECT_THAT(usage, HasSubstr(item));
    }
}

TEST(ProgressLine, ShowsBlocksPercentSpeedAndTimeLeft) {
    EXPECT_EQ(FormatProgressLine({"internal", 12, 35, 0}, 4352),
              "internal part  12/35 blocks  34%");
    // 1 000 blocks of 4096 bytes left at 2 MB/s: 2.048 s.
    EXPECT_EQ(FormatProgressLine({"external", 24, 1024, 2e6}, 4096),
              "external part  24/1024 blocks  2%  2.0 MB/s  0:02 left");
    EXPECT_EQ(PercentDone(1023, 1024), 99);
    EXPECT_EQ(PercentDone(0, 0), 100);
}

TEST(OutputFormats, QuoteWhatNeedsQuoting) {
    // What a device, a path or a spreadsheet could make of each field.
    const struct {
        std::string text;
        const char* json;
        const char* csv;
    } cases[] = {
        {"a \"b\"\\\n\x01", R"j("a \"b\"\\\n\u0001")j", "\"a \"\"b\"\"\\\n\x01\""},
        {"C:\\a, b.bin", R"j("C:\\a, b.bin")j", "\"C:\\a, b.bin\""},
        {"Fran\xc3\xa7"
         "ais",
         "\"Fran\xc3\xa7"
         "ais\"",
         "Fran\xc3\xa7"
         "ais"},
        {"caf\xe9 \xc3(", R"j("caf\u00e9 \u00c3(")j", "caf\xe9 \xc3("},
        {"\xed\xa0\x80\xf4\x90\x80\x80", R"j("\u00ed\u00a0\u0080\u00f4\u0090\u0080\u0080")j",
         "\xed\xa0\x80\xf4\x90\x80\x80"},
        {"=HYPERLINK(1)", R"j("=HYPERLINK(1)")j", "'=HYPERLINK(1)"},
        {"+1", R"j("+1")j", "'+1"},
        {"-1,2", R"j("-1,2")j", "\"'-1,2\""},
        {"@x", R"j("@x")j", "'@x"},
        {"\tx", R"j("\tx")j", "'\tx"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(JsonQuoted(c.text), c.json) << c.text;
        RunLogLine line{"2026-12-10T08:00:00Z", c.text, "f.bin", "ab", "E3", 4, 1460, 1.25,
                        "961990000101"};
        EXPECT_EQ(FormatRunLogLine(line), std::string("2026-12-10T08:00:00Z,") + c.csv +
                                              ",f.bin,ab,E3,4,1460,1.2,961990000101")
            << c.text;
    }
}

TEST(ExitCodes, FollowTheKeyThatEndedTheJob) {
    const struct {
        const char* key;
        int code;
    } cases[] = {{"", 0},   {"T0", 2},  {"T12", 2}, {"T15", 2},          {"T18", 2},
                 {"T9", 3}, {"T5", 4},  {"E0", 5},  {"E9", 5},           {"T7", 6},
                 {"T8", 6}, {"T14", 6}, {"T16", 6}, {"interrupted", 130}};
    for (const auto& c : cases) {
        EXPECT_EQ(ExitCodeFor(c.key), c.code) << c.key;
    }
}

}  // namespace
}  // namespace orvo::console
