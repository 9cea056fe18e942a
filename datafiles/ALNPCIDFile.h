#pragma once

// A-Line 32D (PCI) data files, extension ".ALD".
//
// A file is a fixed header (3960-byte test parameter block, 104-byte hardware description,
// a table of configuration blocks and the configuration data) followed by variable-length
// records: u16 type, u16 size, size data bytes. Hits carry raw ADC quantities; the reader
// turns them into dB and microseconds with a per-channel calibration built from the
// channel configuration records of the same file.

#include "datafiles/AWDiskFile.h"

#include <array>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace lm {

// Calibration of one channel (index 0..127) taken from its configuration record.
// An entry that was never filled has channel 0 and all fields zero.
struct ALNPCIChannelCalib {
    uint32_t channel = 0; // index + 1; 0 = no configuration record seen
    float d_ADC = 0.0f;
    float d_IN = 0.0f;
    int32_t gain = 0;  // dB
    uint16_t freq = 0; // low 16 bits of Freq1
    double K = 0.0;    // d_ADC / 10^(gain * 0.05)
    uint16_t mode = 0; // DevType
};

class ALNPCIDFile final : public AWDiskFile {
public:
    static constexpr size_t kTestParamSize = 3960;
    static constexpr size_t kHrdwDescrSize = 104;
    static constexpr size_t kHeaderSize = kTestParamSize + kHrdwDescrSize; // 4064
    static constexpr size_t kChannelConfigSize = 1168;
    static constexpr size_t kChannels = 128;
    // Decoding looks at the first bytes of a record only; larger records are kept whole so
    // that a copy reproduces them byte for byte.
    static constexpr size_t kRecordBufferSize = 104;
    static constexpr size_t kMaxRecordData = 0xFFFF;

    // Bit of the `columns` argument of PrintCaption that asks for the short header dump
    // (the full dump is printed when it is clear).
    static constexpr uint32_t kShortCaption = 0x80000000u;

    // Reader: reads the header, the channel configuration records and builds the calibration.
    explicit ALNPCIDFile(BinaryFile& in);
    // Writer: copies the reader's header, configuration, calibration and start time.
    ALNPCIDFile(ALNPCIDFile& reader, BinaryFile& out);

    // Sets "Number of events" to the appended count and rewrites the whole header at 0.
    void WriteHeader() override;
    // Hits on a channel without calibration (no configuration record, index beyond 127,
    // or a configuration that gives no logarithm) get amplitude 0 and energy 0; a hit
    // without energy (R = 0, e.g. no crossings in the plain per-crossing formula) on a
    // calibrated channel gets the lower bound 1.
    void ReadRecord(LMShortHit& hit) override;
    // hpRise and hpDuration are the W-scaled values before they are cut to the record's
    // field widths; hpAmplitude and hpEnergy answer 0.0 where the dB value is undefined.
    long double GetValue(HitParam param) override;
    long double GetTime() override;
    EventClass CheckEventTime() override;
    uint64_t SeekBegin() override;
    uint64_t SeekFirstRecord() override;
    bool ReadNext() override;
    void AppendRecord(AWDiskFile& reader) override;
    bool IsHit() override { return type_ == 5; }
    bool HasTime() override { return type_ != 7; }
    // Every record type is kept by the post filter: unknown types are copied unchanged.
    bool IsKnownRecord() override { return true; }
    bool IsEndOfData() override { return false; }
    bool IsParametric() override { return type_ == 3; }
    bool IsComment() override { return type_ == 7; }
    std::optional<std::string> GetLabel() override;
    std::optional<std::string> GetVersion() override { return std::nullopt; }
    std::optional<std::string> GetDateTime() override;
    int GetRecordCount() override;
    int GetHitCount() override;
    // The record listing has fixed columns; `columns` is not used.
    void PrintRecord(std::ostream& out, uint32_t columns) override;
    // Header dump; the short form when `columns` has kShortCaption set.
    void PrintCaption(std::ostream& out, uint32_t columns) override;
    bool CanBeFiltered() override { return true; }
    bool IsALine() override { return true; }

    // The current record.
    uint16_t RecordType() const { return type_; }
    uint16_t RecordSize() const { return size_; }
    const uint8_t* RecordData() const { return record_.data() + 4; }

    // Header access (tests, listings).
    const uint8_t* TestParam() const { return testParam_.data(); }
    const uint8_t* HrdwDescr() const { return hrdw_.data(); }
    int32_t StartTime() const { return startTime_; }
    uint64_t FirstRecordOffset() const { return firstRecord_; }
    const ALNPCIChannelCalib& Calibration(size_t index) const { return calib_[index]; }
    size_t ChannelRecordCount() const { return channelRecords_.size() / kChannelConfigSize; }

    // Tick time of the current record: (seconds - start) + microseconds, computed exactly
    // in integers (0 when it lies before the start).
    TickTime RecordTicks() const;

private:
    struct HitValues {
        uint32_t channelIndex = 0;
        uint32_t rise = 0;     // truncated, W-scaled
        uint32_t counts = 0;   // 17-bit when W != 0
        uint32_t duration = 0; // truncated, W-scaled
        uint32_t amplitudeAdc = 0;
        bool amplitudeValid = false;
        double amplitudeDb = 0.0;
        double energyRaw = 0.0; // R
        bool energyValid = false;
        double energyDb = 0.0;
    };
    void DecodeHit(HitValues& v) const;
    // The current record decoded once: a filter asks GetValue for several parameters of
    // the same hit, and each decoding takes two logarithms.
    const HitValues& DecodedHit();
    HitValues decoded_;
    uint64_t recordSerial_ = 0;           // counts reads of the current record
    uint64_t decodedSerial_ = UINT64_MAX; // the read that decoded_ belongs to
    void BuildCalibration();

    std::array<uint8_t, kTestParamSize> testParam_{};
    std::array<uint8_t, kHrdwDescrSize> hrdw_{};
    std::vector<uint8_t> blockTable_; // 12 bytes per configuration block
    std::vector<uint8_t> configData_;
    std::vector<uint8_t> channelRecords_; // reader only, 1168 bytes each
    std::array<ALNPCIChannelCalib, kChannels> calib_{};
    // Per-channel constants of the decoding, derived from calib_.
    struct ChannelTerms {
        bool ampValid = false;    // d_ADC and d_IN allow an amplitude in dB
        bool energyValid = false; // freq and K allow an energy in dB
        double dAdc = 0.0;
        double dIn = 1.0;
        double gain = 0.0;
        double freq = 1.0;
        double kTerm = 0.0;      // 20 * log10(K)
        bool plainSplit = false; // DevType 0..2: plain energy uses duration / counts
    };
    std::array<ChannelTerms, kChannels> terms_{};
    void BuildTerms();

    int32_t startTime_ = 0;
    uint64_t firstRecord_ = kHeaderSize;

    // Current record: 4 header bytes then the data; sized for the largest record.
    std::vector<uint8_t> record_;
    uint16_t type_ = 0xFFFF;
    uint16_t size_ = 0;
    bool captionShown_ = false; // the record listing printed its hit caption in this run
};

// Content check of the format table: the A-Line file type and the 32D signature at 3960.
// Reads from the stream and restores its position.
bool IsAlinePciFile(BinaryFile& file);

} // namespace lm
