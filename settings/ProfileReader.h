#pragma once
// Reads one value of an INI file the way the platform's private-profile reader does; the tool
// reads language.ini this way.
//
// Windows builds ask GetPrivateProfileStringW, with ".\" before a bare file name so the file is
// taken from the current directory (a name with a folder is taken as it stands). Other builds use
// ParseProfileValue below, which gives the same answers:
//   - a UTF-8 BOM, or a UTF-16LE/BE signature, selects that encoding; anything else is read in
//     the ANSI code page (see TextCodec.h);
//   - lines end at CR or LF and are trimmed of white space (and ^Z) at both ends;
//   - a section header is '[' up to the last ']' of its line; a line starting with '[' that has
//     no ']' after it is an ordinary line;
//   - a key line splits at its first '='; the name is trimmed on the right, the value on the
//     left; a line without '=' is a name without a value and reads as the default;
//   - names match without regard to the case of ASCII letters (other letters must match
//     exactly) after trimming the names asked for; the first matching section is the only one
//     searched, the first matching key wins; lines before the first header form a section
//     whose name is empty, and an empty key finds a line that starts with '=';
//   - a value wrapped in matching single or double quotes loses them;
//   - at most kResultCapacity - 1 characters come back.
// A missing file, section or key reads as the empty text.
#include <string>
#include <string_view>

namespace orvo {

class ProfileReader {
public:
    static constexpr std::size_t kResultCapacity = 256;  // characters, terminator included

    virtual ~ProfileReader() = default;

    std::wstring ReadProfileText(const std::wstring& section, const std::wstring& key,
                                 const std::wstring& fileName) const;
};

// The portable reader over the bytes of a whole file.
std::wstring ParseProfileValue(std::string_view fileBytes, std::wstring_view section,
                               std::wstring_view key);

// The portable reader over a file; also built on Windows, where tests compare it with the
// platform's reader.
std::wstring ReadProfileFileValue(const std::string& path, std::wstring_view section,
                                  std::wstring_view key);

}  // namespace orvo
