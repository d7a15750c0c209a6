#include "ProfileReader.h"

#include <filesystem>

namespace orvo {

std::wstring ProfileReader::ReadProfileText(const std::wstring& section, const std::wstring& key,
                                            const std::wstring& fileName) const {
    const std::filesystem::path path = std::filesystem::path(".") / fileName;
    return ReadProfileFileValue(path.string(), section, key);
}

}  // namespace orvo
