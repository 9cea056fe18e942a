#pragma once

// The set statistics of framed hits as text, shared by `lmtool stat` and the Python module:
// the five tables of the statistics window, each after a line "== <tab caption>".

#include "lmqwin2/dataset/LMDataSet.h"
#include "lmqwin2/evaluation/ATestSetup.h"
#include "lmtool/support_frames.h"

#include <string>
#include <vector>

namespace lmtool {

// Frames the hits of the loaded set `data` with `specs` (slots 0, 1, ... in order) while
// `channels` are selected and prints the statistics. `events` frames whole events and
// counts first hits only. ELMData 2001 of a file out of time order passes on (the set's
// NotSortedTime holds the hit's time; NotSortedMessage words it).
std::string StatisticsText(lm::LMDataSet& data, const lm::ATestSetup& setup,
                           const std::vector<FrameSpec>& specs, const lm::ChannelMask& channels, bool events);

} // namespace lmtool
