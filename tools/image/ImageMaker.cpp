#include "ImageMaker.h"

#include "UpgradeImage.h"

#include <random>
#include <stdexcept>

namespace orvo::image {

Bytes MakeUpgradeImage(const std::vector<Bytes>& segments) {
    if (segments.empty() || segments.size() > kMaxImageSegments) {
        throw std::invalid_argument("an upgrade image holds 1 to 51 segments");
    }
    Bytes image(kImageHeaderLength, 0);
    image[0] = static_cast<std::uint8_t>(segments.size());
    for (std::size_t i = 0; i < segments.size(); ++i) {
        const std::uint64_t offset = image.size();
        if (offset > UINT32_MAX) {
            throw std::invalid_argument("segment offset beyond 32 bits");
        }
        std::uint8_t* entry = image.data() + 1 + 5 * i;
        entry[1] = static_cast<std::uint8_t>(offset >> 24);
        entry[2] = static_cast<std::uint8_t>(offset >> 16);
        entry[3] = static_cast<std::uint8_t>(offset >> 8);
        entry[4] = static_cast<std::uint8_t>(offset);
        image.insert(image.end(), segments[i].begin(), segments[i].end());
    }
    return image;
}

Bytes MakeRandomImage(const std::vector<std::size_t>& segmentSizes, std::uint32_t seed) {
    std::vector<Bytes> segments;
    for (std::size_t size : segmentSizes) {
        segments.push_back(RandomBytes(size, seed++));
    }
    return MakeUpgradeImage(segments);
}

Bytes RandomBytes(std::size_t count, std::uint32_t seed) {
    std::minstd_rand generator(seed);
    Bytes bytes(count);
    for (auto& byte : bytes) {
        byte = static_cast<std::uint8_t>(generator() >> 8);
    }
    return bytes;
}

}  // namespace orvo::image
