// How the tool takes the device's answers: pipes that answer every call as the input says
// (write counts, read counts, any reply bytes, lying counts included) under a single exchange,
// the short commands, the serial-number read and write, and a whole upgrade. Each result, the
// frames sent and the message shown are checked against the exchange rule applied to what the
// pipes did: an exchange succeeds when the write moved the whole frame, reply byte 2 is not the
// failure code and the read brought 16 bytes; a run stops at its first failed exchange.
//
// Input: a scenario byte, a byte for the command code or the ticked boxes, then one byte per
// pipe call (0: the call succeeds with a proper reply), reads taking their reply bytes after it.
#include "DeviceLink.h"
#include "FakeDialogControls.h"
#include "FuzzCheck.h"
#include "ImageMaker.h"
#include "RecordingView.h"
#include "SerialProgramming.h"
#include "UpgradeTransfer.h"
#include "WorkerThread.h"

#include <algorithm>
#include <array>

namespace {

using namespace orvo::fuzz;
using Reply = std::array<std::uint8_t, 16>;

struct Call {
    bool write;
    int pipe;
    int length;
    int result;
    std::uint8_t code;  // write: frame byte 2
    Reply reply;        // read: the buffer as the call left it
};

class ScriptedPipes : public orvo::PipeLibrary {
public:
    explicit ScriptedPipes(FuzzInput& script) : script_(script) {}

    int WriteData(int pipe, unsigned char* data, int length, int) override {
        const std::uint8_t how = script_.Byte();
        const int results[] = {length, -1, length - 1, 0, length + 1};
        const int result = results[how % 5];
        lastCode_ = pipe == 1 && length > 2 ? data[2] : 1;
        calls.push_back({true, pipe, length, result, length > 2 ? data[2] : std::uint8_t{0}, {}});
        return result;
    }

    int ReadData(int pipe, unsigned char* data, int length, int) override {
        const std::uint8_t how = script_.Byte();
        Call call{false, pipe, length, 16, 0, {}};
        if (how == 0) {
            // What a device says when all is well: the code plus 0x80, 0x81 for data.
            Reply reply{0x55, 0xAA, static_cast<std::uint8_t>(lastCode_ + 0x80)};
            std::copy_n(reply.begin(), std::min(length, 16), data);
        } else {
            call.result = how % 19 - 1;  // -1 to 17: lying counts as well
            const int filled = std::clamp(call.result, 0, std::min(length, 16));
            for (int i = 0; i < filled; ++i) data[i] = script_.Byte();
        }
        std::copy_n(data, std::min(length, 16), call.reply.begin());
        calls.push_back(call);
        return call.result;
    }

    std::vector<Call> calls;

private:
    FuzzInput& script_;
    std::uint8_t lastCode_ = 0;
};

struct Exchange {
    std::size_t write;  // index of its write in the calls
    bool ok;
    Reply reply;  // zeros when nothing was read
};

// Splits the calls into exchanges: a read follows exactly the writes that moved their frame.
std::vector<Exchange> Exchanges(const std::vector<Call>& calls) {
    std::vector<Exchange> exchanges;
    for (std::size_t i = 0; i < calls.size(); ++i) {
        FUZZ_CHECK(calls[i].write);
        Exchange exchange{i, false, {}};
        if (calls[i].result == calls[i].length) {
            FUZZ_CHECK(i + 1 < calls.size() && !calls[i + 1].write);
            FUZZ_CHECK(calls[i + 1].pipe == 0 && calls[i + 1].length == 16);
            exchange.reply = calls[++i].reply;
            exchange.ok = exchange.reply[2] != 8 && calls[i].result == 16;
        }
        exchanges.push_back(exchange);
    }
    return exchanges;
}

std::string ErrorKey(std::uint8_t code) {
    if (code == 0)
        return "T5";
    if (code <= 8)
        return "E" + std::to_string(code - 1);
    return "E9";
}

std::vector<std::string> Failure(std::uint8_t code) {
    return {ErrorKey(code)};
}

const std::string kNumber = "961990000123";

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    EnterScratchFolder();
    WriteFile("CONFIG.INI", "[FILE_PATH]\r\nUPGRADE_FILE=image.bin\r\nHISTORY_SN=history.txt\r\n");
    // Two blocks in each part, the last ones short.
    const auto image = orvo::image::MakeRandomImage({4352 + 100, 4096 + 50});
    WriteFile("image.bin", std::string(image.begin(), image.end()));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const int scenario = input.Byte() % 5;
    const std::uint8_t choice = input.Byte();
    ScriptedPipes pipes(input);
    orvo::testing::RecordingView texts;
    orvo::testing::FakeDialogControls controls;
    orvo::DeviceLink link(pipes, texts);

    switch (scenario) {
        case 0: {
            std::uint8_t frame[16] = {0x55, 0xAA, choice};
            std::uint8_t reply[16] = {};
            const int result = link.ExchangeFrame(frame, 16, 1, 1000, reply, 16, 0, 1000);
            const auto exchanges = Exchanges(pipes.calls);
            FUZZ_CHECK(exchanges.size() == 1);
            FUZZ_CHECK(result == (exchanges[0].ok ? 1 : -1));
            FUZZ_CHECK(texts.messages.empty());
            break;
        }
        case 1: {
            const bool result = link.SendShortCommand(choice);
            const auto exchanges = Exchanges(pipes.calls);
            FUZZ_CHECK(exchanges.size() == 1 && pipes.calls[0].code == choice);
            FUZZ_CHECK(result ==
                       (exchanges[0].ok && exchanges[0].reply[2] == ((choice + 0x80) & 0xFF)));
            FUZZ_CHECK(texts.messages.empty());
            break;
        }
        case 2: {
            std::uint8_t serial[12] = {};
            const int result = link.ReadDeviceSerial(serial);
            const auto exchanges = Exchanges(pipes.calls);
            FUZZ_CHECK(exchanges.size() == 1 && pipes.calls[0].code == 6);
            const Reply& reply = exchanges[0].reply;
            if (!exchanges[0].ok) {
                FUZZ_CHECK(result == 0 && texts.messages == Failure(reply[3]));
            } else if (reply[2] != 0x86) {
                FUZZ_CHECK(result == 0 && texts.messages == Failure(reply[2]));
            } else {
                FUZZ_CHECK(result == 1 && texts.messages.empty());
                FUZZ_CHECK(std::equal(serial, serial + 12, reply.begin() + 3));
            }
            break;
        }
        case 3: {
            RemoveFile("history.txt");
            RemoveFile("history.txt.journal");
            controls.SetChecked(orvo::control::kIncrease, choice & 1);
            controls.SetText(orvo::control::kSnField, L"field");
            orvo::WorkerThread idle;
            orvo::SerialProgramming serial(controls, link, texts, idle);
            const int result =
                serial.BurnSerialNumber(reinterpret_cast<const std::uint8_t*>(kNumber.data()));
            // The greeting, whatever its answers, then the write.
            const auto exchanges = Exchanges(pipes.calls);
            FUZZ_CHECK(exchanges.size() == 3 && pipes.calls[exchanges[2].write].code == 9);
            const Reply& reply = exchanges[2].reply;
            const bool burned = exchanges[2].ok && reply[2] == 0x89;
            FUZZ_CHECK(result == (burned ? 1 : 0));
            if (!exchanges[2].ok) {
                FUZZ_CHECK(texts.messages == Failure(reply[3]));
            } else if (!burned) {
                FUZZ_CHECK(texts.messages == std::vector<std::string>{"T7"});
            } else {
                FUZZ_CHECK(texts.messages.empty());
            }
            // Only a number the device took is recorded and counted on from.
            FUZZ_CHECK(ReadFile("history.txt") == (burned ? kNumber + "\r\n" : ""));
            FUZZ_CHECK(controls.GetText(orvo::control::kSnField) ==
                       (burned && (choice & 1) ? L"961990000124" : L"field"));
            break;
        }
        default: {
            const bool internal = choice & 1;
            const bool external = choice & 2;
            controls.SetChecked(orvo::control::kUpgradeInternal, internal);
            controls.SetChecked(orvo::control::kUpgradeExternal, external);
            static orvo::TransferKit kit;  // kept across inputs, as the tool keeps it
            const int result = orvo::RunUpgrade(link, ChosenParts(controls), texts, false, kit);
            // Start, then announce and data frame for each of two blocks, per part; the end.
            std::vector<std::uint8_t> planned;
            if (internal)
                planned.insert(planned.end(), {3, 1, 0, 1, 0});
            if (external)
                planned.insert(planned.end(), {4, 1, 0, 1, 0});
            if (internal || external)
                planned.push_back(2);
            const auto exchanges = Exchanges(pipes.calls);
            const auto failed = std::find_if(exchanges.begin(), exchanges.end(),
                                             [](const Exchange& e) { return !e.ok; });
            const std::size_t made = failed == exchanges.end()
                                         ? planned.size()
                                         : static_cast<std::size_t>(failed - exchanges.begin()) + 1;
            FUZZ_CHECK_SAYING(exchanges.size() == made, std::to_string(exchanges.size()) +
                                                            " exchanges, " + std::to_string(made) +
                                                            " expected");
            for (std::size_t i = 0; i < made; ++i) {
                const Call& write = pipes.calls[exchanges[i].write];
                FUZZ_CHECK(write.pipe == (planned[i] == 0 ? 3 : 1));
                FUZZ_CHECK(planned[i] == 0 ? write.code == 0x55 : write.code == planned[i]);
            }
            if (failed == exchanges.end()) {
                FUZZ_CHECK(result == 1 && texts.messages.empty() && texts.StatusKey() == "T2");
            } else {
                FUZZ_CHECK(result == 0 && texts.messages == Failure(failed->reply[3]));
                FUZZ_CHECK(texts.StatusKey() == "T3");
            }
            break;
        }
    }
    return 0;
}
