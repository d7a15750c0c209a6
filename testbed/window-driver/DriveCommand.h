#pragma once
// The command line of orvo-drive: one action on the running tool's window per call, so that
// shell scripts can drive it step by step.
#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace orvo::drive {

enum class Action {
    kWaitWindow,
    kRect,
    kControlRect,
    kText,
    kWaitText,
    kClick,
    kSelect,
    kEscape,
    kMessages,
    kWaitMessage,
    kPressOk,
    kMessageRect,
    kAbout,
    kWaitEnd,
    kColour,
};

struct DriveCommand {
    Action action = Action::kWaitWindow;
    int id = 0;     // control id; for colour, the system colour index
    int index = 0;  // list item
    std::wstring text;
    std::chrono::milliseconds timeout{30000};
};

extern const char kDriveUsage[];

// Nothing, with the reason in `error`, when the arguments name no command.
std::optional<DriveCommand> ParseDriveCommand(const std::vector<std::wstring>& arguments,
                                              std::string& error);

}  // namespace orvo::drive
