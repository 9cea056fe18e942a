#pragma once

// The list of the data view: the framed, undeleted hits as text lines, with the event
// classification of event view deciding which hits are listed and how they are coloured.

#include "datafiles/EventClassifier.h"
#include "datafiles/LMRec.h"
#include "lmqwin2/evaluation/ATestSetup.h"

#include <span>
#include <string>
#include <vector>

namespace lm {

inline constexpr int kDataViewMaxLines = 10000;
inline constexpr const char* kMsgDataNotSorted = "Data file doesn't sorted. Event View is impossible.";

struct DataViewLine {
    enum Colour { Plain, FirstHit, InMPT };
    std::string text;
    Colour colour = Plain;
};

struct DataViewList {
    std::string title; // the column titles above the list; empty without records
    std::vector<DataViewLine> lines;
    // The event classification met a hit out of time order: the list stops there.
    bool notSorted = false;
};

struct DataViewOptions {
    bool eventView = false;  // event view, globally or by the window's check box
    bool showShadow = false; // "SecondAsShadow" or the window's check box
};

// Lists up to kDataViewMaxLines hits in file order. `events` classifies the hits in event
// view (it is reset with the setup's MPT and lockout first); it may be null when event
// view is off.
DataViewList BuildDataViewList(std::span<const LMShortHit> records, const ATestSetup& setup,
                               const DataViewOptions& options, EventClassifier* events);

} // namespace lm
