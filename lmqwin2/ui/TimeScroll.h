#pragma once

// Time scrolling of the main window: the next range of the zoom stack when the user
// scrolls the zoomed time window left or right by a third of its width.

#include <cstdint>
#include <limits>

namespace lmq {

struct TimeWindow {
    int32_t Start = 0;
    int32_t End = 0;
    friend bool operator==(const TimeWindow&, const TimeWindow&) = default;
};

// Widths of 1 and 2 seconds move by one second; scrolling left never starts below 0
// (the range then keeps its width from 0); scrolling right has no upper bound.
// (Ranges at the ends of the 32-bit range stop there instead of wrapping around.)
inline TimeWindow ScrolledTimeWindow(TimeWindow top, bool right)
{
    auto clamp = [](int64_t v) {
        return int32_t(v < std::numeric_limits<int32_t>::min() ? std::numeric_limits<int32_t>::min() : v > std::numeric_limits<int32_t>::max() ? std::numeric_limits<int32_t>::max() : v);
    };
    int64_t width = int64_t(top.End) - top.Start;
    if (width == 1 || width == 2)
        width = 3;
    const int64_t step = width / 3;
    if (right)
        return {clamp(top.Start + step), clamp(top.End + step)};
    TimeWindow left{clamp(top.Start - step), clamp(top.End - step)};
    if (left.Start < 0)
        left = {0, clamp(int64_t(top.End) - top.Start)};
    return left;
}

} // namespace lmq
