#pragma once
// orvo's standard output and error on Windows. The portable code writes UTF-8; to a console it
// goes as UTF-16 through WriteConsoleW, which shows every character whatever the console's code
// page, and which orvo therefore never changes; to a file or a pipe it goes as the UTF-8 bytes.
#include <windows.h>

#include <streambuf>
#include <string>
#include <vector>

namespace orvo::console {

class ConsoleOutput : public std::streambuf {
public:
    // STD_OUTPUT_HANDLE or STD_ERROR_HANDLE.
    explicit ConsoleOutput(DWORD standardHandle);
    ~ConsoleOutput() override;
    ConsoleOutput(const ConsoleOutput&) = delete;
    ConsoleOutput& operator=(const ConsoleOutput&) = delete;

    // Whether the handle is a console (not redirected to a file, a pipe or NUL).
    bool IsConsole() const { return console_; }

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* text, std::streamsize count) override;
    // Writes what is held. Bytes of a character not yet complete stay for the next write.
    int sync() override;

private:
    bool WriteBytes(const char* bytes, std::size_t count);
    bool WriteToConsole(const std::string& utf8);

    HANDLE handle_;
    bool console_;
    std::string held_;
};

// The arguments of wmain, without the program's name, as UTF-8: the encoding of every text and
// path of the portable code.
std::vector<std::string> Utf8Arguments(int argc, wchar_t** argv);

}  // namespace orvo::console
