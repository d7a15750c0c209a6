#include "ProfileReader.h"

#include <windows.h>

namespace orvo {

std::wstring ProfileReader::ReadProfileText(const std::wstring& section, const std::wstring& key,
                                            const std::wstring& fileName) const {
    wchar_t buffer[kResultCapacity] = {};
    // A bare name would be looked for in the Windows folder: ".\\" keeps it in the current one.
    const bool bare = fileName.find_first_of(L"\\/:") == std::wstring::npos;
    const std::wstring path = bare ? L".\\" + fileName : fileName;
    // The buffer stays terminated whatever the call does, even for an empty key.
    GetPrivateProfileStringW(section.c_str(), key.c_str(), L"", buffer, kResultCapacity,
                             path.c_str());
    return std::wstring(buffer);
}

}  // namespace orvo
