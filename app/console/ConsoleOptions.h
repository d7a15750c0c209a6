#pragma once
// orvo's command line: a command, then its options, in any order. A value follows its option
// as the next argument or after '='. What each command accepts is one table, which also
// writes the usage text.
#include <string>
#include <vector>

namespace orvo::console {

enum class Command { kHelp, kVersion, kUpgrade, kReadSn, kWriteSn, kInspect, kApprove, kStation };

struct ConsoleOptions {
    Command command = Command::kHelp;
    std::string image;   // --image: the upgrade file, instead of CONFIG.INI's choice
    std::string log;     // --log: the CSV file of device runs
    std::string config;  // --config: instead of CONFIG.INI
    std::string texts;   // --texts: instead of language.ini
    std::string lang;    // --lang: EN, FR or SP; empty for the language CONFIG.INI stores
    std::string number;  // write-sn's NUMBER
    std::string file;    // inspect's FILE
    std::vector<std::string> files;  // approve's FILE...
    int retries = 0;
    bool json = false;
    bool burn = false;
    bool again = false;  // --again: write-sn burns a number the history holds
};

struct ParsedCommandLine {
    ConsoleOptions options;
    std::string error;  // what is wrong with the command line; empty when nothing is
};

// `args` without the program's name.
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args);

// The command's name on the command line; empty for --help and --version.
const char* CommandName(Command command);

// The usage text: commands, options and exit codes.
std::string UsageText();

}  // namespace orvo::console
