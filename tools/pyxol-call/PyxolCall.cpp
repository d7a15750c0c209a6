// Calls one export of Pyxol.dll, by hand or from a test.
//   pyxol-call search NAME   prints SearchProgress's result; exit 0 when a process has NAME, else 1
//   pyxol-call close NAME    prints CloseProgress's result; exit 0 when it is nonzero, else 1
// Exit 2 means wrong arguments, 3 that Pyxol.dll or the export was not found (the library is
// loaded by its full path beside this program, and nowhere else).
#include "PyxolLibrary_win32.h"
#include "win32/DllSearch.h"

#include <cstdio>
#include <cstring>

namespace {

enum ExitCode { kNonzeroResult = 0, kZeroResult = 1, kWrongArguments = 2, kLibraryMissing = 3 };

const char* ExportForCommand(const char* command) {
    if (std::strcmp(command, "search") == 0) {
        return "SearchProgress";
    }
    if (std::strcmp(command, "close") == 0) {
        return "CloseProgress";
    }
    return nullptr;
}

}  // namespace

// The name comes in the ANSI code page, which is what the library compares.
int main(int argc, char** argv) {
    const char* exportName = argc == 3 ? ExportForCommand(argv[1]) : nullptr;
    if (exportName == nullptr) {
        std::fputs("usage: pyxol-call search|close NAME\n", stderr);
        return kWrongArguments;
    }
    orvo::procutil::PyxolLibrary pyxol(orvo::PathBesideProgram("Pyxol.dll").c_str());
    PyxolFunction call = pyxol.Find(exportName);
    if (call == nullptr) {
        std::fprintf(stderr, "pyxol-call: %s not found in Pyxol.dll\n", exportName);
        return kLibraryMissing;
    }
    const int result = call(argv[2]);
    std::printf("%s: %d\n", exportName, result);
    return result != 0 ? kNonzeroResult : kZeroResult;
}
