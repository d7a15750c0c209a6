#include "ConsoleFixture.h"

#include "Orvo.h"
#include "UpgradeImage.h"

#include <sstream>

namespace orvo::testing {

ConsoleFixture::ConsoleFixture() {
    folder.CopyIn(ORVO_DATA_DIR, {"CONFIG.INI", "language.ini", "burn_sn.txt"});
    folder.Write("orvo_upgrade.bin", std::string(image.begin(), image.end()));
}

OrvoRun ConsoleFixture::Orvo(const std::vector<std::string>& args, PipeLibrary& pipes) {
    std::ostringstream out;
    std::ostringstream err;
    OrvoRun run;
    run.exitCode = console::RunOrvo(args, pipes, {out, err, false}, stops);
    run.out = out.str();
    run.err = err.str();
    return run;
}

std::vector<std::uint8_t> ConsoleFixture::ImageInternal() const {
    return {image.begin() + kImageHeaderLength, image.begin() + kImageHeaderLength + 5000};
}

std::vector<std::uint8_t> ConsoleFixture::ImageExternal() const {
    return {image.begin() + kImageHeaderLength + 5000, image.end()};
}

}  // namespace orvo::testing
