#include "lmqwin2/evaluation/DataViewList.h"

#include "datafiles/ELMData.h"

#include <iomanip>
#include <sstream>

namespace lm {

DataViewList BuildDataViewList(std::span<const LMShortHit> records, const ATestSetup& setup,
                               const DataViewOptions& options, EventClassifier* events)
{
    DataViewList list;
    if (records.empty())
        return list;
    const bool eventView = options.eventView && events;

    std::ostringstream title;
    title << std::setw(6) << "Num";
    LMShortHit::PrintTitles(title);
    if (eventView)
        title << std::setw(6) << "dT";
    list.title = title.str();

    if (eventView)
        events->ResetEvents(setup.MPT, setup.Lockout);
    TickTime eventStart;
    for (const LMShortHit& hit : records) {
        if (int(list.lines.size()) >= kDataViewMaxLines)
            break;
        if (hit.kind != rkHit || (hit.HitFlags() & hfDeleted))
            continue;
        EventClass cls = ecNewEvent;
        if (eventView) {
            try {
                cls = events->ClassifyEvent(hit);
            } catch (const ELMData& e) {
                if (e.Code != kErrNotSorted)
                    throw;
                list.notSorted = true;
                break;
            }
            if (cls == ecNewEvent)
                eventStart = hit.time;
        }
        if ((hit.FrameBits & 0xFF) == 0)
            continue;
        if (eventView && (cls == ecInLockout || (cls == ecInMPT && !options.showShadow)))
            continue;

        std::ostringstream line;
        line << std::setw(6) << list.lines.size() + 1;
        hit.PrintValues(line);
        line << std::fixed << std::setprecision(2) << std::setw(8) << setup.ParametricValue(hit.Par1);
        DataViewLine::Colour colour = DataViewLine::Plain;
        if (eventView) {
            if (cls == ecInMPT) {
                const double dt = double(hit.time.Value() - eventStart.Value()) / 4.0; // 0.25 us ticks
                line << std::setprecision(0) << std::setw(6) << dt;
                colour = DataViewLine::InMPT;
            } else {
                colour = DataViewLine::FirstHit;
            }
        }
        list.lines.push_back({line.str(), colour});
    }
    return list;
}

} // namespace lm
