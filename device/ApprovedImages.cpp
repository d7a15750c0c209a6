#include "ApprovedImages.h"

#include <fstream>
#include <sstream>
#include <system_error>

namespace orvo {
namespace {

constexpr std::size_t kSha256HexLength = 64;
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// One line without its line end: an image, a comment or blank (true, `image` left empty), or
// not understood (false).
bool ReadLine(std::string_view line, ApprovedImage& image) {
    std::size_t first = 0;
    while (first < line.size() && IsBlank(line[first])) {
        ++first;
    }
    if (first == line.size() || line[first] == '#') {
        return true;
    }
    // sha256sum writes a backslash first when it had to escape the name.
    std::string_view rest = line.substr(first + (line[first] == '\\' ? 1 : 0));
    if (rest.size() < kSha256HexLength + 3) {
        return false;
    }
    std::string sha256(kSha256HexLength, '0');
    for (std::size_t i = 0; i < kSha256HexLength; ++i) {
        const int value = HexValue(rest[i]);
        if (value < 0) {
            return false;
        }
        sha256[i] = "0123456789abcdef"[value];
    }
    const char mode = rest[kSha256HexLength + 1];
    if (rest[kSha256HexLength] != ' ' || (mode != ' ' && mode != '*')) {
        return false;
    }
    image.sha256 = std::move(sha256);
    image.name = std::string(rest.substr(kSha256HexLength + 2));
    return true;
}

}  // namespace

bool ApprovedImageList::Approves(std::string_view sha256) const {
    return state == State::kNoList || Find(sha256) != nullptr;
}

const ApprovedImage* ApprovedImageList::Find(std::string_view sha256) const {
    if (state != State::kRead) {
        return nullptr;
    }
    for (const ApprovedImage& image : images) {
        if (image.sha256 == sha256) {
            return &image;
        }
    }
    return nullptr;
}

ApprovedImageList ParseApprovedImages(std::string_view text) {
    ApprovedImageList list;
    list.state = ApprovedImageList::State::kRead;
    if (text.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
        text.remove_prefix(kUtf8Bom.size());
    }
    int number = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        ++number;
        ApprovedImage image;
        if (!ReadLine(line, image)) {
            list.linesNotUnderstood.push_back(number);
        } else if (!image.sha256.empty()) {
            image.line = number;
            list.images.push_back(std::move(image));
        }
    }
    return list;
}

ApprovedImageList LoadApprovedImages(const std::filesystem::path& file) {
    ApprovedImageList list;
    list.file = file;
    std::error_code error;
    if (file.empty() ||
        std::filesystem::status(file, error).type() == std::filesystem::file_type::not_found) {
        return list;
    }
    // A list that is there but cannot be read, or is no file, approves nothing.
    list.state = ApprovedImageList::State::kUnreadable;
    std::ifstream stream(file, std::ios::binary);
    if (error || !std::filesystem::is_regular_file(file, error) || !stream) {
        return list;
    }
    std::ostringstream text;
    text << stream.rdbuf();
    if (stream.bad()) {
        return list;
    }
    ApprovedImageList read = ParseApprovedImages(text.str());
    read.file = file;
    return read;
}

std::string ApprovedImageLine(std::string_view sha256, const std::string& name) {
    return std::string(sha256) + "  " + std::filesystem::path(name).filename().string();
}

}  // namespace orvo
