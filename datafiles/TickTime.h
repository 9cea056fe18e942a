#pragma once

// Record time: an unsigned 48-bit count of 0.25 us ticks (4 000 000 per second), kept as
// the three 16-bit words low, mid, high (a little-endian 48-bit integer in 6 bytes).

#include <compare>
#include <cstdint>

namespace lm {

struct TickTime {
    uint16_t low = 0;
    uint16_t mid = 0;
    uint16_t high = 0;

    static constexpr long double kTicksPerSecond = 4e6L;
    static constexpr uint64_t kMaxValue = (uint64_t(1) << 48) - 1;

    // Seconds to ticks, truncating toward zero, in extended precision.
    // Negative or non-finite seconds give 0; values beyond 48 bits keep their low 48 bits.
    static TickTime FromSeconds(long double seconds);
    static TickTime FromValue(uint64_t ticks)
    {
        return TickTime{uint16_t(ticks), uint16_t(ticks >> 16), uint16_t(ticks >> 32)};
    }
    // Reads the 6 bytes low, mid, high (little-endian).
    static TickTime FromBytes(const uint8_t* p)
    {
        return TickTime{uint16_t(p[0] | (p[1] << 8)), uint16_t(p[2] | (p[3] << 8)),
                        uint16_t(p[4] | (p[5] << 8))};
    }
    void ToBytes(uint8_t* p) const
    {
        p[0] = uint8_t(low);
        p[1] = uint8_t(low >> 8);
        p[2] = uint8_t(mid);
        p[3] = uint8_t(mid >> 8);
        p[4] = uint8_t(high);
        p[5] = uint8_t(high >> 8);
    }

    uint64_t Value() const { return uint64_t(low) | (uint64_t(mid) << 16) | (uint64_t(high) << 32); }
    // The 48-bit count is exact in extended precision, so only the product rounds.
    long double Seconds() const { return (long double)int64_t(Value()) * 2.5e-7L; }
    bool IsZero() const { return Value() == 0; }

    friend bool operator==(const TickTime& a, const TickTime& b)
    {
        return a.low == b.low && a.mid == b.mid && a.high == b.high;
    }
    friend std::strong_ordering operator<=>(const TickTime& a, const TickTime& b)
    {
        return a.Value() <=> b.Value();
    }
};

static_assert(sizeof(TickTime) == 6);

} // namespace lm
