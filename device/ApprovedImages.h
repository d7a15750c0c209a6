#pragma once
// The approved-images list, which IT puts beside the program as `approved-images.sha256`: when
// it exists, only an upgrade file whose SHA-256 it lists goes to a device (UpgradeTransfer.h
// takes the sum of the very bytes it then sends). Its lines are those sha256sum writes,
// "<64 hex digits>  <file name>" ('*' in place of the second space for a binary-mode sum,
// upper-case digits too, blanks and a backslash before); a line whose first character but
// blanks is '#' is a comment, and blank lines are skipped. The
// name says which file the line is for, for people: the sum alone decides, so an image approved
// under another name is approved all the same. A line of any other form approves nothing and is
// counted, for `orvo inspect` to show.
//
// Without the file, every image that keeps the image rules is sent, as before there was a list.
// A list that exists but cannot be read approves nothing.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace orvo {

struct ApprovedImage {
    std::string sha256;  // 64 lower-case hex digits
    std::string name;
    int line = 0;  // from 1
};

struct ApprovedImageList {
    enum class State { kNoList, kRead, kUnreadable };
    State state = State::kNoList;
    std::filesystem::path file;
    std::vector<ApprovedImage> images;
    std::vector<int> linesNotUnderstood;  // from 1

    // Whether an image of this SHA-256 (lower-case hex) may be sent: any without a list.
    bool Approves(std::string_view sha256) const;
    // The first line that lists this SHA-256; null when none does.
    const ApprovedImage* Find(std::string_view sha256) const;
};

// The lines of a list's text (a UTF-8 byte-order mark and CR LF line ends allowed).
ApprovedImageList ParseApprovedImages(std::string_view text);
// The list in `file`: state kNoList when there is no such file (or `file` is empty).
ApprovedImageList LoadApprovedImages(const std::filesystem::path& file);

// A line of the list for an image of this SHA-256, named by `name` without its folder.
std::string ApprovedImageLine(std::string_view sha256, const std::string& name);

}  // namespace orvo
