#pragma once
// An approved-images list of a test's own (ApprovedImages.h), in place of the one beside the
// program while the guard lives, and the list's line for an image.
#include "ApprovedImages.h"
#include "ImageMaker.h"
#include "SettingsFiles.h"
#include "Sha256.h"

#include <filesystem>
#include <string>

namespace orvo::testing {

class ScopedApprovedList {
public:
    explicit ScopedApprovedList(const std::filesystem::path& file) {
        settings::UseApprovedImagesFile(file);
    }
    ~ScopedApprovedList() { settings::UseApprovedImagesFile({}); }
    ScopedApprovedList(const ScopedApprovedList&) = delete;
    ScopedApprovedList& operator=(const ScopedApprovedList&) = delete;
};

inline std::string SumOf(const image::Bytes& bytes) {
    return Sha256Hex(bytes.data(), bytes.size());
}

// "<sum>  <name>", as sha256sum writes it, with the line end of a list made on Windows.
inline std::string ListLine(const image::Bytes& bytes, const std::string& name) {
    return ApprovedImageLine(SumOf(bytes), name) + "\r\n";
}

}  // namespace orvo::testing
