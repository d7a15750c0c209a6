// orvo-make-image: builds an upgrade file.
//   orvo-make-image OUT SEGMENT_FILE...          the segments' files in order (the first is
//                                                the internal part)
//   orvo-make-image --random OUT SIZE... [--seed N]   segments of random bytes of these sizes
#include "ImageFiles.h"
#include "ImageMaker.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

namespace {

bool ParseSize(const std::string& text, std::size_t& size) {
    char* end = nullptr;
    size = std::strtoull(text.c_str(), &end, 0);
    return !text.empty() && *end == '\0' && text[0] != '-';
}

int Usage() {
    std::fprintf(stderr,
                 "usage: orvo-make-image OUT SEGMENT_FILE...\n"
                 "       orvo-make-image --random OUT SIZE... [--seed N]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    const bool random = !args.empty() && args[0] == "--random";
    if (random) {
        args.erase(args.begin());
    }
    std::uint32_t seed = 1;
    if (random && args.size() >= 2 && args[args.size() - 2] == "--seed") {
        seed = static_cast<std::uint32_t>(std::strtoul(args.back().c_str(), nullptr, 0));
        args.resize(args.size() - 2);
    }
    if (args.size() < 2) {
        return Usage();
    }
    const std::string out = args[0];
    try {
        std::vector<orvo::sim::Bytes> segments;
        for (std::size_t i = 1; i < args.size(); ++i) {
            std::size_t size = 0;
            if (random && !ParseSize(args[i], size)) {
                return Usage();
            }
            if (random) {
                segments.push_back(orvo::sim::RandomBytes(size, seed + static_cast<int>(i)));
            } else if (auto bytes = orvo::tools::ReadWholeFile(args[i])) {
                segments.push_back(std::move(*bytes));
            } else {
                std::fprintf(stderr, "cannot read %s\n", args[i].c_str());
                return 1;
            }
        }
        if (!orvo::tools::WriteWholeFile(out, orvo::sim::MakeUpgradeImage(segments))) {
            std::fprintf(stderr, "cannot write %s\n", out.c_str());
            return 1;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
