#pragma once

// Spartan 3000 data file: a 512-byte header followed by fixed 32-byte records, each
// starting with a record code. Fixed records make this the one format with random access.

#include "datafiles/AWDiskFile.h"

#include <array>
#include <cstdint>

namespace lm {

class SDFile final : public AWDiskFile {
public:
    static constexpr int kHeaderSize = 512;
    static constexpr int kRecordSize = 32;

    // Header offsets.
    static constexpr int kTotalRecords = 0;
    static constexpr int kFirstHitTime = 4;
    static constexpr int kFirstHitNumber = 8;
    static constexpr int kLastHitTime = 12;
    static constexpr int kLastHitNumber = 16;
    static constexpr int kDateTime = 21;
    static constexpr int kAutoDumpFlag = 38;
    static constexpr int kContinuousFlag = 39;
    static constexpr int kVersion = 40;
    static constexpr int kLabelLength = 46;
    static constexpr int kLabel = 47;
    static constexpr int kMaxLabel = 40;
    static constexpr int kTimeDrivenFlag = 87;

    // Record codes.
    enum Code : uint8_t {
        scEndOfData = 0,
        scHit = 1,
        scParametric = 2,
        scTimeParametric = 3,
        scComment = 7,
        scAlarm = 16,
        scResume = 128,
        scStop = 129,
        scPause = 130,
    };

    // Reader: reads the header (a short file leaves the rest of it zero).
    explicit SDFile(BinaryFile& in);
    // Writer: starts from a zero header and copies the reader's when it is valid.
    SDFile(SDFile& reader, BinaryFile& out);

    // Header time unit (16.384 ms) of a record time, as WriteHeader stores it.
    static uint32_t HeaderTime(TickTime t);
    // Seconds of a header time value.
    static long double HeaderTimeSeconds(uint32_t value) { return (long double)value * 1.6384L * 0.01L; }

    void WriteHeader() override;
    void ReadRecord(LMShortHit& hit) override;
    long double GetValue(HitParam param) override;
    long double GetTime() override { return Time().Seconds(); }
    EventClass CheckEventTime() override { return CheckEventTicks(Time()); }
    bool IsAtFirstRecord() override { return file_.Tell() == kHeaderSize; }
    uint64_t SeekBegin() override;
    uint64_t SeekFirstRecord() override;
    bool SeekRecord(int n) override;
    bool ReadNext() override { return file_.Read(rec_, kRecordSize) == kRecordSize; }
    bool SkipHits() override;
    bool ReadPrevious() override;
    bool WriteRawTo(BinaryFile& out) override;
    void AppendRecord(AWDiskFile& reader) override;
    bool IsHit() override { return rec_[0] == scHit; }
    bool IsTestStop() override { return rec_[0] == scStop; }
    bool HasTime() override { return CodeHasTime(rec_[0]); }
    bool IsKnownRecord() override { return CodeIsKnown(rec_[0]); }
    bool IsEndOfData() override { return rec_[0] == scEndOfData; }
    bool IsParametric() override { return rec_[0] == scParametric || rec_[0] == scTimeParametric; }
    bool IsComment() override { return rec_[0] == scComment; }
    std::optional<std::string> GetLabel() override;
    std::optional<std::string> GetVersion() override;
    std::optional<std::string> GetDateTime() override;
    bool IsHeaderValid() override;
    int GetRecordIndex() override;
    int GetRecordCount() override;
    int GetHitCount() override;
    void PrintRecord(std::ostream& out, uint32_t columns) override;
    void PrintCaption(std::ostream& out, uint32_t columns) override;
    void PrintFile(std::ostream& out, uint32_t columns) override;
    void PrintInfo(std::ostream& out) override;
    bool CanBeFiltered() override { return header_[kContinuousFlag] == 0; }

    // The header this object holds (reader: as read; writer: its own copy).
    const std::array<uint8_t, kHeaderSize>& Header() const { return header_; }
    // The raw current record.
    const uint8_t* RawRecord() const { return rec_; }

    static bool CodeHasTime(uint8_t code)
    {
        return code == scHit || code == scParametric || code == scTimeParametric || code == scAlarm ||
               code == scResume || code == scStop || code == scPause;
    }
    static bool CodeIsKnown(uint8_t code)
    {
        return code == scEndOfData || code == scComment || CodeHasTime(code);
    }

private:
    TickTime Time() const { return TickTime::FromBytes(rec_ + 1); }
    // Counts records up to and including the end-of-data record; hits only when asked.
    int CountRecords(bool hitsOnly);
    void PrintHeaderLines(std::ostream& out);

    std::array<uint8_t, kHeaderSize> header_{};
    uint8_t rec_[kRecordSize] = {};
    SDFile* lastReader_ = nullptr; // reader of the last AppendRecord, checked once
};

// Content check of the format table: the header's date, version and label are text while
// the header as a whole is not. Reads from the stream and restores its position.
bool IsSpartanFile(BinaryFile& file);

} // namespace lm
