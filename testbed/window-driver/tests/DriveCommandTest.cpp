// The command lines scripts give orvo-drive, and the ones it must refuse before touching the
// tool's window.
#include "DriveCommand.h"

#include <gtest/gtest.h>

namespace orvo::drive {
namespace {

using namespace std::chrono_literals;

struct Accepted {
    std::vector<std::wstring> arguments;
    Action action;
    int id;
    int index;
    std::wstring text;
    std::chrono::milliseconds timeout;
};

class AcceptedCommand : public ::testing::TestWithParam<Accepted> {};

TEST_P(AcceptedCommand, GivesItsAction) {
    std::string error;
    const auto command = ParseDriveCommand(GetParam().arguments, error);
    ASSERT_TRUE(command) << error;
    EXPECT_EQ(command->action, GetParam().action);
    EXPECT_EQ(command->id, GetParam().id);
    EXPECT_EQ(command->index, GetParam().index);
    EXPECT_EQ(command->text, GetParam().text);
    EXPECT_EQ(command->timeout, GetParam().timeout);
}

INSTANTIATE_TEST_SUITE_P(
    DriveCommand, AcceptedCommand,
    ::testing::Values(Accepted{{L"wait-window"}, Action::kWaitWindow, 0, 0, L"", 30s},
                      Accepted{{L"wait-window", L"90"}, Action::kWaitWindow, 0, 0, L"", 90s},
                      Accepted{{L"rect"}, Action::kRect, 0, 0, L"", 30s},
                      Accepted{{L"control-rect", L"1014"}, Action::kControlRect, 1014, 0, L"", 30s},
                      Accepted{{L"text", L"1009"}, Action::kText, 1009, 0, L"", 30s},
                      // A text with blanks and accents is one argument, taken as it is.
                      Accepted{{L"wait-text", L"1009", L"Mise \u00E0 jour termin\u00E9e."},
                               Action::kWaitText,
                               1009,
                               0,
                               L"Mise \u00E0 jour termin\u00E9e.",
                               30s},
                      Accepted{
                          {L"wait-text", L"1009", L"", L"5"}, Action::kWaitText, 1009, 0, L"", 5s},
                      Accepted{{L"click", L"2"}, Action::kClick, 2, 0, L"", 30s},
                      Accepted{{L"select", L"1012", L"1"}, Action::kSelect, 1012, 1, L"", 30s},
                      Accepted{{L"escape"}, Action::kEscape, 0, 0, L"", 30s},
                      Accepted{{L"messages"}, Action::kMessages, 0, 0, L"", 30s},
                      Accepted{{L"wait-message", L"3"}, Action::kWaitMessage, 0, 0, L"", 3s},
                      Accepted{{L"press-ok"}, Action::kPressOk, 0, 0, L"", 30s},
                      Accepted{{L"message-rect"}, Action::kMessageRect, 0, 0, L"", 30s},
                      Accepted{{L"about"}, Action::kAbout, 0, 0, L"", 30s},
                      Accepted{{L"wait-end", L"0"}, Action::kWaitEnd, 0, 0, L"", 0s},
                      Accepted{{L"colour", L"13"}, Action::kColour, 13, 0, L"", 30s}));

struct Refused {
    std::vector<std::wstring> arguments;
    const char* reason;
};

class RefusedCommand : public ::testing::TestWithParam<Refused> {};

TEST_P(RefusedCommand, SaysWhy) {
    std::string error;
    EXPECT_FALSE(ParseDriveCommand(GetParam().arguments, error));
    EXPECT_NE(error.find(GetParam().reason), std::string::npos) << error;
}

INSTANTIATE_TEST_SUITE_P(
    DriveCommand, RefusedCommand,
    ::testing::Values(Refused{{}, "no command"},
                      Refused{{L"push", L"1001"}, "unknown command push"},
                      Refused{{L"click"}, "click needs more arguments"},
                      Refused{{L"select", L"1012"}, "select needs more arguments"},
                      Refused{{L"click", L"-2"}, "not a number: -2"},
                      Refused{{L"click", L"0x3E9"}, "not a number"},
                      Refused{{L"text", L"12345678901"}, "not a number"},
                      Refused{{L"wait-window", L"soon"}, "not a number of seconds"},
                      // Only waits take seconds.
                      Refused{{L"click", L"1001", L"5"}, "too many arguments"},
                      Refused{{L"wait-end", L"5", L"5"}, "too many arguments"},
                      Refused{{L"about", L"1"}, "too many arguments"}));

}  // namespace
}  // namespace orvo::drive
