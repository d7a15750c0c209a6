// make-image: writes a valid upgrade image.
//   make-image OUTPUT SEED SIZE [SIZE...]           segments of these sizes, seeded random bytes
//   make-image --from-files OUTPUT FILE [FILE...]   the files' bytes as the segments, in order
//                                                   (the first is the internal part)
// The simulated device's sample image is made this way (see testbed/sim/sample/README.md).
#include "ImageFiles.h"
#include "ImageMaker.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <optional>
#include <string>
#include <vector>

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: make-image OUTPUT SEED SIZE [SIZE...]\n"
                 "       make-image --from-files OUTPUT FILE [FILE...]\n");
    return 2;
}

std::optional<unsigned long long> ParseNumber(const std::string& text) {
    char* end = nullptr;
    const unsigned long long value = std::strtoull(text.c_str(), &end, 10);
    if (text.empty() || text[0] == '-' || *end != '\0') {
        return std::nullopt;
    }
    return value;
}

std::optional<orvo::image::Bytes> RandomImage(const std::vector<std::string>& args) {
    const auto seed = ParseNumber(args[1]);
    std::vector<std::size_t> sizes;
    for (std::size_t i = 2; i < args.size(); ++i) {
        const auto size = ParseNumber(args[i]);
        if (!size) {
            return std::nullopt;
        }
        sizes.push_back(static_cast<std::size_t>(*size));
    }
    if (!seed) {
        return std::nullopt;
    }
    return orvo::image::MakeRandomImage(sizes, static_cast<std::uint32_t>(*seed));
}

std::optional<orvo::image::Bytes> ImageFromFiles(const std::vector<std::string>& args) {
    std::vector<orvo::image::Bytes> segments;
    for (std::size_t i = 1; i < args.size(); ++i) {
        auto bytes = orvo::tools::ReadWholeFile(args[i]);
        if (!bytes) {
            std::fprintf(stderr, "make-image: cannot read %s\n", args[i].c_str());
            return std::nullopt;
        }
        segments.push_back(std::move(*bytes));
    }
    return orvo::image::MakeUpgradeImage(segments);
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    const bool fromFiles = !args.empty() && args[0] == "--from-files";
    if (fromFiles) {
        args.erase(args.begin());
    }
    if (args.size() < (fromFiles ? 2u : 3u)) {
        return Usage();
    }
    try {
        const auto image = fromFiles ? ImageFromFiles(args) : RandomImage(args);
        if (!image) {
            return fromFiles ? 1 : Usage();
        }
        if (!orvo::tools::WriteWholeFile(args[0], *image)) {
            std::fprintf(stderr, "make-image: cannot write %s\n", args[0].c_str());
            return 1;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make-image: %s\n", e.what());
        return 1;
    }
    return 0;
}
