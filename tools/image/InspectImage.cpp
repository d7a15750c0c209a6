// inspect-image FILE: prints the upgrade file's segment table, its parts and block
// counts, and whether the tool would accept it (exit code 0) or refuse it (1), and why.
#include "ImageFiles.h"
#include "ImageReport.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: inspect-image FILE\n");
        return 2;
    }
    const auto file = orvo::tools::ReadWholeFile(argv[1]);
    if (!file) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 2;
    }
    const orvo::tools::ImageReport report = orvo::tools::InspectImage(*file);
    std::fputs(report.text.c_str(), stdout);
    return report.accepted ? 0 : 1;
}
