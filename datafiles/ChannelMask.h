#pragma once
// The selection of acquisition channels shared by graphs, frames, statistics and options.

#include <bitset>

namespace lm {

inline constexpr int kChannelCount = 128;

// Bit c-1 stands for channel c (1-128).
using ChannelMask = std::bitset<kChannelCount>;

} // namespace lm
