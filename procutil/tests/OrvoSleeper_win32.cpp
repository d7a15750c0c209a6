// The program the process tests start under its fixed name, orvo-sleeper.exe.
//   orvo-sleeper                    sleeps until it is terminated
//   orvo-sleeper close NAME EVENT   once the named event is set, calls CloseProgress(NAME) from
//                                   the Pyxol.dll beside it: with its own name, it ends itself
// Exit code 0 comes only from being terminated by the library; 3 means CloseProgress returned,
// 4 that the library or the event was missing, 2 wrong arguments.
#include "PyxolLibrary_win32.h"
#include "win32/DllSearch.h"
#include "win32/KernelHandle.h"

#include <cstring>

namespace {

enum ExitCode { kWrongArguments = 2, kCloseReturned = 3, kSomethingMissing = 4 };

int CloseWhenSignalled(const char* name, const char* eventName) {
    orvo::KernelHandle go(OpenEventA(SYNCHRONIZE, FALSE, eventName));
    orvo::procutil::PyxolLibrary pyxol(orvo::PathBesideProgram("Pyxol.dll").c_str());
    PyxolFunction closeProgress = pyxol.Find("CloseProgress");
    if (!go.IsValid() || closeProgress == nullptr) {
        return kSomethingMissing;
    }
    WaitForSingleObject(go.Get(), INFINITE);
    closeProgress(name);
    return kCloseReturned;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 1) {
        Sleep(INFINITE);
    }
    if (argc == 4 && std::strcmp(argv[1], "close") == 0) {
        return CloseWhenSignalled(argv[2], argv[3]);
    }
    return kWrongArguments;
}
