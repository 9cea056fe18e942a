#pragma once

// Statistics of the framed sets: per set and selected channel the hit counts, amplitude
// distribution, parameter minima/maxima/totals, the Monpac-style intensity analysis
// (severity, historic index, zone), the local dynamics and the events per pressure hold,
// with the five text tables of the statistics window.
//
// The statistics read plain inputs (the records with their frame bits and flags, the
// occupied frame slots, the channel selection, the test setup and an event classification),
// so that they do not depend on where the records are kept.

#include "datafiles/ChannelMask.h"
#include "datafiles/EventClassifier.h"
#include "datafiles/LMRec.h"
#include "lmqwin2/evaluation/ATestSetup.h"

#include <array>
#include <bitset>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace lm {

// Minimum, maximum and total of one parameter, as integers truncated toward zero. The
// total is 64-bit so that long tests do not wrap it.
struct AParamStat {
    uint32_t Min = 0;
    uint32_t Max = 0;
    uint64_t Total = 0;
};

// Bounded list of copies of the greatest-energy hits, greatest first.
class AHitList {
public:
    explicit AHitList(int capacity);
    int Capacity() const { return capacity_; }
    int Count() const { return int(hits_.size()); }
    const LMShortHit& Hit(int i) const { return hits_[size_t(i)]; }

protected:
    // Keeps the hit when the list has room or its energy beats the smallest one; answers
    // whether the list changed.
    bool Insert(const LMShortHit& hit);
    uint64_t energySum_ = 0;
    int capacity_;
    std::vector<LMShortHit> hits_;
};

// Severity: the mean energy of the J greatest-energy hits (of all hits while fewer).
class ASeverity : public AHitList {
public:
    explicit ASeverity(int capacity) : AHitList(capacity) {}
    void Add(const LMShortHit& hit);
    float Current = 0.0f;
    float Maximum = 0.0f;
};

// Historic index: the mean of the recent energies over the mean of all energies.
class AHist {
public:
    explicit AHist(int ringLength);
    void Add(const LMShortHit& hit, const ATestSetup& setup);

    uint32_t N = 0;           // evaluated hits; 32-bit so that long tests keep counting
    uint64_t EnergyTotal = 0; // 64-bit for the same reason
    float Current = 0.0f;
    float Maximum = 0.0f;
    TickTime MaximumTime;

    // The i-th newest energy (0 the newest); 0 where the ring holds none.
    uint16_t Recent(int i) const;
    int RingLength() const { return int(length_); }

private:
    // Number of newest energies the recent mean divides by, by the hit-count rules.
    static long long RecentCount(uint32_t n, const ATestSetup& setup);
    uint32_t length_;
    std::vector<uint16_t> ring_;
    size_t head_ = 0;     // position of the newest energy
    uint32_t filled_ = 0; // energies held, at most the ring length
    uint32_t window_ = 0; // newest energies summed in windowSum_
    uint64_t windowSum_ = 0;
};

struct AMonpac {
    AMonpac(int severityHits, int ringLength) : Severity(severityHits), Hist(ringLength) {}
    void Add(const LMShortHit& hit, const ATestSetup& setup);

    uint32_t N = 0;
    uint64_t TotalDuration = 0;
    uint32_t HighAmplitudeCount = 0;
    ASeverity Severity;
    AHist Hist;
    // Zone of the intensity analysis from the maximum historic index and severity
    // (ClassifyZone); the MONPAC+ table and the zone plot both ask for it.
    int Zone() const;
};

struct ALocDyn {
    // t: the hit's time in seconds.
    void Add(const LMShortHit& hit, double t, double exponent);
    // "1" to "4" by the maximum W/V and the class bounds.
    static char Class(double maxWV, const ATestSetup& setup);

    uint32_t n = 0;
    double t0 = 0;
    double PreviousElapsed = 0;
    double CurrentElapsed = 0;
    double MaxWVTime = 0;
    double PreviousCounts = 0;
    double CurrentCounts = 0;
    double W = 0;
    double MaxW = 0;
    double SumW = 0;
    double V = 0;
    double WV = 0;
    double MaxWV = 0;
    double SumWV = 0;
};

struct AHoldsStat {
    explicit AHoldsStat(int holdCount) : Counts(size_t(holdCount > 0 ? holdCount : 0), 0) {}
    void Add(const LMShortHit& hit, double t, const ATestSetup& setup);
    std::vector<uint32_t> Counts;
};

struct AChan {
    int Channel = 0;
    uint32_t HitCount = 0;
};

inline constexpr int kAmplitudeThresholds[7] = {50, 55, 60, 65, 70, 80, 90};

class AChanStat : public AChan {
public:
    AChanStat(int channel, int set, const ATestSetup& setup);
    // t: the hit's time in seconds, converted once for all sets the hit is in.
    void Add(const LMShortHit& hit, double t, const ATestSetup& setup);

    enum { Amplitude, Energy, Counts, Duration, RiseTime, Frequency, ParamCount };

    int SetIndex = 0;
    std::array<uint32_t, 7> AmpDistribution{};
    std::array<AParamStat, ParamCount> Params{};
    AMonpac Monpac;
    ALocDyn LocDyn;
    AHoldsStat HoldsStat;
};

struct ASetStat {
    explicit ASetStat(int set) : Set(set) {}
    int Set = 0;
    // Index = channel number 1-128; index 0 stays empty.
    std::array<std::unique_ptr<AChanStat>, 129> Channels;
};

// Zone of the zone intensity plot from the maximum historic index H and the maximum
// severity S: 0-4 for A-E, 5 for minor activity.
int ClassifyZone(float H, float S);
inline constexpr int kZoneMinor = 5;
// "A" to "E", or "Mnr".
std::string ZoneName(int zone);

class ATestStat {
public:
    explicit ATestStat(const ATestSetup& setup) : setup_(setup) {}

    // For each occupied slot (bit s of mask) a set numbered s.
    void CreateSets(uint8_t occupiedSlots);
    // A channel record in every existing set when channel c is selected.
    void CreateChannel(int c, const ChannelMask& selected);
    // Adds the hit to the record of its channel in every set whose frame bit it carries.
    void AddHit(const LMShortHit& hit);

    // Builds everything in one pass over the records in file order: undeleted hits in at
    // least one frame; with events set, only hits that open a new event (classified
    // among those hits, restarted first with the windows it holds: the test setup's MPT
    // and lockout). ELMData 2001 from the classification reaches the caller.
    void Build(std::span<const LMShortHit> records, uint8_t occupiedSlots, const ChannelMask& selected,
               EventClassifier* events);

    const ASetStat* Set(int s) const { return sets_[size_t(s)].get(); }
    bool HasSets() const;

    // The five tables; each prints nothing when no set exists.
    void PrintAmplitudeTable(std::ostream& out) const;
    void PrintParameterTables(std::ostream& out) const;
    void PrintMonpacTable(std::ostream& out) const;
    void PrintLocDynTable(std::ostream& out) const;
    void PrintHoldsTable(std::ostream& out) const;

private:
    const ATestSetup& setup_;
    ChannelMask selected_;
    std::array<std::unique_ptr<ASetStat>, 8> sets_;
};

// Tab captions of the five tables, in print order.
inline constexpr const char* kStatCaptions[5] = {"Amplitude Distr.", "Statistic Distr.", "   MONPAC+   ",
                                                 "Local/Dynamic", " Pressure holds"};

} // namespace lm
