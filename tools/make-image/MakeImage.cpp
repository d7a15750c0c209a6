// Writes a valid upgrade image whose segments have the given sizes and seeded random bytes:
//   make-image OUTPUT SEED SIZE [SIZE...]
// The simulated device's sample image is made this way (see sim/sample/README).
#include "ImageMaker.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: make-image OUTPUT SEED SIZE [SIZE...]\n");
        return 2;
    }
    std::vector<std::size_t> sizes;
    for (int i = 3; i < argc; ++i) {
        sizes.push_back(std::strtoul(argv[i], nullptr, 10));
    }
    const auto image =
        orvo::sim::MakeRandomImage(sizes, static_cast<std::uint32_t>(std::strtoul(argv[2], nullptr, 10)));
    std::FILE* out = std::fopen(argv[1], "wb");
    if (out == nullptr || std::fwrite(image.data(), 1, image.size(), out) != image.size() ||
        std::fclose(out) != 0) {
        std::fprintf(stderr, "make-image: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
