#include "ProfileReader.h"

#include <windows.h>

namespace orvo {

std::wstring ProfileReader::ReadProfileText(const std::wstring& section, const std::wstring& key,
                                            const std::wstring& fileName) const {
    wchar_t buffer[kResultCapacity] = {};
    const std::wstring path = L".\\" + fileName;
    // The buffer stays terminated whatever the call does, even for an empty key.
    GetPrivateProfileStringW(section.c_str(), key.c_str(), L"", buffer, kResultCapacity,
                             path.c_str());
    return std::wstring(buffer);
}

}  // namespace orvo
