#pragma once

// Loading a whole data file into memory, one LMShortHit per record in file order, the way
// the correlation program loads it: the reader's record count sizes the array up front,
// every slot starts as a default (empty) record, and reading stops at the count, at the
// end of the file, or after the end-of-data record.
//
// The A-Line ISA channel calibration is program-wide and the counting pass already applies
// every calibration record of the file, so hits are decoded with the calibration as it
// stands after the whole file was read once (and as left by files read before it).

#include "datafiles/AWDiskFile.h"
#include "datafiles/LMRec.h"

#include <cstdint>
#include <string>
#include <vector>

namespace lm {

struct LoadStats {
    uint32_t read = 0;      // records delivered by the reader
    uint32_t hits = 0;      // of kind rkHit
    uint32_t timeMarks = 0; // of kind rkTimeMark
    double maxTime = 0.0;   // greatest time of a record that carries one, seconds
};

// The record count of `reader` as a slot count (a negative answer counts as none).
uint32_t CountRecordSlots(AWDiskFile& reader);

// Fills records[0 .. count) from the first record on. The slots must hold default
// records; those not reached keep them. The reader's exceptions pass through.
LoadStats ReadRecordsInto(AWDiskFile& reader, LMShortHit* records, uint32_t count);

struct LoadedDataFile {
    DataFileType type = dtSpartan;
    std::vector<LMShortHit> records; // RecordCount slots
    LoadStats stats;
};

// Opens `path` with OpenDataFile and loads every record. Raises the texts of OpenDataFile
// ("Data file doesn't exist", "Unknown data type..") and passes any reading error through.
LoadedDataFile LoadDataFile(const std::string& path);

} // namespace lm
