#include "ConsoleOutput_win32.h"

#include <algorithm>
#include <climits>

namespace orvo::console {
namespace {

// Held bytes are written once there are this many, line end or not.
constexpr std::size_t kHoldLimit = 4096;
// WriteConsoleW is given at most this many UTF-16 units a call.
constexpr std::size_t kConsoleChunk = 8192;

// The length of the sequence a UTF-8 lead byte starts; 1 for a byte that starts none.
std::size_t SequenceLength(unsigned char lead) {
    if (lead >= 0xF0 && lead <= 0xF4) {
        return 4;
    }
    if (lead >= 0xE0 && lead < 0xF0) {
        return 3;
    }
    if (lead >= 0xC2 && lead < 0xE0) {
        return 2;
    }
    return 1;
}

// How many bytes at the start of `utf8` end on a whole character: a character whose last bytes
// are still to come is kept back, so that it is not shown as two broken ones.
std::size_t WholeCharacters(const std::string& utf8) {
    std::size_t continuations = 0;
    for (std::size_t i = utf8.size(); i > 0 && continuations < 4; --i) {
        const auto byte = static_cast<unsigned char>(utf8[i - 1]);
        if ((byte & 0xC0) != 0x80) {
            return continuations + 1 >= SequenceLength(byte) ? utf8.size() : i - 1;
        }
        ++continuations;
    }
    return utf8.size();  // no lead byte: malformed, shown as it is
}

}  // namespace

ConsoleOutput::ConsoleOutput(DWORD standardHandle) : handle_(GetStdHandle(standardHandle)) {
    DWORD mode = 0;
    console_ = handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE &&
               GetConsoleMode(handle_, &mode) != 0;
}

ConsoleOutput::~ConsoleOutput() {
    sync();
}

ConsoleOutput::int_type ConsoleOutput::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof())) {
        return traits_type::not_eof(c);
    }
    held_ += traits_type::to_char_type(c);
    if (held_.size() >= kHoldLimit && sync() != 0) {
        return traits_type::eof();
    }
    return c;
}

std::streamsize ConsoleOutput::xsputn(const char* text, std::streamsize count) {
    held_.append(text, static_cast<std::size_t>(count));
    if (held_.size() >= kHoldLimit && sync() != 0) {
        return 0;
    }
    return count;
}

int ConsoleOutput::sync() {
    if (held_.empty()) {
        return 0;
    }
    bool written = true;
    if (console_) {
        const std::size_t whole = WholeCharacters(held_);
        written = WriteToConsole(held_.substr(0, whole));
        held_.erase(0, whole);
    } else {
        written = WriteBytes(held_.data(), held_.size());
        held_.clear();
    }
    return written ? 0 : -1;
}

bool ConsoleOutput::WriteBytes(const char* bytes, std::size_t count) {
    while (count > 0) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(count, INT_MAX));
        if (!WriteFile(handle_, bytes, chunk, &written, nullptr) || written == 0) {
            return false;
        }
        bytes += written;
        count -= written;
    }
    return true;
}

bool ConsoleOutput::WriteToConsole(const std::string& utf8) {
    if (utf8.empty()) {
        return true;
    }
    const int length = static_cast<int>(std::min<std::size_t>(utf8.size(), INT_MAX / 2));
    const int units = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
    if (units <= 0) {
        return false;
    }
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, wide.data(), units);
    for (std::size_t at = 0; at < wide.size();) {
        const DWORD chunk = static_cast<DWORD>(std::min(kConsoleChunk, wide.size() - at));
        DWORD written = 0;
        if (!WriteConsoleW(handle_, wide.data() + at, chunk, &written, nullptr) || written == 0) {
            return false;
        }
        at += written;
    }
    return true;
}

std::vector<std::string> Utf8Arguments(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        const std::wstring wide(argv[i]);
        std::string utf8;
        if (!wide.empty()) {
            const int length = static_cast<int>(wide.size());
            // An unpaired surrogate, which no file name can hold either, becomes U+FFFD.
            const int bytes =
                WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
            utf8.resize(static_cast<std::size_t>(std::max(bytes, 0)));
            WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, utf8.data(), bytes, nullptr,
                                nullptr);
        }
        args.push_back(std::move(utf8));
    }
    return args;
}

}  // namespace orvo::console
