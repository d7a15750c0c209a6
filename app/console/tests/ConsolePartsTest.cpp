// The pieces of orvo's output and command line, each against what a reader of it expects.
#include "ConsoleOptions.h"
#include "ExitCodes.h"
#include "JsonLine.h"
#include "ProgressLine.h"
#include "RunLog.h"
#include "Sha256.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace orvo::console {
namespace {

using ::testing::HasSubstr;

std::string Sha(const std::string& text) {
    return Sha256Hex(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

TEST(Sha256, MatchesTheStandardsVectorsAcrossBlockEdges) {
    const struct {
        std::string input;
        const char* digest;
    } cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",  // 56 bytes: two tail blocks
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {std::string(1000000, 'a'),
         "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Sha(c.input), c.digest) << c.input.size() << " bytes";
    }
}

TEST(CommandLine, TakesWhatEachCommandTakesAndExplainsTheRest) {
    const struct {
        std::vector<std::string> args;
        const char* error;  // empty: accepted
    } cases[] = {
        {{"upgrade", "--image", "a.bin", "--retries=2", "--log", "l.csv", "--json"}, ""},
        {{"station", "--burn", "--lang", "SP", "--config", "c.ini", "--texts", "t.ini"}, ""},
        {{"write-sn", "961990000100"}, ""},
        {{"inspect", "a.bin"}, ""},
        {{"inspect"}, "inspect needs FILE"},
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
    const ConsoleOptions parsed =
        ParseCommandLine({"upgrade", "--image", "a.bin", "--retries=2", "--json"}).options;
    EXPECT_EQ(parsed.command, Command::kUpgrade);
    EXPECT_EQ(parsed.image, "a.bin");
    EXPECT_EQ(parsed.retries, 2);
    EXPECT_TRUE(parsed.json);
}

TEST(CommandLine, UsageListsEveryCommandAndExitCode) {
    const std::string usage = UsageText();
    for (const char* item : {"orvo upgrade", "orvo read-sn", "orvo write-sn [NUMBER]",
                             "orvo inspect FILE", "orvo station", "  130  interrupted"}) {
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
    EXPECT_EQ(JsonLine("note").Add("text", "a \"b\"\\\n\x01").Add("n", 5LL).Text(),
              R"({"event":"note","text":"a \"b\"\\\n\u0001","n":5})");
    RunLogLine line{"2026-12-10T08:00:00Z", "961990000100", "C:\\a, b\\\"x\".bin", "ab", "E3", 4,
                    1460, 1.25};
    EXPECT_EQ(FormatRunLogLine(line),
              "2026-12-10T08:00:00Z,961990000100,\"C:\\a, b\\\"\"x\"\".bin\",ab,E3,4,1460,1.2");
}

TEST(ExitCodes, FollowTheKeyThatEndedTheJob) {
    const struct {
        const char* key;
        int code;
    } cases[] = {{"", 0},   {"T0", 2}, {"T12", 2}, {"T9", 3}, {"T5", 4},
                 {"E0", 5}, {"E9", 5}, {"T7", 6},  {"T8", 6}, {"interrupted", 130}};
    for (const auto& c : cases) {
        EXPECT_EQ(ExitCodeFor(c.key), c.code) << c.key;
    }
}

}  // namespace
}  // namespace orvo::console
