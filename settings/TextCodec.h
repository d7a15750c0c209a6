#pragma once
// Conversions between wide (UI) texts and 8-bit texts in a Windows code page.
//
// Windows builds use the system's own conversions. Other builds have a portable codec that
// knows only these code pages:
//   0 (the ANSI code page) and 1252  Windows Western European; unmappable characters become '?'
//                                    (Windows may pick a look-alike instead)
//   28591                            ISO 8859-1 (Latin-1); unmappable characters become '?'
//   20127                            US-ASCII; unmappable characters become '?'
//   65001                            UTF-8; malformed bytes decode to U+FFFD
// Every other code page is unknown there and fails, as an uninstalled code page does on Windows.
// The portable ANSI code page is 1252.
#include <optional>
#include <string>
#include <string_view>

namespace orvo {

inline constexpr int kAnsiCodePage = 0;  // CP_ACP: whatever the system's ANSI code page is
inline constexpr int kUtf8CodePage = 65001;

// Nothing when the code page is unknown.
std::optional<std::string> EncodeText(std::wstring_view text, int codePage);
std::optional<std::wstring> DecodeText(std::string_view bytes, int codePage);

// A section or language name in the language's code page, as the settings store it: at most
// twice the text's length in bytes and at most 255 bytes. A text that does not fit, or a code
// page that is unknown, gives the empty text.
std::string ToNarrow(std::wstring_view text, int codePage);

// Settings values are narrow texts in the ANSI code page; an unconvertible one reads as empty.
std::wstring FromAnsi(std::string_view bytes);
std::string ToAnsi(std::wstring_view text);

// File paths are narrow texts in UTF-8 on every platform (DurableFile.h). A path that is a
// settings value, in the ANSI code page, is converted when it is read.
std::wstring FromUtf8(std::string_view bytes);
std::string ToUtf8(std::wstring_view text);
std::string Utf8FromAnsi(std::string_view bytes);

}  // namespace orvo
