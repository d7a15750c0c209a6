#include "ProgressLine.h"

#include <cstdio>

namespace orvo::console {

int PercentDone(int done, int total) {
    return total <= 0 ? 100 : static_cast<int>(100LL * done / total);
}

std::string FormatProgressLine(const ProgressFigures& figures, int blockSize) {
    char line[128];
    int length = std::snprintf(
        line, sizeof line, "%.*s part  %d/%d blocks  %d%%", static_cast<int>(figures.part.size()),
        figures.part.data(), figures.done, figures.total, PercentDone(figures.done, figures.total));
    if (figures.bytesPerSecond > 0 && length > 0) {
        const double bytesLeft = static_cast<double>(figures.total - figures.done) * blockSize;
        const long secondsLeft = static_cast<long>(bytesLeft / figures.bytesPerSecond + 0.5);
        std::snprintf(line + length, sizeof line - static_cast<std::size_t>(length),
                      "  %.1f MB/s  %ld:%02ld left", figures.bytesPerSecond / 1e6, secondsLeft / 60,
                      secondsLeft % 60);
    }
    return line;
}

}  // namespace orvo::console
