#include "lmqwin2/graphs/frames/FrameSession.h"

namespace lm {

namespace text = protocol_text;

ANewSelection MakeNewSelection(const TFrameRect& frame, const std::string& xShortName,
                               const std::string& yShortName, bool eventsView, const TimeRangeFilter& time)
{
    ANewSelection selection;
    selection.xName = xShortName;
    selection.xFrom = frame.XMin;
    selection.xTo = frame.XMax;
    selection.yName = yShortName;
    selection.yFrom = frame.YMin;
    selection.yTo = frame.YMax;
    selection.eventsView = eventsView;
    selection.channels = frame.Channels;
    selection.timeFilterOn = time.On;
    selection.timeStart = time.Start;
    selection.timeEnd = time.End;
    return selection;
}

namespace {

std::string GroupedByText(uint32_t n, bool useAnd)
{
    return useAnd ? text::GroupedByAnd(n) : text::GroupedByOr(n);
}

} // namespace

void ReplaceFrames(FrameSession& session, const TFrameRect& frame)
{
    if (session.Frames.DeleteAll() > 0)
        session.Protocol.Message(text::kAllSelectionsCleaned);
    session.Data.ClearFrameBits();
    // The selection line follows the add so that a framing that fails leaves no line for a
    // frame that does not exist; nothing else writes to the protocol in between.
    session.Frames.Add(frame, session.Data, session.Time, session.EventMode);
    const TFrameRect* added = session.Frames.At(0);
    session.Protocol.NewSelection(added ? *added : frame);
}

AddFrameResult AddFrame(FrameSession& session, const TFrameRect& frame)
{
    const int slot = session.Frames.Count();
    if (!session.Frames.Add(frame, session.Data, session.Time, session.EventMode))
        return AddFrameResult::LimitReached;
    const TFrameRect* added = session.Frames.At(slot);
    session.Protocol.NewSelection(added ? *added : frame);
    return AddFrameResult::Added;
}

void ResolveFrameLimit(FrameSession& session, const TFrameRect& frame, FrameLimitChoice choice)
{
    switch (choice) {
    case FrameLimitChoice::DeleteAllExceptNew:
        ReplaceFrames(session, frame);
        return;
    case FrameLimitChoice::IgnoreNew:
        return;
    case FrameLimitChoice::GroupAndAddNew:
    case FrameLimitChoice::GroupOrAddNew: {
        const bool useAnd = choice == FrameLimitChoice::GroupAndAddNew;
        const uint8_t mask = session.Frames.OccupiedMask();
        const uint32_t n = useAnd ? session.Data.GroupAnd(mask) : session.Data.GroupOr(mask);
        session.Protocol.Message(GroupedByText(n, useAnd));
        session.Frames.DeleteAll();
        session.Data.ClearFrameBits();
        session.Frames.Add(frame, session.Data, session.Time, session.EventMode);
        return;
    }
    }
}

bool GroupFrames(FrameSession& session, bool useAnd)
{
    if (!session.Frames.Any())
        return false;
    const uint8_t mask = session.Frames.OccupiedMask();
    const uint32_t n = useAnd ? session.Data.GroupAnd(mask) : session.Data.GroupOr(mask);
    session.Protocol.Message(GroupedByText(n, useAnd));
    session.Frames.DeleteAll();
    return true;
}

bool DeleteAllFrames(FrameSession& session)
{
    if (!session.Frames.Any())
        return false;
    session.Protocol.Message(text::kSelectionsCleaned);
    session.Frames.DeleteAll();
    session.Data.ClearFrameBits();
    return true;
}

void ClearGroupedData(FrameSession& session)
{
    session.Protocol.Message(text::kGroupedCleaned);
    session.Data.ClearGrouped();
}

uint32_t DeleteGroupedData(FrameSession& session)
{
    const uint32_t n = session.Data.DeleteGrouped();
    session.Protocol.Message(text::GroupedDeleted(n));
    return n;
}

void UndeleteData(FrameSession& session, bool confirmed)
{
    if (session.Frames.Any())
        session.Frames.DeleteAll();
    if (!confirmed)
        return;
    session.Protocol.Message(text::kDeletedUndeleted);
    session.Data.UndeleteAll();
}

uint32_t InvertGroupedData(FrameSession& session)
{
    const uint32_t n = session.Data.InvertGrouped();
    session.Protocol.Message(text::GroupedInverted(n));
    return n;
}

uint32_t InvertDeletedData(FrameSession& session)
{
    const uint32_t n = session.Data.InvertDeleted();
    session.Protocol.Message(text::DeletedInverted(n));
    return n;
}

} // namespace lm
