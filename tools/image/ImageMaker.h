#pragma once
// Valid upgrade images, for make-image, tests, benchmarks and the simulated device's sample: a
// header whose table lists the segments in order from offset 256, then the segments' bytes.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace orvo::image {

using Bytes = std::vector<std::uint8_t>;

Bytes MakeUpgradeImage(const std::vector<Bytes>& segments);
// Segments of the given sizes filled with bytes from a fixed generator seeded by `seed`.
Bytes MakeRandomImage(const std::vector<std::size_t>& segmentSizes, std::uint32_t seed = 1);
Bytes RandomBytes(std::size_t count, std::uint32_t seed);

}  // namespace orvo::image
