// The approved-images list, for any text: its images, their lines and the lines not understood,
// against the format read plainly, line by line; and every image found is approved, an unlisted
// sum is not.
//
// Input: the list's text.
#include "ApprovedImages.h"
#include "FuzzCheck.h"

#include <string>
#include <vector>

namespace {

using orvo::fuzz::Escaped;

struct Expected {
    std::vector<orvo::ApprovedImage> images;
    std::vector<int> notUnderstood;
};

bool Hex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The format written out: "<64 hex>  <name>" or "<64 hex> *<name>", an optional backslash and
// blanks before; blank lines and '#' comments skipped; CR LF or LF; a byte-order mark first.
Expected Read(std::string text) {
    Expected expected;
    if (text.rfind("\xEF\xBB\xBF", 0) == 0)
        text.erase(0, 3);
    std::vector<std::string> lines;
    std::string line;
    for (char c : text) {
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
        } else {
            line += c;
        }
    }
    if (!line.empty())
        lines.push_back(line);
    for (std::size_t n = 0; n < lines.size(); ++n) {
        std::string l = lines[n];
        if (!l.empty() && l.back() == '\r')
            l.pop_back();
        std::size_t at = 0;
        while (at < l.size() && (l[at] == ' ' || l[at] == '\t')) ++at;
        if (at == l.size() || l[at] == '#')
            continue;
        if (l[at] == '\\')
            ++at;
        bool ok = l.size() >= at + 67;
        std::string sum;
        for (std::size_t i = 0; ok && i < 64; ++i) {
            ok = Hex(l[at + i]);
            sum += Lower(l[at + i]);
        }
        ok = ok && l[at + 64] == ' ' && (l[at + 65] == ' ' || l[at + 65] == '*');
        if (!ok) {
            expected.notUnderstood.push_back(static_cast<int>(n + 1));
            continue;
        }
        expected.images.push_back({sum, l.substr(at + 66), static_cast<int>(n + 1)});
    }
    return expected;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const orvo::ApprovedImageList list = orvo::ParseApprovedImages(text);
    const Expected expected = Read(text);
    FUZZ_CHECK_SAYING(list.images.size() == expected.images.size(), Escaped(text));
    for (std::size_t i = 0; i < list.images.size(); ++i) {
        FUZZ_CHECK_SAYING(list.images[i].sha256 == expected.images[i].sha256, Escaped(text));
        FUZZ_CHECK_SAYING(list.images[i].name == expected.images[i].name, Escaped(text));
        FUZZ_CHECK_SAYING(list.images[i].line == expected.images[i].line, Escaped(text));
        FUZZ_CHECK(list.Approves(expected.images[i].sha256));
    }
    FUZZ_CHECK_SAYING(list.linesNotUnderstood == expected.notUnderstood, Escaped(text));
    // A sum of no line: 64 digits that no line's sum is.
    std::string unlisted(64, 'g');
    FUZZ_CHECK(!list.Approves(unlisted));
    return 0;
}
