#pragma once

// Loading a whole data file into memory, one LMShortHit per record in file order, the way
// the correlation program loads it: one slot per record the reader counts (GetRecordCount),
// every slot starting as a default (empty) record; reading stops at that count, at the end
// of the file, or after the end-of-data record.
//
// LoadRecords does it in one pass, the array growing as records come. Only files where the
// count and the records read part ways take a second pass: records after the end-of-data
// record (counted by some formats, never read) and records a reader does not count
// (Spartan records of unknown code, which still take a slot while the count lasts).
//
// The A-Line ISA channel calibration is program-wide and loading has always applied every
// calibration record of the file before decoding the hits, so hits are decoded with the
// calibration as it stands after the whole file was read once (and as left by files read
// before it): for that format the file is walked once before it is read.

#include "datafiles/AWDiskFile.h"
#include "datafiles/LMRec.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace lm {

// Watches a load that may run on another thread: told every 65536 records how far into the
// file the reading has come, it answers false to stop the load.
class LoadMonitor {
public:
    virtual ~LoadMonitor() = default;
    virtual bool Continue(uint64_t bytesRead, uint64_t fileSize) = 0;
};

// Raised by a load its monitor stopped.
class LoadCancelled : public std::runtime_error {
public:
    LoadCancelled() : std::runtime_error("Loading cancelled") {}
};

struct LoadStats {
    uint32_t read = 0;      // records delivered by the reader
    uint32_t hits = 0;      // of kind rkHit
    uint32_t timeMarks = 0; // of kind rkTimeMark
    double maxTime = 0.0;   // greatest time of a record that carries one, seconds
};

// The record count of `reader` as a slot count (a negative answer counts as none).
uint32_t CountRecordSlots(AWDiskFile& reader);

// Loads every record from the first on into `records` (replacing what it held) as described
// above; the answer counts the records read. The reader's exceptions pass through, and a
// monitor that answers false ends the load with LoadCancelled.
LoadStats LoadRecords(AWDiskFile& reader, DataFileType type, std::vector<LMShortHit>& records,
                      LoadMonitor* monitor = nullptr);

// Fills records[0 .. count) from the first record on. The slots must hold default
// records; those not reached keep them. The reader's exceptions pass through.
LoadStats ReadRecordsInto(AWDiskFile& reader, LMShortHit* records, uint32_t count);

struct LoadedDataFile {
    DataFileType type = dtSpartan;
    std::vector<LMShortHit> records; // RecordCount slots
    LoadStats stats;
};

// Opens `path` with OpenDataFile and loads every record with LoadRecords. Raises the texts of OpenDataFile
// ("Data file doesn't exist", "Unknown data type..") and passes any reading error through.
LoadedDataFile LoadDataFile(const std::string& path);

} // namespace lm
