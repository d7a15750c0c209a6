#include "DriveCommand.h"

#include <iterator>

namespace orvo::drive {

const char kDriveUsage[] =
    "usage: orvo-drive COMMAND [ARGUMENTS]   (SECONDS: how long to wait, 30 unless given)\n"
    "  wait-window [SECONDS]        wait until the tool's window is shown\n"
    "  rect                         print the window's client area on the screen: X Y W H\n"
    "  control-rect ID              print control ID's place in the client area: X Y W H\n"
    "  text ID                      print the text of control ID\n"
    "  wait-text ID TEXT [SECONDS]  wait until control ID shows TEXT\n"
    "  click ID                     click button ID (hidden ones too)\n"
    "  select ID INDEX              choose item INDEX of list ID\n"
    "  escape                       press Esc in the window\n"
    "  messages                     print the text of each message box, one a line\n"
    "  wait-message [SECONDS]       wait for a message box and print its text\n"
    "  press-ok                     press OK in the oldest message box\n"
    "  message-rect                 print the oldest message box on the screen, frame and all:\n"
    "                               X Y W H\n"
    "  about                        open the About box (the system menu's About entry)\n"
    "  wait-end [SECONDS]           wait until the tool has ended\n"
    "  colour INDEX                 print system colour INDEX as R,G,B\n"
    "Exit status: 0 done, 1 not found or timed out, 2 wrong command line.\n";

namespace {

// What a command takes after its name, in this order; a wait ends with optional SECONDS.
enum Takes { kNothing = 0, kId = 1, kIndex = 2, kText = 4, kSeconds = 8 };

struct CommandForm {
    const wchar_t* name;
    Action action;
    int takes;
};

constexpr CommandForm kCommands[] = {
    {L"wait-window", Action::kWaitWindow, kSeconds},
    {L"rect", Action::kRect, kNothing},
    {L"control-rect", Action::kControlRect, kId},
    {L"text", Action::kText, kId},
    {L"wait-text", Action::kWaitText, kId | kText | kSeconds},
    {L"click", Action::kClick, kId},
    {L"select", Action::kSelect, kId | kIndex},
    {L"escape", Action::kEscape, kNothing},
    {L"messages", Action::kMessages, kNothing},
    {L"wait-message", Action::kWaitMessage, kSeconds},
    {L"press-ok", Action::kPressOk, kNothing},
    {L"message-rect", Action::kMessageRect, kNothing},
    {L"about", Action::kAbout, kNothing},
    {L"wait-end", Action::kWaitEnd, kSeconds},
    {L"colour", Action::kColour, kId},
};

std::optional<int> ParseNumber(const std::wstring& text) {
    if (text.empty() || text.size() > 9) {
        return std::nullopt;
    }
    int value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') {
            return std::nullopt;
        }
        value = value * 10 + (c - L'0');
    }
    return value;
}

std::string Narrow(const wchar_t* text) {
    std::string narrow;
    for (; *text != L'\0'; ++text) {
        narrow += *text < 0x80 ? static_cast<char>(*text) : '?';
    }
    return narrow;
}

}  // namespace

std::optional<DriveCommand> ParseDriveCommand(const std::vector<std::wstring>& arguments,
                                              std::string& error) {
    if (arguments.empty()) {
        error = "no command given";
        return std::nullopt;
    }
    const CommandForm* form = nullptr;
    for (const CommandForm& candidate : kCommands) {
        if (arguments[0] == candidate.name) {
            form = &candidate;
        }
    }
    if (form == nullptr) {
        error = "unknown command " + Narrow(arguments[0].c_str());
        return std::nullopt;
    }
    const std::string name = Narrow(form->name);
    DriveCommand command;
    command.action = form->action;
    auto next = arguments.begin() + 1;
    for (Takes takes : {kId, kIndex, kText}) {
        if ((form->takes & takes) == 0) {
            continue;
        }
        if (next == arguments.end()) {
            error = name + " needs more arguments";
            return std::nullopt;
        }
        if (takes == kText) {
            command.text = *next++;
            continue;
        }
        const std::optional<int> number = ParseNumber(*next++);
        if (!number) {
            error = name + ": not a number: " + Narrow(std::prev(next)->c_str());
            return std::nullopt;
        }
        (takes == kId ? command.id : command.index) = *number;
    }
    if ((form->takes & kSeconds) != 0 && next != arguments.end()) {
        const std::optional<int> seconds = ParseNumber(*next++);
        if (!seconds) {
            error = name + ": not a number of seconds: " + Narrow(std::prev(next)->c_str());
            return std::nullopt;
        }
        command.timeout = std::chrono::seconds(*seconds);
    }
    if (next != arguments.end()) {
        error = name + ": too many arguments";
        return std::nullopt;
    }
    return command;
}

}  // namespace orvo::drive
