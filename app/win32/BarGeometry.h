#pragma once
// How much of the text progress bar is filled and what its percentage reads, shared by the
// painting and by the position change that decides whether to repaint.
//
// Both are the truncated share of the range that is done, computed exactly in integers: a
// floating-point fraction truncates differently from one build to another (x87 against SSE)
// whenever the true value is a whole number, as 17 of 51 blocks on 258 pixels is.
#include <string>

namespace orvo {

// The done part of the range, clamped to the range; an empty or inverted range (lower >=
// upper) is an empty bar.
struct BarProgress {
    long long done = 0;
    long long total = 1;
};

inline BarProgress ProgressOf(int position, int lower, int upper) {
    if (lower >= upper) {
        return {};
    }
    long long total = static_cast<long long>(upper) - lower;
    long long done = static_cast<long long>(position) - lower;
    return {done < 0 ? 0 : done > total ? total : done, total};
}

// Width in pixels of the filled part.
inline int BarWidth(int clientWidth, BarProgress progress) {
    return static_cast<int>(clientWidth * progress.done / progress.total);
}

// The text shown when there is no status text: "99%" at 999 of 1000.
inline std::wstring PercentText(BarProgress progress) {
    return std::to_wstring(100 * progress.done / progress.total) + L"%";
}

}  // namespace orvo
