#include "ConsoleOptions.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

namespace orvo::console {
namespace {

constexpr int kMostRetries = 100;

struct CommandRule {
    const char* name;
    Command command;
    const char* operand;  // name of its operand, or null
    bool operandRequired;
    const char* summary;
    bool manyOperands = false;  // the operand may come more than once
};

constexpr CommandRule kCommands[] = {
    {"upgrade", Command::kUpgrade, nullptr, false,
     "upgrade the device (both parts) with the file CONFIG.INI names for it"},
    {"read-sn", Command::kReadSn, nullptr, false, "print the device's serial number"},
    {"write-sn", Command::kWriteSn, "NUMBER", false,
     "burn NUMBER (else the next number) and record it in the history"},
    {"inspect", Command::kInspect, "FILE", true,
     "show an upgrade file's segments, parts, frames and SHA-256, whether taken and approved"},
    {"approve", Command::kApprove, "FILE", true,
     "print the lines of approved-images.sha256 that approve these files (writes nothing)", true},
    {"station", Command::kStation, nullptr, false,
     "upgrade each device plugged in until Ctrl-C or the end of input; then a summary"},
};

struct OptionRule {
    const char* name;
    const char* valueName;  // how the usage text names its value; null for a flag
    // Where the option goes: a text, a flag, or with neither the retry count.
    std::string ConsoleOptions::*text;
    bool ConsoleOptions::*flag;
    const char* commands;  // the commands that take it, space-separated; null for all
    const char* summary;
};

constexpr OptionRule kOptions[] = {
    {"--image", "FILE", &ConsoleOptions::image, nullptr, "upgrade station",
     "the upgrade file to send, instead of the one CONFIG.INI names"},
    {"--retries", "N", nullptr, nullptr, "upgrade",
     "after a failed transfer, start the upgrade again, at most N times (0 to 100)"},
    {"--burn", nullptr, nullptr, &ConsoleOptions::burn, "station",
     "after each upgrade, burn and record the next serial number"},
    {"--again", nullptr, nullptr, &ConsoleOptions::again, "write-sn",
     "burn NUMBER even though the history holds it: the same device, on purpose"},
    {"--log", "FILE", &ConsoleOptions::log, nullptr, "upgrade station",
     "append a CSV line per device run"},
    {"--json", nullptr, nullptr, &ConsoleOptions::json, "upgrade read-sn write-sn station",
     "one JSON object per line on standard output"},
    {"--config", "FILE", &ConsoleOptions::config, nullptr, nullptr,
     "settings instead of CONFIG.INI of the current directory"},
    {"--texts", "FILE", &ConsoleOptions::texts, nullptr, nullptr,
     "texts instead of language.ini of the current directory"},
    {"--lang", "EN|FR|SP", &ConsoleOptions::lang, nullptr, nullptr,
     "language of the messages (default: the one CONFIG.INI stores)"},
};

// How the usage text writes the option: its name, and its value's name if it takes one.
std::string UsageForm(const OptionRule& option) {
    return std::string(option.name) + (option.valueName ? std::string(" ") + option.valueName : "");
}

bool Takes(const OptionRule& option, std::string_view command) {
    if (option.commands == nullptr) {
        return true;
    }
    std::string_view list = option.commands;
    while (!list.empty()) {
        const std::size_t space = list.find(' ');
        if (list.substr(0, space) == command) {
            return true;
        }
        list = space == std::string_view::npos ? std::string_view{} : list.substr(space + 1);
    }
    return false;
}

const OptionRule* FindOption(std::string_view name) {
    for (const OptionRule& option : kOptions) {
        if (name == option.name) {
            return &option;
        }
    }
    return nullptr;
}

bool ReadCount(const std::string& text, int& count) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos ||
        text.size() > 3) {
        return false;
    }
    count = std::atoi(text.c_str());
    return count <= kMostRetries;
}

std::string ApplyOption(const OptionRule& option, const std::string& value, ConsoleOptions& into) {
    if (option.flag != nullptr) {
        into.*option.flag = true;
    } else if (option.text != nullptr) {
        if (value.empty()) {
            return std::string(option.name) + " needs a non-empty value";
        }
        into.*option.text = value;
    } else if (!ReadCount(value, into.retries)) {
        return std::string(option.name) + " takes a whole number from 0 to " +
               std::to_string(kMostRetries) + ", not \"" + value + "\"";
    }
    if (option.text == &ConsoleOptions::lang && value != "EN" && value != "FR" && value != "SP") {
        return "--lang takes EN, FR or SP, not \"" + value + "\"";
    }
    return {};
}

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args) {
    ParsedCommandLine parsed;
    ConsoleOptions& options = parsed.options;
    if (args.empty()) {
        parsed.error = "no command given";
        return parsed;
    }
    if (args[0] == "--help" || args[0] == "-h") {
        return parsed;
    }
    if (args[0] == "--version") {
        options.command = Command::kVersion;
        return parsed;
    }
    const CommandRule* command = nullptr;
    for (const CommandRule& rule : kCommands) {
        if (args[0] == rule.name) {
            command = &rule;
        }
    }
    if (command == nullptr) {
        parsed.error = "unknown command \"" + args[0] + "\"";
        return parsed;
    }
    options.command = command->command;
    std::string* operand = command->command == Command::kInspect ? &options.file : &options.number;
    bool operandGiven = false;
    for (std::size_t i = 1; i < args.size() && parsed.error.empty(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            options.command = Command::kHelp;
            return parsed;
        }
        if (arg.rfind("--", 0) != 0) {
            if (command->operand == nullptr || (operandGiven && !command->manyOperands)) {
                parsed.error = std::string(command->name) + " takes no argument \"" + arg + "\"";
            }
            if (command->manyOperands) {
                options.files.push_back(arg);
            } else {
                *operand = arg;
            }
            operandGiven = true;
            continue;
        }
        const std::size_t equals = arg.find('=');
        const OptionRule* option = FindOption(std::string_view(arg).substr(0, equals));
        if (option == nullptr || !Takes(*option, command->name)) {
            parsed.error = std::string(command->name) + " has no option " + arg.substr(0, equals);
            break;
        }
        std::string value;
        if (equals != std::string::npos) {
            value = arg.substr(equals + 1);
        } else if (option->flag == nullptr) {
            if (i + 1 == args.size()) {
                parsed.error = std::string(option->name) + " needs a value";
                break;
            }
            value = args[++i];
        }
        if (option->flag != nullptr && equals != std::string::npos) {
            parsed.error = std::string(option->name) + " takes no value";
            break;
        }
        parsed.error = ApplyOption(*option, value, options);
    }
    if (parsed.error.empty() && command->operandRequired && !operandGiven) {
        parsed.error = std::string(command->name) + " needs " + command->operand;
    }
    return parsed;
}

const char* CommandName(Command command) {
    for (const CommandRule& rule : kCommands) {
        if (rule.command == command) {
            return rule.name;
        }
    }
    return "";
}

std::string UsageText() {
    std::string text = "usage: orvo COMMAND [OPTIONS]\n\ncommands:\n";
    for (const CommandRule& rule : kCommands) {
        text += std::string("  orvo ") + rule.name;
        if (rule.operand != nullptr) {
            text += rule.operandRequired ? std::string(" ") + rule.operand
                                         : std::string(" [") + rule.operand + "]";
            text += rule.manyOperands ? "..." : "";
        }
        for (const OptionRule& option : kOptions) {
            if (option.commands != nullptr && Takes(option, rule.name)) {
                text += " [" + UsageForm(option) + "]";
            }
        }
        text += std::string("\n      ") + rule.summary + "\n";
    }
    text +=
        "  orvo --version | --help | COMMAND --help\n\noptions (the last three for every "
        "command):\n";
    for (const OptionRule& option : kOptions) {
        std::string form = UsageForm(option);
        form.resize(std::max<std::size_t>(form.size() + 1, 18), ' ');
        text += "  " + form + option.summary + "\n";
    }
    return text +
           "\nexit codes:\n"
           "  0    done\n"
           "  1    usage\n"
           "  2    settings or files: CONFIG.INI, the upgrade file, the history file or the log\n"
           "  3    the upgrade file breaks the image rules, or approved-images.sha256 beside\n"
           "       the program does not list it\n"
           "  4    no device, or no reply (T5)\n"
           "  5    the device refused (a failure reply; its code in the message)\n"
           "  6    serial number not 12 digits (T8, T14), given out before (T16) or not\n"
           "       accepted (T7)\n"
           "  130  interrupted\n";
}

}  // namespace orvo::console
