// The data set's hot paths on generated files: loading (records/s and the memory it takes
// per record), framing one frame over 10 million hits, and saving 10 million hits compared
// with a plain reader/writer copy of the same file.
//
// Generated files are kept in $LM_BENCH_DIR (default: the system temp folder) between runs.

#include "datafiles/DataFileOpen.h"
#include "lmqwin2/dataset/LMDataSet.h"
#include "samplegen/SampleGen.h"
#include "lmqwin2/graphs/frames/TFrameArray.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

std::string BenchFolder()
{
    const char* folder = std::getenv("LM_BENCH_DIR");
    return folder ? folder : fs::temp_directory_path().string();
}

// A Spartan sample file with `hits` hits, generated once.
std::string SampleFile(uint64_t hits)
{
    const std::string path = BenchFolder() + "/lm_bench_dataset_" + std::to_string(hits) + ".sdt";
    if (!fs::exists(path))
        lm::gen::GenerateSampleFile("sdt", {hits, 8, 42}, path);
    return path;
}

// Resident memory now and at its peak since the last reset, in bytes (Linux).
long StatusValue(const char* key)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(key) + ":";
    while (std::getline(status, line))
        if (line.rfind(prefix, 0) == 0)
            return std::atol(line.c_str() + prefix.size()) * 1024;
    return 0;
}

void ResetPeakMemory()
{
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
}

void BM_Load(benchmark::State& state)
{
    const uint64_t hits = uint64_t(state.range(0));
    const std::string path = SampleFile(hits);
    uint32_t records = 0;
    long extraPeak = 0;
    for (auto _ : state) {
        lm::LMDataSet data;
        state.PauseTiming();
        const long before = StatusValue("VmRSS");
        ResetPeakMemory();
        state.ResumeTiming();
        data.Load(path);
        state.PauseTiming();
        // Later iterations may reuse the heap the first one left resident: keep the largest.
        extraPeak = std::max(extraPeak, StatusValue("VmHWM") - before);
        records = data.RecordCount;
        state.ResumeTiming();
    }
    state.counters["records"] = records;
    state.counters["records/s"] =
        benchmark::Counter(double(records) * double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["peak_MB"] = double(extraPeak) / 1e6;
    state.counters["peak_bytes/record"] = double(extraPeak) / double(records);
}
BENCHMARK(BM_Load)->Arg(1'000'000)->Arg(10'000'000)->Unit(benchmark::kMillisecond)->Iterations(3);

// 10 million hits on 8 channels in memory; one amplitude-energy frame on channels 1-4.
void BM_FrameOneFrame(benchmark::State& state)
{
    const bool eventMode = state.range(0) != 0;
    lm::LMDataSet data;
    const uint32_t count = 10'000'000;
    data.Records.resize(count);
    uint64_t ticks = 0;
    uint32_t seed = 12345;
    for (lm::LMShortHit& hit : data.Records) {
        seed = seed * 1664525u + 1013904223u;
        hit.kind = lm::rkHit;
        ticks += 100 + (seed >> 20);
        hit.time = lm::TickTime::FromValue(ticks);
        hit.channel = uint8_t(1 + (seed >> 8) % 8);
        hit.amplitude = uint8_t(40 + (seed >> 12) % 60);
        hit.energy = uint16_t(seed >> 16);
    }
    data.RecordCount = count;
    data.HitCount = count;
    data.ResetEvents(5, 20);

    lm::TFrameRect frame;
    frame.XParam = int32_t(lm::hpAmplitude);
    frame.YParam = int32_t(lm::hpEnergy);
    frame.XMin = 50;
    frame.XMax = 70;
    frame.YMin = 1000;
    frame.YMax = 30000;
    for (int c = 0; c < 4; ++c)
        frame.Channels.set(c);
    const lm::FrameFilter filter = lm::FrameFilter::From(frame, {}, eventMode);
    for (auto _ : state) {
        state.PauseTiming();
        data.ClearFrameBits();
        state.ResumeTiming();
        lm::FrameHits(data, filter, 0);
        benchmark::DoNotOptimize(data.FramedCount);
    }
    state.counters["framed"] = data.FramedCount;
    state.counters["hits/s"] =
        benchmark::Counter(double(count) * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_FrameOneFrame)->Arg(0)->Arg(1)->ArgName("events")->Unit(benchmark::kMillisecond);

// Save of 10 million hits with every 100th hit deleted, against a plain copy of the file.
void BM_Save(benchmark::State& state)
{
    const std::string path = SampleFile(10'000'000);
    const std::string target = BenchFolder() + "/lm_bench_dataset_saved.sdt";
    lm::LMDataSet data;
    data.Load(path);
    uint32_t n = 0;
    for (lm::LMShortHit& hit : data.Records)
        if (hit.kind == lm::rkHit && ++n % 100 == 0) {
            hit.SetHitFlags(lm::hfDeleted);
            ++data.DeletedCount;
        }
    for (auto _ : state)
        data.Save(target);
    fs::remove(target);
    state.counters["records/s"] = benchmark::Counter(double(data.RecordCount) * double(state.iterations()),
                                                     benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_PlainCopy(benchmark::State& state)
{
    const std::string path = SampleFile(10'000'000);
    const std::string target = BenchFolder() + "/lm_bench_dataset_copied.sdt";
    uint64_t records = 0;
    for (auto _ : state) {
        lm::BinaryFile in, out;
        in.Open(path, lm::BinaryFile::Mode::Read);
        out.Open(target, lm::BinaryFile::Mode::Write);
        {
            lm::DataCopy copy = lm::OpenDataCopy(in, out);
            copy.reader->SeekFirstRecord();
            copy.writer->SeekFirstRecord();
            records = 0;
            while (copy.reader->ReadNext()) {
                copy.writer->AppendRecord(*copy.reader);
                ++records;
            }
            copy.writer->WriteHeader();
        }
        out.Close();
    }
    fs::remove(target);
    state.counters["records/s"] =
        benchmark::Counter(double(records) * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PlainCopy)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
