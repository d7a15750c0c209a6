// console-probe: runs a console program in a console of its own, as in a technician's window of
// cmd.exe, and reports what that console showed and whether the program left its code pages as
// they were.
//   console-probe OUT_FOLDER PROGRAM [ARGUMENTS...]
// The console is set to code page 850, the OEM code page of Western Europe, before the program
// starts. The program's standard error is the console, its standard output the file
// OUT_FOLDER\stdout.txt, and its standard input the NUL device. Afterwards OUT_FOLDER\screen.txt
// holds the console's text in UTF-8, a line per row with trailing blanks cut, and standard output
// gets one line (the console is 400 columns wide, so a row is a line):
//   input code page 850 850, output code page 850 850, exit code N
// (before and after). Exit 0 once the program ran, 2 on wrong arguments, 3 when the console or
// the program could not be had.
#include "win32/KernelHandle.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr UINT kProbeCodePage = 850;
// Rows wide enough that no line of the program wraps, so that a row is a line.
constexpr SHORT kColumns = 400;
constexpr SHORT kRows = 200;

// One argument quoted as CommandLineToArgvW and the C runtime read it back.
std::wstring Quoted(const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos) {
        return argument;
    }
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, L'\\');
    return quoted + L"\"";
}

std::string Utf8(const std::wstring& text) {
    if (text.empty()) {
        return {};
    }
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                          nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), bytes,
                        nullptr, nullptr);
    return utf8;
}

HANDLE Inheritable(const wchar_t* path, DWORD access, DWORD disposition) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return CreateFileW(path, access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, disposition,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

// The console's rows up to the cursor's, trailing blanks cut.
std::string ScreenText(HANDLE console) {
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (!GetConsoleScreenBufferInfo(console, &info)) {
        return {};
    }
    std::string text;
    std::vector<wchar_t> row(static_cast<std::size_t>(info.dwSize.X));
    for (SHORT y = 0; y <= info.dwCursorPosition.Y; ++y) {
        DWORD read = 0;
        ReadConsoleOutputCharacterW(console, row.data(), static_cast<DWORD>(row.size()),
                                    COORD{0, y}, &read);
        std::wstring line(row.data(), read);
        line.erase(line.find_last_not_of(L' ') + 1);
        text += Utf8(line) + "\n";
    }
    return text;
}

bool WriteFileText(const std::wstring& path, const std::string& text) {
    const orvo::KernelHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr,
                                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file.IsValid() &&
           WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
           written == text.size();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fputs("usage: console-probe OUT_FOLDER PROGRAM [ARGUMENTS...]\n", stderr);
        return 2;
    }
    const std::wstring folder = argv[1];
    FreeConsole();
    if (!AllocConsole()) {
        std::fprintf(stderr, "console-probe: no console (error %lu)\n", GetLastError());
        return 3;
    }
    SetConsoleCP(kProbeCodePage);
    SetConsoleOutputCP(kProbeCodePage);
    const UINT inputBefore = GetConsoleCP();
    const UINT outputBefore = GetConsoleOutputCP();

    const orvo::KernelHandle console(
        Inheritable(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING));
    const orvo::KernelHandle output(
        Inheritable((folder + L"\\stdout.txt").c_str(), GENERIC_WRITE, CREATE_ALWAYS));
    const orvo::KernelHandle input(Inheritable(L"NUL", GENERIC_READ, OPEN_EXISTING));
    if (!console.IsValid() || !output.IsValid() || !input.IsValid()) {
        std::fprintf(stderr, "console-probe: cannot open the console or %ls\\stdout.txt\n",
                     folder.c_str());
        return 3;
    }
    if (!SetConsoleScreenBufferSize(console.Get(), COORD{kColumns, kRows})) {
        std::fprintf(stderr, "console-probe: the console cannot be %d columns wide (error %lu)\n",
                     kColumns, GetLastError());
        return 3;
    }
    std::wstring commandLine = Quoted(argv[2]);
    for (int i = 3; i < argc; ++i) {
        commandLine += L" " + Quoted(argv[i]);
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input.Get();
    startup.hStdOutput = output.Get();
    startup.hStdError = console.Get();
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &started)) {
        std::fprintf(stderr, "console-probe: cannot start %ls (error %lu)\n", argv[2],
                     GetLastError());
        return 3;
    }
    const orvo::KernelHandle process(started.hProcess);
    const orvo::KernelHandle thread(started.hThread);
    WaitForSingleObject(process.Get(), INFINITE);
    DWORD exitCode = 0;
    GetExitCodeProcess(process.Get(), &exitCode);

    const UINT inputAfter = GetConsoleCP();
    const UINT outputAfter = GetConsoleOutputCP();
    if (!WriteFileText(folder + L"\\screen.txt", ScreenText(console.Get()))) {
        std::fprintf(stderr, "console-probe: cannot write %ls\\screen.txt\n", folder.c_str());
        return 3;
    }
    std::printf("input code page %u %u, output code page %u %u, exit code %lu\n", inputBefore,
                inputAfter, outputBefore, outputAfter, exitCode);
    return 0;
}
