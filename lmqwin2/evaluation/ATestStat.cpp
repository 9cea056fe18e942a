#include "lmqwin2/evaluation/ATestStat.h"

#include "datafiles/ELMData.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <climits>
#include <cmath>
#include <ostream>

namespace lm {

// ---- Monpac accumulators ----------------------------------------------------------------

// A severity over no hits has no meaning: a list of at least one hit is always kept. The
// storage grows with the hits, so a huge count in a setup file costs nothing up front.
AHitList::AHitList(int capacity) : capacity_(std::max(capacity, 1)) {}

bool AHitList::Insert(const LMShortHit& hit)
{
    int pos;
    if (Count() < capacity_) {
        pos = Count();
        hits_.push_back(hit);
    } else if (hit.energy > hits_.back().energy) {
        pos = Count() - 1;
        energySum_ -= hits_.back().energy;
    } else {
        return false;
    }
    // The rest of the list is sorted: move the new hit up to its place.
    while (pos > 0 && hits_[size_t(pos - 1)].energy < hit.energy) {
        hits_[size_t(pos)] = hits_[size_t(pos - 1)];
        --pos;
    }
    hits_[size_t(pos)] = hit;
    energySum_ += hit.energy;
    return true;
}

void ASeverity::Add(const LMShortHit& hit)
{
    if (!Insert(hit))
        return; // the list, and so its mean, is unchanged
    // The quotient is rounded to single once: a sum beyond 2^24 would lose digits first.
    Current = float(double(energySum_) / double(Count()));
    if (Current > Maximum)
        Maximum = Current;
}

// The ring grows to its length as the hits come (unfilled positions count as 0).
AHist::AHist(int ringLength) : length_(uint32_t(std::max(ringLength, 0))) {}

uint16_t AHist::Recent(int i) const
{
    if (i < 0 || uint32_t(i) >= filled_)
        return 0;
    const size_t back = size_t(i);
    return ring_[head_ >= back ? head_ - back : head_ + length_ - back];
}

long long AHist::RecentCount(uint32_t n, const ATestSetup& s)
{
    const long long N = n;
    if (N < s.MP_HstLimit1)
        return 0;
    if (N < s.MP_HstLimit2)
        return N;
    if (N < s.MP_HstLimit3)
        return s.MP_HstLastHits3;
    if (N < s.MP_HstLimit4) {
        const float up = std::ceil(float(n) * s.MP_HstLastHits4);
        // A typed factor can put N f beyond any integer: far above N the window is empty,
        // far below it the window is longer than the ring (and is capped by the caller).
        if (std::isnan(up) || up >= 9e18f)
            return 0;
        if (up <= -9e18f)
            return LLONG_MAX;
        return N - (long long)up;
    }
    return s.MP_HstLastHits5;
}

void AHist::Add(const LMShortHit& hit, const ATestSetup& setup)
{
    ++N;
    EnergyTotal += hit.energy;
    const float overall = float(double(EnergyTotal) / double(N)); // rounded once, as the severity

    // The ring keeps the newest energies; the window is the newest `window_` of them with
    // their sum, moved along instead of summed anew for every hit.
    const uint32_t len = length_;
    if (filled_ < len) {
        ring_.push_back(hit.energy);
        head_ = filled_++;
        windowSum_ += hit.energy;
        ++window_;
    } else if (len > 0) {
        const size_t next = head_ + 1 == len ? 0 : head_ + 1;
        if (window_ == len) {
            windowSum_ -= ring_[next]; // the oldest is about to be overwritten
            --window_;
        }
        head_ = next;
        ring_[head_] = hit.energy;
        windowSum_ += hit.energy;
        ++window_;
    }

    // Outside the data model's limits (a window longer than the ring, or no window at all)
    // the window is capped at the ring length, and an empty window gives a recent mean of 0.
    long long k = RecentCount(N, setup);
    if (k < 0)
        k = 0;
    const long long divisor = std::min<long long>(k, len);
    const uint32_t target = uint32_t(std::min<long long>(divisor, filled_));
    while (window_ > target) {
        --window_;
        windowSum_ -= Recent(int(window_));
    }
    while (window_ < target) {
        windowSum_ += Recent(int(window_));
        ++window_;
    }
    // Ring positions never filled hold 0, so a window longer than the hits so far divides
    // the newest energies by the full window length.
    const float recent = divisor > 0 ? float(windowSum_) / float(divisor) : 0.0f;

    if (overall == 0.0f)
        return;
    Current = recent / overall;
    if (Current > Maximum) {
        Maximum = Current;
        MaximumTime = hit.time;
    }
}

void AMonpac::Add(const LMShortHit& hit, const ATestSetup& setup)
{
    const int a = hit.amplitude;
    if (a <= setup.EvalTH)
        return;
    ++N;
    TotalDuration += hit.duration;
    if (a > setup.HiAmpLev)
        ++HighAmplitudeCount;
    Severity.Add(hit);
    Hist.Add(hit, setup);
}

// ---- local dynamics ---------------------------------------------------------------------

void ALocDyn::Add(const LMShortHit& hit, double t, double exponent)
{
    const double c = hit.counts;
    if (n == 0) {
        t0 = t;
        PreviousElapsed = 0;
        PreviousCounts = c;
    } else {
        CurrentCounts = c;
        W = PreviousCounts != 0 ? c / PreviousCounts : c;
        SumW += W;
        PreviousCounts = c;
        if (W > MaxW)
            MaxW = W;

        CurrentElapsed = t - t0;
        // A hit at the time of the channel's first hit has no elapsed time to weigh W by:
        // it enters with V = 1 (W unweighted), as does any V that is 0 or not finite.
        if (CurrentElapsed != 0.0) {
            const double ratio = (CurrentElapsed - PreviousElapsed) / CurrentElapsed + 1.0;
            V = (exponent == 4.0 ? (ratio * ratio) * (ratio * ratio) : std::pow(ratio, exponent)) - 1.0;
        } else {
            V = 1.0;
        }
        if (V == 0.0 || !std::isfinite(V))
            V = 1.0;
        PreviousElapsed = CurrentElapsed;

        WV = W / V;
        SumWV += WV;
        if (WV > MaxWV) {
            MaxWV = WV;
            MaxWVTime = t;
        }
    }
    ++n;
}

char ALocDyn::Class(double maxWV, const ATestSetup& setup)
{
    if (maxWV <= setup.Class1)
        return '1';
    if (maxWV <= setup.Class2)
        return '2';
    if (maxWV <= setup.Class3)
        return '3';
    return '4';
}

void AHoldsStat::Add(const LMShortHit& hit, double t, const ATestSetup& setup)
{
    if (int(hit.amplitude) <= setup.EvalTH)
        return;
    const size_t h = std::min(Counts.size(), setup.Holds.size());
    for (size_t i = 0; i < h; ++i)
        if (setup.Holds[i].Contains(t))
            ++Counts[i];
}

// ---- channel record ---------------------------------------------------------------------

AChanStat::AChanStat(int channel, int set, const ATestSetup& setup)
    : SetIndex(set), Monpac(setup.SevHitNum, setup.MP_HstLastHits5), HoldsStat(setup.HoldCount())
{
    Channel = channel;
}

void AChanStat::Add(const LMShortHit& hit, double t, const ATestSetup& setup)
{
    ++HitCount;
    for (int i = 0; i < 7; ++i) {
        if (hit.amplitude > kAmplitudeThresholds[i])
            ++AmpDistribution[size_t(i)];
        else
            break;
    }
    if (HitCount == 1) {
        // The first hit sets every minimum and maximum.
        for (AParamStat& p : Params) {
            p.Min = UINT32_MAX;
            p.Max = 0;
        }
    }
    const auto track = [](AParamStat& p, uint32_t v) {
        p.Min = std::min(p.Min, v);
        p.Max = std::max(p.Max, v);
        p.Total += v;
    };
    const uint32_t duration = hit.duration != 0 ? hit.duration : 1;
    track(Params[Amplitude], hit.amplitude);
    track(Params[Energy], hit.energy);
    track(Params[Counts], hit.counts);
    track(Params[Duration], hit.duration);
    track(Params[RiseTime], hit.rise);
    track(Params[Frequency], uint32_t(hit.counts) * 1000u / duration);
    Monpac.Add(hit, setup);
    LocDyn.Add(hit, t, setup.LDExponent);
    HoldsStat.Add(hit, t, setup);
}

// ---- zones ------------------------------------------------------------------------------

namespace {

// (H, S) lies on or below the line from (x1, y1) to (x2, y2); single precision throughout.
bool OnOrBelow(float H, float S, float x1, float y1, float x2, float y2)
{
    const float d = (x2 - x1) / (y1 - y2);
    return S + (H - x1) / d <= y1;
}

} // namespace

int ClassifyZone(float H, float S)
{
    const float h26 = 2.6f, h31 = 3.1f;
    if (H <= 10.0f && S <= 25.0f)
        return kZoneMinor;
    if (H <= 2.0f && S <= 50.0f)
        return 0;
    if (H <= 2.0f && S <= 71.0f)
        return 1;
    if (H <= h26 && S <= 50.0f)
        return 1;
    if (H <= h26 && S <= 71.0f && OnOrBelow(H, S, 2.0f, 71.0f, h26, 50.0f))
        return 1;
    if (H <= 2.0f && S <= 190.0f)
        return 2;
    if (H <= 10.0f && S <= 71.0f)
        return 2;
    if (H <= h31 && S <= 150.0f && OnOrBelow(H, S, 2.0f, 150.0f, h31, 71.0f))
        return 2;
    if (H <= h26 && S <= 600.0f)
        return 3;
    if (H <= 10.0f && S <= 190.0f)
        return 3;
    return 4;
}

int AMonpac::Zone() const
{
    return ClassifyZone(Hist.Maximum, Severity.Maximum);
}

std::string ZoneName(int zone)
{
    if (zone == kZoneMinor)
        return "Mnr";
    if (zone >= 0 && zone < 5)
        return std::string(1, char('A' + zone));
    return "";
}

// ---- building ---------------------------------------------------------------------------

void ATestStat::CreateSets(uint8_t occupiedSlots)
{
    for (int s = 0; s < 8; ++s)
        if (occupiedSlots & (1u << s))
            sets_[size_t(s)] = std::make_unique<ASetStat>(s);
}

void ATestStat::CreateChannel(int c, const ChannelMask& selected)
{
    if (c < 1 || c > 128 || !selected.test(size_t(c - 1)))
        return;
    selected_.set(size_t(c - 1));
    for (auto& set : sets_)
        if (set)
            set->Channels[size_t(c)] = std::make_unique<AChanStat>(c, set->Set, setup_);
}

bool ATestStat::HasSets() const
{
    return std::any_of(sets_.begin(), sets_.end(), [](const auto& s) { return s != nullptr; });
}

void ATestStat::AddHit(const LMShortHit& hit)
{
    const int c = hit.channel;
    if (c < 1 || c > 128 || !selected_[size_t(c - 1)])
        return;
    const double t = double(hit.time.Seconds());
    for (unsigned bits = hit.FrameBits & 0xFFu; bits != 0; bits &= bits - 1) {
        const int s = std::countr_zero(bits);
        if (ASetStat* set = sets_[size_t(s)].get())
            if (AChanStat* chan = set->Channels[size_t(c)].get())
                chan->Add(hit, t, setup_);
    }
}

void ATestStat::Build(std::span<const LMShortHit> records, uint8_t occupiedSlots, const ChannelMask& selected,
                      EventClassifier* events)
{
    if (records.empty() || occupiedSlots == 0)
        return;
    if (events)
        events->RestartEvents();
    CreateSets(occupiedSlots);
    for (int c = 1; c <= 128; ++c)
        CreateChannel(c, selected);
    for (const LMShortHit& hit : records) {
        if (hit.kind != rkHit || (hit.HitFlags() & hfDeleted) || (hit.FrameBits & 0xFFu) == 0)
            continue;
        if (events && events->ClassifyEvent(hit) != ecNewEvent)
            continue;
        AddHit(hit);
    }
}

// ---- tables -----------------------------------------------------------------------------

namespace {

// A zero count or value prints as "-".
std::string Count(uint64_t v)
{
    return v == 0 ? "-" : std::to_string(v);
}

std::string Fixed(double v, int decimals)
{
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
    if (r.ec != std::errc())
        return "-";
    return std::string(buf, r.ptr);
}

void Line(std::ostream& out, std::initializer_list<std::string> fields)
{
    bool first = true;
    for (const auto& f : fields) {
        if (!first)
            out << '\t';
        out << f;
        first = false;
    }
    out << '\n';
}

const char* const kParamNames[AChanStat::ParamCount] = {"Amplitude", "Energy",   "Counts",
                                                        "Duration",  "RiseTime", "Frequency"};

} // namespace

void ATestStat::PrintAmplitudeTable(std::ostream& out) const
{
    if (!HasSets())
        return;
    Line(out, {"Chan", "Total", ">50", ">55", ">60", ">65", ">70", ">80", ">90"});
    for (const auto& set : sets_) {
        if (!set)
            continue;
        out << "Set " << set->Set + 1 << '\n';
        for (int c = 1; c <= 128; ++c) {
            const AChanStat* ch = set->Channels[size_t(c)].get();
            if (!ch)
                continue;
            out << c << '\t' << Count(ch->HitCount);
            for (uint32_t v : ch->AmpDistribution)
                out << '\t' << Count(v);
            out << '\n';
        }
    }
}

void ATestStat::PrintParameterTables(std::ostream& out) const
{
    if (!HasSets())
        return;
    Line(out, {"Chan", "Min", "Max", "Total", "Average"});
    for (const auto& set : sets_) {
        if (!set)
            continue;
        out << "Set " << set->Set + 1 << '\n';
        for (int p = 0; p < AChanStat::ParamCount; ++p) {
            out << kParamNames[p] << '\n';
            for (int c = 1; c <= 128; ++c) {
                const AChanStat* ch = set->Channels[size_t(c)].get();
                if (!ch)
                    continue;
                const AParamStat& ps = ch->Params[size_t(p)];
                Line(out, {std::to_string(c), Count(ps.Min), Count(ps.Max), Count(ps.Total),
                           ch->HitCount == 0 ? "-" : Fixed(double(ps.Total) / double(ch->HitCount), 1)});
            }
        }
    }
}

void ATestStat::PrintMonpacTable(std::ostream& out) const
{
    if (!HasSets())
        return;
    Line(out, {"Chan", "Events", "A>" + std::to_string(setup_.HiAmpLev), "TotDur", "CorrDur", "Sev.", "Hist.",
               "HistTm", "ZIP"});
    for (const auto& set : sets_) {
        if (!set)
            continue;
        out << "Set " << set->Set + 1 << '\n';
        for (int c = 1; c <= 128; ++c) {
            const AChanStat* ch = set->Channels[size_t(c)].get();
            if (!ch)
                continue;
            const AMonpac& m = ch->Monpac;
            out << c << '\t' << Count(m.N) << '\t' << Count(m.HighAmplitudeCount) << '\t'
                << Count(m.TotalDuration) << "\tU/C\t";
            if (m.N == 0)
                out << "-\t-\t-\t-";
            else if (m.N < 10)
                out << "N/A\tN/A\tN/A\tN/A";
            else
                out << Fixed(m.Severity.Maximum, 1) << '\t' << Fixed(m.Hist.Maximum, 2) << '\t'
                    << Fixed(double(m.Hist.MaximumTime.Seconds()), 2) << '\t' << ZoneName(m.Zone());
            out << '\n';
        }
    }
    out << "N/A - < 10 events, Intensity analysis non applicable\n";
    out << "Mnr - Minor activity\n";
    out << "U/C - Under construction\n";
}

void ATestStat::PrintLocDynTable(std::ostream& out) const
{
    if (!HasSets())
        return;
    Line(out, {"Chan", "Events", "1stHitTm", "MaxW", "AveW", "MaxW/V", "MaxW/VTm", "AveW/V", "Cls"});
    for (const auto& set : sets_) {
        if (!set)
            continue;
        out << "Set " << set->Set + 1 << '\n';
        for (int c = 1; c <= 128; ++c) {
            const AChanStat* ch = set->Channels[size_t(c)].get();
            if (!ch)
                continue;
            const ALocDyn& l = ch->LocDyn;
            if (l.n == 0) {
                out << c << "\t-\t-\t-\t-\t-\t-\t-\t-\n";
                continue;
            }
            Line(out, {std::to_string(c), std::to_string(l.n), Fixed(l.t0, 1), Fixed(l.MaxW, 1),
                       Fixed(l.SumW / l.n, 1), Fixed(l.MaxWV, 1), Fixed(l.MaxWVTime, 1),
                       Fixed(l.SumWV / l.n, 1), std::string(1, ALocDyn::Class(l.MaxWV, setup_))});
        }
    }
    out << "U/C - Under construction\n";
}

void ATestStat::PrintHoldsTable(std::ostream& out) const
{
    if (!HasSets())
        return;
    out << "Chan";
    for (const AHold& h : setup_.Holds)
        out << '\t' << Fixed(h.pressure, 2);
    out << '\n';
    for (const auto& set : sets_) {
        if (!set)
            continue;
        out << "Set " << set->Set + 1 << '\n';
        for (int c = 1; c <= 128; ++c) {
            const AChanStat* ch = set->Channels[size_t(c)].get();
            if (!ch)
                continue;
            out << c;
            for (uint32_t v : ch->HoldsStat.Counts)
                out << '\t' << Count(v);
            out << '\n';
        }
    }
    out << "U/C - Under construction\n";
}

} // namespace lm
