#include "TextCodec.h"

#include <windows.h>

#include <climits>

namespace orvo {

std::optional<std::string> EncodeText(std::wstring_view text, int codePage) {
    if (text.empty()) {
        return std::string();
    }
    if (text.size() > INT_MAX / 4) {
        return std::nullopt;
    }
    int length = static_cast<int>(text.size());
    int bytes = WideCharToMultiByte(static_cast<UINT>(codePage), 0, text.data(), length, nullptr, 0,
                                    nullptr, nullptr);
    if (bytes <= 0) {
        return std::nullopt;
    }
    std::string result(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(static_cast<UINT>(codePage), 0, text.data(), length, result.data(), bytes,
                        nullptr, nullptr);
    return result;
}

std::optional<std::wstring> DecodeText(std::string_view bytes, int codePage) {
    if (bytes.empty()) {
        return std::wstring();
    }
    if (bytes.size() > INT_MAX / 2) {
        return std::nullopt;
    }
    int length = static_cast<int>(bytes.size());
    int chars =
        MultiByteToWideChar(static_cast<UINT>(codePage), 0, bytes.data(), length, nullptr, 0);
    if (chars <= 0) {
        return std::nullopt;
    }
    std::wstring result(static_cast<std::size_t>(chars), L'\0');
    MultiByteToWideChar(static_cast<UINT>(codePage), 0, bytes.data(), length, result.data(), chars);
    return result;
}

}  // namespace orvo
