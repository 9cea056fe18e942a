#pragma once

// The small pictures of the tool bar's buttons, drawn at start (the program ships no
// image files).

#include <QIcon>

namespace lmq {

enum class ToolIcon {
    Open,
    SaveAs,
    DataDependences,
    ColoredChannels,
    ColoredAmount,
    DeleteGrouped,
    Undelete,
    Zoom,
    UnZoom,
    ScrollLeft,
    ScrollRight,
    TimeMarks,
    EventView,
    ShadowHits,
};

QIcon MakeToolIcon(ToolIcon kind);

} // namespace lmq
