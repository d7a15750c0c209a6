// Frame building for any kind, length, command and source, into a separate buffer and in
// place, against the two layouts built by hand; any other kind or a length too short for the
// fixed bytes must leave the destination alone.
//
// Input: kind byte, command byte, 2 bytes of signed length (little-endian), the source bytes
// (padded with zeros to the length).
#include "Frames.h"
#include "FuzzCheck.h"

#include <vector>

namespace {

using namespace orvo::fuzz;
using Bytes = std::vector<std::uint8_t>;

constexpr std::uint8_t kUntouched = 0xEE;

bool Builds(int length, int kind) {
    return (kind == 0 && length > 3) || (kind == 1 && length >= 8);
}

Bytes Frame(const Bytes& source, int length, int kind, int command) {
    Bytes frame(source.begin(), source.begin() + length);
    frame[0] = 0x55;
    frame[1] = 0xAA;
    if (kind == 0) {
        frame[2] = static_cast<std::uint8_t>(command);
        unsigned sum = 0;
        for (int i = 0; i < length - 1; ++i) sum += frame[i];
        frame[length - 1] = static_cast<std::uint8_t>(sum);
        return frame;
    }
    frame[2] = 0x55;
    frame[3] = 0xAA;
    std::uint32_t sum = 0;
    for (int i = 0; i < length - 4; ++i) sum += frame[i];
    for (int b = 0; b < 4; ++b)
        frame[length - 4 + b] = static_cast<std::uint8_t>(sum >> (24 - 8 * b));
    return frame;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    // Kinds around the two real ones, negative ones included.
    const int kind = static_cast<int>(static_cast<std::int8_t>(input.Byte())) % 4;
    const int command = static_cast<int>(static_cast<std::int8_t>(input.Byte())) * 3;
    const std::uint8_t low = input.Byte();
    const int length = static_cast<std::int16_t>(low | input.Byte() << 8);
    const std::string rest = input.Rest();
    Bytes source(rest.begin(), rest.end());
    source.resize(static_cast<std::size_t>(std::max(length, 0)), 0);

    const bool builds = Builds(length, kind);
    const Bytes frame = builds ? Frame(source, length, kind, command) : Bytes();
    Bytes destination(source.size(), kUntouched);
    orvo::BuildFrame(source.data(), length, destination.data(), kind, command);
    FUZZ_CHECK(destination == (builds ? frame : Bytes(source.size(), kUntouched)));

    Bytes inPlace = source;
    orvo::BuildFrame(inPlace.data(), length, inPlace.data(), kind, command);
    FUZZ_CHECK(inPlace == (builds ? frame : source));
    return 0;
}
