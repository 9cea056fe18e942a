#pragma once

// A reader over a list of records built in code, for the loaders: each record knows whether
// it carries a time and whether it ends the data. It can claim more (or fewer) records than
// it has, and fail on a given record.

#include "datafiles/AWDiskFile.h"
#include "datafiles/BinaryFile.h"
#include "datafiles/LMRec.h"

#include <cstddef>
#include <stdexcept>
#include <utility>
#include <vector>

namespace lmtest {

struct ScriptRecord {
    lm::LMShortHit hit;
    bool timed = true;
    bool endOfData = false;
};

class ScriptedReader : public lm::AWDiskFile {
public:
    explicit ScriptedReader(std::vector<ScriptRecord> records)
        : AWDiskFile(dummy_), records_(std::move(records))
    {
        claimed_ = int(records_.size());
    }
    int claimed_ = 0; // the record count it answers
    int failAt_ = -1; // the record whose reading throws

    int GetRecordCount() override { return claimed_; }
    uint64_t SeekFirstRecord() override
    {
        next_ = 0;
        return 0;
    }
    bool ReadNext() override
    {
        if (next_ >= records_.size())
            return false;
        if (int(next_) == failAt_)
            throw std::runtime_error("read failure");
        current_ = next_++;
        return true;
    }
    void ReadRecord(lm::LMShortHit& hit) override { hit = records_[current_].hit; }
    bool HasTime() override { return records_[current_].timed; }
    long double GetTime() override { return records_[current_].hit.time.Seconds(); }
    bool IsEndOfData() override { return records_[current_].endOfData; }
    // The index of the record read last.
    size_t Current() const { return current_; }

private:
    lm::BinaryFile dummy_;
    std::vector<ScriptRecord> records_;
    size_t next_ = 0;
    size_t current_ = 0;
};

} // namespace lmtest
