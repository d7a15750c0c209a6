#include "TextCodec.h"

namespace orvo {

namespace {
constexpr std::size_t kNarrowBufferBytes = 256;  // including the terminator
}

std::string ToNarrow(std::wstring_view text, int codePage) {
    auto narrow = EncodeText(text, codePage);
    if (!narrow || narrow->size() > 2 * text.size() || narrow->size() >= kNarrowBufferBytes) {
        return {};
    }
    return *narrow;
}

std::wstring FromAnsi(std::string_view bytes) {
    return DecodeText(bytes, kAnsiCodePage).value_or(std::wstring());
}

std::string ToAnsi(std::wstring_view text) {
    return EncodeText(text, kAnsiCodePage).value_or(std::string());
}

std::wstring FromUtf8(std::string_view bytes) {
    return DecodeText(bytes, kUtf8CodePage).value_or(std::wstring());
}

std::string ToUtf8(std::wstring_view text) {
    return EncodeText(text, kUtf8CodePage).value_or(std::string());
}

std::string Utf8FromAnsi(std::string_view bytes) {
    return ToUtf8(FromAnsi(bytes));
}

}  // namespace orvo
