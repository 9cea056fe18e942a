#pragma once

// A-Line ISA data files (read only).
//
// The file starts like an A-Line 32D file but carries its own hardware description
// (signature 0x1313CFCF at 3844), a table of configuration blocks and the configuration
// data, then fixed-layout records: u32 type, i32 seconds, u32 microseconds and a body
// whose size depends on the type. Amplitudes are converted to dB with a channel
// calibration that is shared by every file the program reads: calibration records of any
// file change it for all later decoding.

#include "datafiles/AWDiskFile.h"

#include <array>
#include <cstdint>
#include <vector>

namespace lm {

// Calibration of one A-Line ISA channel (indices 0..31).
struct ALNChannelCalib {
    int mode = 1;
    int gainCode = 35;
    int setting = 5;
    int c1 = 100;
    int c2 = 5;
    int c3 = 1221;
    int c4 = 1000;
    double conversion = 0.0; // 20 * log10(c3 * 1000 / c4 / c1 / b)
    double gain = 0.0;       // gainCode * 0.375
    double offset = 0.0;     // conversion + gain

    // Recomputes the three derived values from the settings above.
    void Update();
};

inline constexpr size_t kAlnCalibChannels = 32;

// The program-wide calibration table.
std::array<ALNChannelCalib, kAlnCalibChannels>& AlnCalibration();
// Restores every entry to its defaults (as at program start).
void ResetAlnCalibration();

class ALNDFile final : public AWDiskFile {
public:
    static constexpr size_t kTestParamSize = 3844;
    static constexpr size_t kHrdwDescrSize = 96;
    static constexpr size_t kTableStart = 3948;
    static constexpr size_t kRecordHeadSize = 12;
    static constexpr size_t kMaxBodySize = 36;

    // Reader: reads the header and leaves the stream at the first record.
    explicit ALNDFile(BinaryFile& in);

    // A hit with amplitude 0 or a channel index of 32 or more (no calibration entry) gets
    // amplitude 0, from ReadRecord and from GetValue alike.
    void ReadRecord(LMShortHit& hit) override;
    long double GetValue(HitParam param) override;
    long double GetTime() override;
    bool IsAtFirstRecord() override { return file_.Tell() == firstRecord_; }
    uint64_t SeekBegin() override;
    uint64_t SeekFirstRecord() override;
    bool ReadNext() override;
    bool IsHit() override { return type_ == 0 || type_ == 4; }
    bool HasTime() override { return true; }
    // Every record type is known: there is no post filter for this format.
    bool IsKnownRecord() override { return true; }
    bool IsEndOfData() override { return false; }
    bool IsParametric() override { return type_ == 3; }
    bool IsComment() override { return false; }
    int GetRecordCount() override;
    int GetHitCount() override;
    bool IsALine() override { return true; }

    // Body size of a record type.
    static size_t BodySize(uint32_t type);

    uint32_t RecordType() const { return type_; }
    int32_t StartTime() const { return startTime_; }
    uint64_t FirstRecordOffset() const { return firstRecord_; }
    const std::vector<uint8_t>& BlockTable() const { return blockTable_; }
    // Tick time of the current record (exact integer arithmetic, 0 before the start).
    TickTime RecordTicks() const;

private:
    // Amplitude in dB of the current hit, truncated; nothing when it has no dB value.
    bool AmplitudeDb(double& value) const;

    std::array<uint8_t, kTestParamSize> testParam_{};
    std::array<uint8_t, kHrdwDescrSize> hrdw_{};
    std::vector<uint8_t> blockTable_;
    int32_t startTime_ = 0;
    uint64_t firstRecord_ = kTableStart;

    // Current record: 12 head bytes then the body.
    std::array<uint8_t, kRecordHeadSize + kMaxBodySize> record_{};
    uint32_t type_ = 0xFFFFFFFF;
};

// Content check of the format table: the A-Line file type and the ISA signature at 3844.
// Reads from the stream and restores its position.
bool IsAlineIsaFile(BinaryFile& file);

} // namespace lm
