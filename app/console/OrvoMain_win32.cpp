// orvo.exe: the device jobs from the command line, on qxUSBDevAdv.dll's pipes.
#include "ImportedPipeLibrary.h"
#include "Orvo.h"

#include <windows.h>

int main(int argc, char** argv) {
    // Messages are UTF-8 whatever the console's code page.
    SetConsoleOutputCP(CP_UTF8);
    orvo::ImportedPipeLibrary pipes;
    return orvo::console::RunOrvoProcess(argc, argv, pipes);
}
