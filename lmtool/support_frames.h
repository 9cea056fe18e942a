#pragma once

// Frames and channel lists on the command line, shared by the commands that frame hits
// (clean, stat).
//
//   LIST  channel numbers 1-128 and ranges, comma-separated: "1-4,7"
//   SPEC  XPARAM:XMIN:XMAX:YPARAM:YMIN:YMAX with numeric hit-parameter values (256 amplitude,
//         64 energy, ...) and decimal bounds: "256:40:60:64:0:1000"

#include "lmqwin2/graphs/frames/FrameSession.h"
#include "lmqwin2/graphs/frames/TFrameArray.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace lmtool {

// Raised for a malformed LIST or SPEC; the text says what is wrong.
class FrameArgumentError : public std::invalid_argument {
public:
    using std::invalid_argument::invalid_argument;
};

lm::ChannelMask ParseChannelList(const std::string& text);

struct FrameSpec {
    lm::HitParam xParam = 0;
    double xMin = 0.0;
    double xMax = 0.0;
    lm::HitParam yParam = 0;
    double yMin = 0.0;
    double yMax = 0.0;
};

FrameSpec ParseFrameSpec(const std::string& text);

// The frame a user would have drawn with these limits while `channels` were selected.
lm::TFrameRect MakeFrame(const FrameSpec& spec, const lm::ChannelMask& channels);

// Short name of a hit parameter as on the graph axes ("Amp", "Ener", ...); empty for an
// identifier without one.
std::string ParamShortName(lm::HitParam param);

// Draws the frames into slots 0, 1, ... in the given order, as the frame tool would: the
// first replaces whatever frames exist, the others are added. At most eight. ELMData 2001
// of an event-mode framing passes on (the data set's NotSortedTime holds the hit's time).
void DrawFrames(lm::FrameSession& session, const std::vector<FrameSpec>& specs,
                const lm::ChannelMask& channels);

// The message of a file out of time order in event view.
std::string NotSortedMessage(double seconds);

} // namespace lmtool
