#pragma once

// A synthetic but realistic acquisition session: hits in time order on several channels
// (bursts that reach neighbouring channels within microseconds), periodic parametric
// samples, comments, time marks, a pause/resume pair and a final stop. Every format's
// sample writer encodes the same stream, so generated files of different formats tell
// the same story.

#include <cstdint>
#include <string>

namespace lm::gen {

struct SampleOptions {
    uint64_t hits = 1000;
    int channels = 4;      // 1..(format's limit)
    uint64_t seed = 1;
};

struct SampleEvent {
    enum Kind { Hit, Parametric, Comment, TimeMark, Pause, Resume, Stop };
    Kind kind = Hit;
    uint64_t ticks = 0;        // time in 0.25 us ticks
    int channel = 1;           // 1-based
    double amplitude = 0;      // dB (40..99)
    uint32_t rise = 0;         // us
    uint32_t countsToPeak = 0;
    uint32_t counts = 0;
    uint32_t duration = 0;     // us
    double energy = 0;         // arbitrary energy unit (1..65535)
    uint32_t rms = 0;
    double parametric = 0;     // volts, -10..10 (the parametric input)
    int markNumber = 0;        // time marks count from 1
    std::string text;          // comments
};

// Pull-style generator: Next() answers false after the final stop. Exactly `hits` Hit
// events are produced; other events are interleaved in time order.
class SampleEventStream {
public:
    explicit SampleEventStream(const SampleOptions& options);
    bool Next(SampleEvent& event);

private:
    uint64_t NextRandom();
    double Uniform();  // [0, 1)
    void MakeHit(SampleEvent& event);

    SampleOptions options_;
    uint64_t state_;
    uint64_t hitsLeft_;
    uint64_t now_ = 0;             // ticks
    uint64_t nextParametric_ = 0;
    uint64_t nextTimeMark_ = 0;
    uint64_t pauseAt_ = 0;         // hit count after which the pause comes
    uint64_t hitsDone_ = 0;
    int burstLeft_ = 0;
    int burstChannel_ = 1;
    int markNumber_ = 0;
    int stage_ = 0;                // 0 start comment, 1 running, 2 paused, 3 stopped, 4 done
};

}  // namespace lm::gen
