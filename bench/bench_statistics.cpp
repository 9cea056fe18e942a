// Statistics of eight framed sets over ten million in-memory hits.
#include "lmqwin2/evaluation/ATestStat.h"

#include <benchmark/benchmark.h>
#include <random>
#include <vector>

namespace {

const std::vector<lm::LMShortHit>& Records()
{
    static const std::vector<lm::LMShortHit> records = [] {
        std::vector<lm::LMShortHit> r(10'000'000);
        std::mt19937 rng(1);
        uint64_t ticks = 0;
        for (auto& h : r) {
            ticks += 40 + rng() % 4000;
            h.kind = lm::rkHit;
            h.time = lm::TickTime::FromValue(ticks);
            h.channel = uint8_t(1 + rng() % 16);
            h.amplitude = uint8_t(40 + rng() % 50);
            h.energy = uint16_t(rng() % 2000);
            h.counts = uint16_t(rng() % 300);
            h.duration = rng() % 5000;
            h.rise = uint16_t(rng() % 200);
            // Mostly one frame per hit, sometimes two; a few hits outside every frame.
            const uint32_t x = rng();
            h.FrameBits = uint16_t((1u << (x % 8)) | ((x & 0x700) == 0 ? 1u << ((x >> 3) % 8) : 0u));
            if ((x & 0xF000) == 0)
                h.FrameBits = 0;
        }
        return r;
    }();
    return records;
}

void BM_Statistics8Frames(benchmark::State& state)
{
    const auto& records = Records();
    lm::ATestSetup setup;
    setup.Holds = {lm::AHold{"H1", 10, 100, 600, 60}, lm::AHold{"H2", 12, 800, 600, 60}};
    lm::ChannelMask all;
    all.set();
    for (auto _ : state) {
        lm::ATestStat stat(setup);
        stat.Build(records, 0xFF, all, nullptr);
        benchmark::DoNotOptimize(stat.Set(0));
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(records.size()));
}
BENCHMARK(BM_Statistics8Frames)->Unit(benchmark::kMillisecond);

void BM_Statistics8FramesEventView(benchmark::State& state)
{
    const auto& records = Records();
    lm::ATestSetup setup;
    lm::ChannelMask all;
    all.set();
    for (auto _ : state) {
        lm::EventClassifier events;
        events.ResetEvents(setup.MPT, setup.Lockout);
        lm::ATestStat stat(setup);
        stat.Build(records, 0xFF, all, &events);
        benchmark::DoNotOptimize(stat.Set(0));
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(records.size()));
}
BENCHMARK(BM_Statistics8FramesEventView)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
