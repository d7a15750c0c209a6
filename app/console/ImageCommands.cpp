// The commands on upgrade files, which need no device: inspect and approve.
#include "ApprovedImages.h"
#include "ConsoleSession.h"
#include "DurableFile.h"
#include "ImageReport.h"
#include "SettingsFiles.h"
#include "Sha256.h"
#include "TextKeys.h"

namespace orvo::console {
namespace {

std::string Sum(const std::string& bytes) {
    return Sha256Hex(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

// What the approved-images list beside the program says of an image of this sum.
std::string Approval(const ApprovedImageList& list, const std::string& sha256) {
    const std::string file = list.file.u8string();
    std::string text = "approved images: ";
    switch (list.state) {
        case ApprovedImageList::State::kNoList:
            return text + "no list (" + (file.empty() ? "the program's folder is unknown" : file) +
                   "): every file that keeps the image rules is sent\n";
        case ApprovedImageList::State::kUnreadable:
            return text + file + " cannot be read: no file is sent\n";
        case ApprovedImageList::State::kRead:
            break;
    }
    if (const ApprovedImage* image = list.Find(sha256)) {
        text += "approved by line " + std::to_string(image->line) + " of " + file + " (" +
                image->name + ")\n";
    } else {
        text += std::string("not approved: ") + file + " does not list this SHA-256; the file is " +
                "refused (" + text::kImageNotApproved + ")\n";
    }
    for (const int line : list.linesNotUnderstood) {
        text += "approved images: line " + std::to_string(line) + " of " + file +
                " is not understood and approves nothing\n";
    }
    return text;
}

}  // namespace

int InspectCommand(const ConsoleOptions& options, ConsoleReport& report) {
    const std::optional<std::string> bytes = ReadWholeFile(options.file);
    if (!bytes) {
        report.Note("cannot read " + options.file);
        return kExitFiles;
    }
    const ImageReport inspected =
        InspectImage(std::vector<std::uint8_t>(bytes->begin(), bytes->end()));
    const std::string sha256 = Sum(*bytes);
    const ApprovedImageList list = LoadApprovedImages(settings::ApprovedImagesFile());
    report.Result(inspected.text + "sha256: " + sha256 + "\n" + Approval(list, sha256));
    return inspected.accepted && list.Approves(sha256) ? kExitDone : kExitImageRefused;
}

int ApproveCommand(const ConsoleOptions& options, ConsoleReport& report) {
    int exitCode = kExitDone;
    const auto failed = [&exitCode](ExitCode code) {
        if (exitCode == kExitDone) {
            exitCode = code;
        }
    };
    for (const std::string& file : options.files) {
        const std::optional<std::string> bytes = ReadWholeFile(file);
        if (!bytes) {
            report.Note("cannot read " + file + "; no line for it");
            failed(kExitFiles);
        } else if (!InspectImage(std::vector<std::uint8_t>(bytes->begin(), bytes->end()))
                        .accepted) {
            report.Note(file + " breaks the image rules (orvo inspect " + file +
                        " says why); no line for it");
            failed(kExitImageRefused);
        } else {
            report.Result(ApprovedImageLine(Sum(*bytes), file) + "\n");
        }
    }
    return exitCode;
}

}  // namespace orvo::console
