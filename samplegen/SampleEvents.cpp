#include "samplegen/SampleEvents.h"

#include <algorithm>
#include <cmath>

namespace lm::gen {

namespace {
constexpr uint64_t kTicksPerSecond = 4000000;
}

SampleEventStream::SampleEventStream(const SampleOptions& options)
    : options_(options), state_(options.seed * 0x9E3779B97F4A7C15ull + 0x2545F4914F6CDD1Dull),
      hitsLeft_(options.hits)
{
    options_.channels = std::clamp(options_.channels, 1, 255);
    nextParametric_ = kTicksPerSecond;        // one sample a second
    nextTimeMark_ = 30 * kTicksPerSecond;     // a mark every 30 s
    pauseAt_ = options.hits / 2;
    now_ = kTicksPerSecond / 10;
}

uint64_t SampleEventStream::NextRandom()
{
    // xorshift64*: fast and good enough for plausible test data.
    state_ ^= state_ >> 12;
    state_ ^= state_ << 25;
    state_ ^= state_ >> 27;
    return state_ * 0x2545F4914F6CDD1Dull;
}

double SampleEventStream::Uniform() { return double(NextRandom() >> 11) * (1.0 / 9007199254740992.0); }

void SampleEventStream::MakeHit(SampleEvent& e)
{
    e.kind = SampleEvent::Hit;
    e.ticks = now_;
    // Amplitude follows a falling power law above a 40 dB threshold, as real AE does.
    const double u = Uniform();
    e.amplitude = std::min(99.0, 40.0 + -12.0 * std::log(1.0 - u * 0.999));
    const double a = e.amplitude - 40.0;
    e.duration = uint32_t(20 + a * a * 2.5 + Uniform() * 50);
    e.counts = std::max<uint32_t>(1, uint32_t(e.duration / 8.0 * (0.7 + 0.6 * Uniform())));
    e.rise = std::max<uint32_t>(1, uint32_t(e.duration * (0.05 + 0.3 * Uniform())));
    e.countsToPeak = std::max<uint32_t>(1, std::min(e.counts, uint32_t(e.counts * (0.1 + 0.4 * Uniform()))));
    e.energy = std::min(65535.0, std::max(1.0, std::pow(10.0, a / 20.0) * e.duration / 40.0));
    e.rms = uint32_t(10 + Uniform() * 20);
    e.parametric = 5.0 * std::sin(double(now_) / (60.0 * kTicksPerSecond)) ;
}

bool SampleEventStream::Next(SampleEvent& e)
{
    e = SampleEvent{};
    switch (stage_) {
    case 0:
        stage_ = 1;
        e.kind = SampleEvent::Comment;
        e.ticks = 0;
        e.text = "Synthetic test, seed " + std::to_string(options_.seed);
        return true;
    case 2:
        // Resume two seconds after the pause.
        now_ += 2 * kTicksPerSecond;
        stage_ = 1;
        e.kind = SampleEvent::Resume;
        e.ticks = now_;
        return true;
    case 3:
        stage_ = 4;
        e.kind = SampleEvent::Stop;
        e.ticks = now_ + 1000;
        return true;
    case 4:
        return false;
    default:
        break;
    }

    if (hitsLeft_ == 0) {
        stage_ = 3;
        return Next(e);
    }
    if (pauseAt_ > 0 && hitsDone_ >= pauseAt_ && burstLeft_ == 0) {
        pauseAt_ = 0;
        stage_ = 2;
        e.kind = SampleEvent::Pause;
        e.ticks = now_;
        return true;
    }
    if (burstLeft_ == 0) {
        // Next burst after an exponential gap (mean 5 ms).
        const uint64_t gap = uint64_t(-std::log(1.0 - Uniform() * 0.9999) * 20000.0) + 40;
        const uint64_t at = now_ + gap;
        if (at >= nextParametric_) {
            // A burst may already have run past the sample time; time never goes back.
            now_ = std::max(now_, nextParametric_);
            nextParametric_ += kTicksPerSecond;
            e.kind = SampleEvent::Parametric;
            e.ticks = now_;
            e.parametric = 5.0 * std::sin(double(now_) / (60.0 * kTicksPerSecond));
            return true;
        }
        if (at >= nextTimeMark_) {
            now_ = std::max(now_, nextTimeMark_);
            nextTimeMark_ += 30 * kTicksPerSecond;
            e.kind = SampleEvent::TimeMark;
            e.ticks = now_;
            e.markNumber = ++markNumber_;
            return true;
        }
        now_ = at;
        burstChannel_ = 1 + int(NextRandom() % uint64_t(options_.channels));
        burstLeft_ = 1 + int(NextRandom() % 3);
    } else {
        // A neighbour channel hears the same source a few tens of microseconds later.
        now_ += 40 + NextRandom() % 400;
        burstChannel_ = burstChannel_ % options_.channels + 1;
    }
    --burstLeft_;
    MakeHit(e);
    e.channel = burstChannel_;
    if (burstLeft_ > 0) {
        e.amplitude = std::max(40.0, e.amplitude - 3.0);
    }
    --hitsLeft_;
    ++hitsDone_;
    return true;
}

}  // namespace lm::gen
