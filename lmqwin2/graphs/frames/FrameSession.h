#pragma once

// What the frame tool and the "Sets" commands do, as functions a window calls with the
// user's input and answers; the window itself only draws and asks.

#include "lmqwin2/dataset/LMDataSet.h"
#include "lmqwin2/evaluation/AProtocol.h"
#include "lmqwin2/graphs/frames/TFrameArray.h"

#include <string>

namespace lm {

// Where the lines of these commands go (the program's protocol; tests and lmtool collect
// them). The sink adds the date and time itself.
class FrameProtocolSink {
public:
    virtual ~FrameProtocolSink() = default;
    virtual void Message(const std::string& text) = 0;
    // The "New selection:" line of a frame just added.
    virtual void NewSelection(const TFrameRect& frame) = 0;
};

// The content of the "New selection:" line of a frame (the short names are those of the
// graph's axis parameters).
ANewSelection MakeNewSelection(const TFrameRect& frame, const std::string& xShortName,
                               const std::string& yShortName, bool eventsView, const TimeRangeFilter& time);

// The state one command works on.
struct FrameSession {
    LMDataSet& Data;
    TFrameArray& Frames;
    FrameProtocolSink& Protocol;
    TimeRangeFilter Time;   // the main window's time range filter
    bool EventMode = false; // event view
};

// --- Finishing a frame drawn on a graph (the frame's values and channels already filled).
// All of them pass ELMData 2001 of an event-mode framing on; the frame is then not added.

// Without Shift: the new frame replaces all frames.
void ReplaceFrames(FrameSession& session, const TFrameRect& frame);

enum class AddFrameResult { Added, LimitReached };
// With Shift: the frame is added; LimitReached means all eight slots are taken and the
// window must ask the frame-limit question, then call ResolveFrameLimit with the answer.
AddFrameResult AddFrame(FrameSession& session, const TFrameRect& frame);

// The four answers of the frame-limit question, in the order offered (the first preselected).
enum class FrameLimitChoice {
    DeleteAllExceptNew, // "Delete all frames, except new frame"
    IgnoreNew,          // "Ignore new frame"
    GroupAndAddNew,     // "Groop existing frames with "AND", add new frame"
    GroupOrAddNew,      // "Groop existing frames with "OR", add new frame"
};
void ResolveFrameLimit(FrameSession& session, const TFrameRect& frame, FrameLimitChoice choice);

// --- The "Sets" commands.

// "Add to grouped with AND" / "OR": nothing at all without a frame; answers whether it ran.
bool GroupFrames(FrameSession& session, bool useAnd);
// "Delete all frames": nothing at all without a frame.
bool DeleteAllFrames(FrameSession& session);
void ClearGroupedData(FrameSession& session);
uint32_t DeleteGroupedData(FrameSession& session);
// "Undelete data": the frames go in any case; the hits are restored only when confirmed.
void UndeleteData(FrameSession& session, bool confirmed);
uint32_t InvertGroupedData(FrameSession& session);
uint32_t InvertDeletedData(FrameSession& session);

} // namespace lm
