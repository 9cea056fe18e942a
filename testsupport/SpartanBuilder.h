#pragma once

// Spartan data files built in code for tests: the 512-byte header with just enough text to
// be recognised, then 32-byte records appended one by one; and what a test reads back from one.

#include "datafiles/TickTime.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace lmtest {

using std::size_t;

inline uint64_t Ticks(double seconds)
{
    return uint64_t(seconds * 4e6 + 0.5);
}

inline void PutTime(std::vector<uint8_t>& b, size_t at, uint64_t ticks)
{
    for (int i = 0; i < 6; ++i)
        b[at + size_t(i)] = uint8_t(ticks >> (8 * i));
}

struct SpartanHit {
    double seconds = 0;
    uint8_t channel = 1;
    uint8_t amplitude = 0;
    uint16_t energy = 0;
    uint16_t counts = 0;
    uint32_t duration = 0;
    uint16_t rise = 0;
};

class SpartanBuilder {
public:
    SpartanBuilder() : bytes_(512, 0)
    {
        bytes_[20] = 'T'; // date text
        bytes_[40] = 'V'; // version text
        bytes_[46] = 1;   // label length
        bytes_[47] = 'L';
    }
    SpartanBuilder& Continuous()
    {
        bytes_[39] = 1;
        return *this;
    }
    SpartanBuilder& Hit(double seconds, uint8_t amplitude, uint16_t counts = 1)
    {
        auto& r = Record(1);
        (void)r;
        PutTime(bytes_, at_ + 1, Ticks(seconds));
        bytes_[at_ + 7] = 1;
        bytes_[at_ + 16] = uint8_t(counts);
        bytes_[at_ + 17] = uint8_t(counts >> 8);
        bytes_[at_ + 24] = amplitude;
        return *this;
    }
    SpartanBuilder& HitTicks(uint64_t ticks, uint8_t amplitude)
    {
        Record(1);
        PutTime(bytes_, at_ + 1, ticks);
        bytes_[at_ + 24] = amplitude;
        return *this;
    }
    SpartanBuilder& Parametric(double seconds)
    {
        Record(2);
        PutTime(bytes_, at_ + 1, Ticks(seconds));
        return *this;
    }
    SpartanBuilder& Comment()
    {
        Record(7);
        bytes_[at_ + 1] = 'x';
        return *this;
    }
    SpartanBuilder& Unknown()
    {
        Record(99);
        return *this;
    }
    SpartanBuilder& EndOfData()
    {
        Record(0);
        return *this;
    }
    // A hit with every value a Spartan record holds.
    SpartanBuilder& Hit(const SpartanHit& h)
    {
        Record(1);
        lm::TickTime::FromSeconds(h.seconds).ToBytes(bytes_.data() + at_ + 1);
        bytes_[at_ + 7] = h.channel;
        Put16(at_ + 12, h.rise);
        Put16(at_ + 16, h.counts);
        Put16(at_ + 18, h.energy);
        Put16(at_ + 20, uint16_t(h.duration));
        Put16(at_ + 22, uint16_t(h.duration >> 16));
        bytes_[at_ + 24] = h.amplitude;
        return *this;
    }
    const std::vector<uint8_t>& Bytes() const { return bytes_; }

private:
    void Put16(size_t at, uint16_t v)
    {
        bytes_[at] = uint8_t(v);
        bytes_[at + 1] = uint8_t(v >> 8);
    }
    std::vector<uint8_t>& Record(uint8_t code)
    {
        at_ = bytes_.size();
        bytes_.resize(at_ + 32, 0);
        bytes_[at_] = code;
        return bytes_;
    }
    std::vector<uint8_t> bytes_;
    size_t at_ = 0;
};

// Record codes of a Spartan file's records, in file order.
inline std::vector<int> SpartanCodes(const std::vector<uint8_t>& file)
{
    std::vector<int> codes;
    for (size_t at = 512; at + 32 <= file.size(); at += 32)
        codes.push_back(file[at]);
    return codes;
}

// Hit amplitudes of a Spartan file, in file order.
inline std::vector<int> SpartanHitAmplitudes(const std::vector<uint8_t>& file)
{
    std::vector<int> amps;
    for (size_t at = 512; at + 32 <= file.size(); at += 32)
        if (file[at] == 1)
            amps.push_back(file[at + 24]);
    return amps;
}

} // namespace lmtest
