#include "FrameCommands.h"

namespace lm {

namespace {

std::string Counted(const char* before, uint32_t n, const char* after)
{
    return std::string(before) + std::to_string((unsigned long)n) + after;
}

} // namespace

std::string GroupedByText(uint32_t n, bool useAnd)
{
    return Counted("Existing selections (", n, useAnd ? ") grouped by AND..." : ") grouped by OR...");
}
std::string DeletedGroupedText(uint32_t n)
{
    return Counted("Grouped data (", n, ") deleted...");
}
std::string InvertedGroupedText(uint32_t n)
{
    return Counted("Grouped data (", n, ") inverted...");
}
std::string InvertedDeletedText(uint32_t n)
{
    return Counted("All Deleted data (", n, ") inverted...");
}

void ReplaceFrames(FrameSession& session, const TFrameRect& frame)
{
    if (session.Frames.DeleteAll() > 0)
        session.Protocol.Message(kAllSelectionsCleanedText);
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
    session.Protocol.Message(kSelectionsCleanedText);
    session.Frames.DeleteAll();
    session.Data.ClearFrameBits();
    return true;
}

void ClearGroupedData(FrameSession& session)
{
    session.Protocol.Message(kGroupedCleanedText);
    session.Data.ClearGrouped();
}

uint32_t DeleteGroupedData(FrameSession& session)
{
    const uint32_t n = session.Data.DeleteGrouped();
    session.Protocol.Message(DeletedGroupedText(n));
    return n;
}

void UndeleteData(FrameSession& session, bool confirmed)
{
    if (session.Frames.Any())
        session.Frames.DeleteAll();
    if (!confirmed)
        return;
    session.Protocol.Message(kDeletedUndeletedText);
    session.Data.UndeleteAll();
}

uint32_t InvertGroupedData(FrameSession& session)
{
    const uint32_t n = session.Data.InvertGrouped();
    session.Protocol.Message(InvertedGroupedText(n));
    return n;
}

uint32_t InvertDeletedData(FrameSession& session)
{
    const uint32_t n = session.Data.InvertDeleted();
    session.Protocol.Message(InvertedDeletedText(n));
    return n;
}

} // namespace lm
