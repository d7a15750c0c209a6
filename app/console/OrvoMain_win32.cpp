// orvo.exe: the device jobs from the command line, on qxUSBDevAdv.dll's pipes. Its arguments come
// as UTF-16 and go on as UTF-8; what it writes reaches a console as UTF-16 and anything else as
// UTF-8, and the console's code page stays as it was.
#include "ConsoleOutput_win32.h"
#include "ImportedPipeLibrary.h"
#include "Orvo.h"
#include "win32/DllSearch.h"

#include <windows.h>

#include <ostream>

int wmain(int argc, wchar_t** argv) {
    orvo::RestrictDllSearch();
    orvo::console::ConsoleOutput out(STD_OUTPUT_HANDLE);
    orvo::console::ConsoleOutput err(STD_ERROR_HANDLE);
    std::ostream outStream(&out);
    std::ostream errStream(&err);
    orvo::ImportedPipeLibrary pipes;
    return orvo::console::RunOrvoProcess(orvo::console::Utf8Arguments(argc, argv), pipes,
                                         {outStream, errStream, err.IsConsole()});
}
