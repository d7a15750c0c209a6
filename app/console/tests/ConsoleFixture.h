#pragma once
// orvo run in-process, in a folder of its own with the sample CONFIG.INI and language.ini and
// an upgrade image under the name CONFIG.INI gives, on a simulated device.
#include "ImageMaker.h"
#include "PipeLibrary.h"
#include "SimulatedDevice.h"
#include "StopRequests.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvo::testing {

struct OrvoRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

class ConsoleFixture : public ::testing::Test {
protected:
    ConsoleFixture();

    OrvoRun Orvo(const std::vector<std::string>& args) { return Orvo(args, device); }
    OrvoRun Orvo(const std::vector<std::string>& args, PipeLibrary& pipes);

    // The parts the device received, as the file holds them.
    std::vector<std::uint8_t> ImageInternal() const;
    std::vector<std::uint8_t> ImageExternal() const;

    TempFolder folder;
    ScopedCurrentDir inFolder{folder.Path()};
    sim::SimulatedDevice device;
    console::StopRequests stops;
    const image::Bytes image = image::MakeRandomImage({5000, 4000, 5000});
};

// The device's pipes, asking `stops` to stop once `frames` frames have been written: a Ctrl-C
// in the middle of a transfer.
class StopAfterFrames : public PipeLibrary {
public:
    StopAfterFrames(PipeLibrary& pipes, console::StopRequests& stops, int frames)
        : pipes_(pipes), stops_(stops), framesLeft_(frames) {}
    int WriteData(int pipe, unsigned char* data, int length, int timeoutMs) override {
        if (--framesLeft_ == 0) {
            stops_.Request();
        }
        return pipes_.WriteData(pipe, data, length, timeoutMs);
    }
    int ReadData(int pipe, unsigned char* data, int length, int timeoutMs) override {
        return pipes_.ReadData(pipe, data, length, timeoutMs);
    }

private:
    PipeLibrary& pipes_;
    console::StopRequests& stops_;
    int framesLeft_;
};

}  // namespace orvo::testing
