// pipe-call: one read or write on a pipe of the device through either pipe DLL, for checking a
// device by hand.
#include <iostream>
#include <string>
#include <vector>

#include "PipeCallArgs.h"
#include "PipeDll.h"
#include "win32/DllSearch.h"

using namespace orvo::pipecall;
using orvo::usbpipe::PipeDll;

int main(int argc, char** argv) {
    std::string error;
    auto args = ParsePipeCallArgs(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!args) {
        std::cerr << error << "\n" << kPipeCallUsage;
        return 2;
    }
    // A bare name is the DLL beside this program, by its full path: no other folder is searched.
    const bool bareName = args->dll.find_first_of(":\\/") == std::string::npos;
    PipeDll dll(bareName ? orvo::PathBesideProgram(args->dll) : args->dll);
    if (!dll.IsLoaded()) {
        std::cerr << "cannot load " << args->dll << "\n";
        return 2;
    }
    if (args->action == Action::Exports) {
        for (const std::string& name : dll.ExportNames()) {
            std::cout << (name.empty() ? "(by number only)" : name) << "\n";
        }
        return 0;
    }
    if (!dll.HasCalls()) {
        std::cerr << args->dll << " exports neither qxUSB_ nor qxUSBAdv_ read and write calls\n";
        return 2;
    }
    if (args->action == Action::Read) {
        std::vector<unsigned char> buffer(args->length);
        const int count = dll.read(args->pipe, buffer.data(), args->length, args->timeoutMs);
        if (count < 0) {
            std::cout << "read failed (-1)\n";
            return 1;
        }
        std::cout << count << " bytes: " << FormatHexBytes(buffer.data(), count) << "\n";
        return 0;
    }
    const int count = dll.write(args->pipe, args->data.data(), static_cast<int>(args->data.size()),
                                args->timeoutMs);
    if (count < 0) {
        std::cout << "write failed (-1)\n";
        return 1;
    }
    std::cout << count << " bytes written\n";
    return 0;
}
