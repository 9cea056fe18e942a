#pragma once

// The in-memory copy of one loaded data file: every record in file order with its frame
// bits and editing flags, the counters of the status bar, the event classification and
// the set operations that build, delete and restore the grouped set. Saving writes a new
// file of the source's format without the deleted hits.

#include "datafiles/AWDiskFile.h"
#include "datafiles/DataFileLoad.h"
#include "datafiles/EventClassifier.h"
#include "datafiles/LMRec.h"
#include "datafiles/TickTime.h"

#include <cstdint>
#include <string>
#include <vector>

namespace lm {

// The set carries the event classification state shared by every pass that views its hits
// as events (EventReference, MptWindow, LockoutWindow, NotSortedTime; ResetEvents and
// ClassifyEvent): ResetEvents starts a pass with the windows of the test setup's MPT and
// lockout in us; ClassifyEvent answers the class of the next hit in file order and raises
// ELMData 2001, storing NotSortedTime, for a hit earlier than the reference.
class LMDataSet : public EventClassifier {
public:
    LMDataSet() = default;
    LMDataSet(const LMDataSet&) = delete;
    LMDataSet& operator=(const LMDataSet&) = delete;

    int32_t FileType = dtSpartan;
    std::string FileName;      // empty when no file is loaded
    uint32_t RecordCount = 0;  // slots: the reader's record count at load time
    uint32_t HitCount = 0;     // HITS
    uint32_t EventCount = 0;   // EVNT, set by the latest drawing pass in event view
    uint32_t FramedCount = 0;  // FRMD
    uint32_t GroupedCount = 0; // GRPD
    uint32_t DeletedCount = 0; // DLTD
    uint32_t TimeMarkCount = 0;
    double MaxTime = 0.0;     // s
    double TimeAxisMax = 0.0; // s
    std::vector<TickTime> TimeMarks;
    std::vector<LMShortHit> Records;

    // Frame slots present at the latest grouping (bit s = slot s).
    uint8_t FramesPresent = 0;

    bool IsLoaded() const { return !FileName.empty(); }
    // Value of one parameter of record i (0 gives 1.0, the count of a hit).
    long double Value(uint32_t i, HitParam param) const { return Records[i].Value(param); }

    // Frees the records and time marks and zeroes the counters; MaxTime, TimeAxisMax and
    // EventCount keep their values.
    void Clear();

    // Loads a data file. Raises std::runtime_error "Data file doesn't exist" or
    // "Unknown data type.." with the set empty; any other error clears the set and passes
    // through. The file is closed before this returns or raises.
    // A monitor, when given, is asked every 65536 records whether to go on; a load it stops
    // raises LoadCancelled and leaves the set empty like any failed load.
    void Load(const std::string& fileName, LoadMonitor* monitor = nullptr);
    // The reading part of Load on an open reader (the set has been reset).
    void LoadFrom(AWDiskFile& reader, DataFileType type, const std::string& fileName,
                  LoadMonitor* monitor = nullptr);

    // Exchanges the whole content with another set (a set loaded aside takes the place of
    // the shown one only when its load has succeeded).
    void Swap(LMDataSet& other) noexcept;

    // Writes every record of the source file except the deleted hits to `targetName`, in
    // the source's format, through a temporary file renamed over the target when complete.
    // Raises std::runtime_error (nothing written, an existing target untouched) when no file
    // is loaded, the target is the source itself, the source cannot be written (A-Line
    // ISA), or a file cannot be opened or written.
    void Save(const std::string& targetName) const;
    // The copying part of Save: reader and writer positioned at their first records.
    void CopyUndeleted(AWDiskFile& reader, AWDiskFile& writer) const;

    // Set operations on the hits; each keeps the counters it affects up to date.
    void ClearFrameBits();
    uint32_t GroupAnd(uint8_t occupiedSlots);
    uint32_t GroupOr(uint8_t occupiedSlots);
    void ClearGrouped();
    uint32_t DeleteGrouped();
    void UndeleteAll();
    uint32_t InvertGrouped();
    uint32_t InvertDeleted();

    // The default end of the time axes for a greatest record time: rounded up to the next
    // tenth of its leading decade; 0 when no record carries a time.
    static double RoundTimeAxisMax(double maxTime);

private:
    uint32_t Group(uint8_t occupiedSlots, bool all);
};

} // namespace lm
