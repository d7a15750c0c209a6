#include "ConsoleOptions.h"

#include <cstdlib>
#include <string_view>

namespace orvo::console {
namespace {

constexpr int kMostRetries = 100;

struct CommandRule {
    const char* name;
    Command command;
    const char* operand;  // name of its one operand, or null
    bool operandRequired;
    const char* options;  // the options it takes besides the common ones, for the usage text
    const char* summary;
};

constexpr CommandRule kCommands[] = {
    {"upgrade", Command::kUpgrade, nullptr, false, "[--image FILE] [--retries N] [--log FILE] [--json]",
     "upgrade the device (both parts) with the file CONFIG.INI names for it"},
    {"read-sn", Command::kReadSn, nullptr, false, "[--json]", "print the device's serial number"},
    {"write-sn", Command::kWriteSn, "NUMBER", false, "[--json]",
     "burn NUMBER (else the next number of burn_sn.txt) and record it"},
    {"inspect", Command::kInspect, "FILE", true, "",
     "show an upgrade file's segments, parts, blocks and frames, and whether it is taken"},
    {"station", Command::kStation, nullptr, false, "[--image FILE] [--burn] [--log FILE] [--json]",
     "upgrade each device plugged in until Ctrl-C or the end of input; then a summary"},
};

enum class Value { kNone, kText, kCount };

struct OptionRule {
    const char* name;
    Value value;
    std::string ConsoleOptions::*text;
    bool ConsoleOptions::*flag;
    const char* commands;  // the commands that take it, space-separated; null for all
};

constexpr OptionRule kOptions[] = {
    {"--image", Value::kText, &ConsoleOptions::image, nullptr, "upgrade station"},
    {"--log", Value::kText, &ConsoleOptions::log, nullptr, "upgrade station"},
    {"--retries", Value::kCount, nullptr, nullptr, "upgrade"},
    {"--json", Value::kNone, nullptr, &ConsoleOptions::json, "upgrade read-sn write-sn station"},
    {"--burn", Value::kNone, nullptr, &ConsoleOptions::burn, "station"},
    {"--config", Value::kText, &ConsoleOptions::config, nullptr, nullptr},
    {"--texts", Value::kText, &ConsoleOptions::texts, nullptr, nullptr},
    {"--lang", Value::kText, &ConsoleOptions::lang, nullptr, nullptr},
};

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
    if (args.empty() || args[0] == "--help" || args[0] == "-h") {
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
        if (arg.rfind("--", 0) != 0) {
            if (command->operand == nullptr || operandGiven) {
                parsed.error = std::string(command->name) + " takes no argument \"" + arg + "\"";
            }
            *operand = arg;
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
        } else if (option->value != Value::kNone) {
            if (i + 1 == args.size()) {
                parsed.error = std::string(option->name) + " needs a value";
                break;
            }
            value = args[++i];
        }
        if (option->value == Value::kNone && equals != std::string::npos) {
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

std::string UsageText() {
    std::string text = "usage: orvo COMMAND [OPTIONS]\n\ncommands:\n";
    for (const CommandRule& rule : kCommands) {
        text += std::string("  orvo ") + rule.name;
        if (rule.operand != nullptr) {
            text += rule.operandRequired ? std::string(" ") + rule.operand
                                         : std::string(" [") + rule.operand + "]";
        }
        text += std::string(" ") + rule.options + "\n      " + rule.summary + "\n";
    }
    text +=
        "  orvo --version | --help\n\n"
        "options of every command:\n"
        "  --config FILE   settings instead of CONFIG.INI of the current directory\n"
        "  --texts FILE    texts instead of language.ini of the current directory\n"
        "  --lang EN|FR|SP language of the messages (default: the one CONFIG.INI stores)\n"
        "  --retries N     after a failed transfer, start the upgrade again, at most N times\n"
        "  --log FILE      append a CSV line per device run\n"
        "  --json          one JSON object per line on standard output\n\n"
        "exit codes:\n"
        "  0    done\n"
        "  1    usage\n"
        "  2    settings or files: CONFIG.INI, the upgrade file or the history file\n"
        "  3    the upgrade file breaks the image rules\n"
        "  4    no device, or no reply (T5)\n"
        "  5    the device refused (a failure reply; its code in the message)\n"
        "  6    serial number refused (T8) or not accepted (T7)\n"
        "  130  interrupted\n";
    return text;
}

}  // namespace orvo::console
