// Reading speed of every format on generated files of one million hits, beside the two
// bounds that matter: a plain read() of the same file in 1 MiB blocks (the walk can't be
// faster) and a plain fill of an array of the loaded size (the loader can't be faster, as
// first-touching fresh memory dominates it).
//
// Counters: items_per_second are records per second; "x_read" is the time relative to the
// plain read of the same file, "x_fill" the loader's time relative to the plain fill (all
// in CPU time of the benchmark thread). LM_BENCH_HITS changes the number of hits.

#include "datafiles/DataFileLoad.h"
#include "datafiles/DataFileOpen.h"
#include "samplegen/SampleGen.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

struct Sample {
    std::string format;
    std::string path;
    uint64_t bytes = 0;
    uint32_t records = 0;
    double readSeconds = 0; // mean time of one plain read of the file
    double fillSeconds = 0; // mean time of one plain fill of the loaded size
};

// Ratios use the thread's CPU time, as items_per_second does: on a shared machine the
// wall time mostly measures the other processes.
struct Clock {
    static double now()
    {
        timespec ts{};
        ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
        return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
    }
};

double Since(double start)
{
    return Clock::now() - start;
}

void PlainRead(benchmark::State& state, Sample* sample)
{
    std::vector<char> block(1 << 20);
    double total = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        const int fd = ::open(sample->path.c_str(), O_RDONLY);
        if (fd < 0) {
            state.SkipWithError("cannot open");
            return;
        }
        uint64_t sum = 0;
        for (ssize_t got; (got = ::read(fd, block.data(), block.size())) > 0;)
            sum += uint64_t(got) + uint8_t(block[0]);
        ::close(fd);
        benchmark::DoNotOptimize(sum);
        total += Since(start);
    }
    sample->readSeconds = total / double(state.iterations());
    state.SetItemsProcessed(int64_t(state.iterations()) * sample->records);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(sample->bytes));
}

void ReaderWalk(benchmark::State& state, Sample* sample)
{
    double total = 0;
    uint64_t walked = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        lm::OpenedDataFile opened = lm::OpenDataFile(sample->path);
        lm::AWDiskFile& reader = *opened.reader;
        lm::LMShortHit hit;
        reader.SeekFirstRecord();
        while (reader.ReadNext()) {
            reader.ReadRecord(hit);
            ++walked;
        }
        benchmark::DoNotOptimize(hit);
        total += Since(start);
    }
    if (walked != uint64_t(state.iterations()) * sample->records)
        state.SkipWithError("the walk did not read every record");
    state.SetItemsProcessed(int64_t(walked));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(sample->bytes));
    if (sample->readSeconds > 0)
        state.counters["x_read"] = total / double(state.iterations()) / sample->readSeconds;
}

void PlainFill(benchmark::State& state, Sample* sample)
{
    double total = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        std::vector<lm::LMShortHit> records(sample->records);
        for (uint32_t i = 0; i < sample->records; ++i) {
            records[i].kind = lm::rkHit;
            records[i].counts = uint16_t(i);
        }
        benchmark::DoNotOptimize(records.data());
        total += Since(start);
    }
    sample->fillSeconds = total / double(state.iterations());
    state.SetItemsProcessed(int64_t(state.iterations()) * sample->records);
}

void DumpLoader(benchmark::State& state, Sample* sample)
{
    double total = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        lm::LoadedDataFile loaded = lm::LoadDataFile(sample->path);
        benchmark::DoNotOptimize(loaded.records.data());
        if (loaded.records.size() != sample->records)
            state.SkipWithError("unexpected record count");
        total += Since(start);
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * sample->records);
    const double mean = total / double(state.iterations());
    if (sample->readSeconds > 0)
        state.counters["x_read"] = mean / sample->readSeconds;
    if (sample->fillSeconds > 0)
        state.counters["x_fill"] = mean / sample->fillSeconds;
}

} // namespace

int main(int argc, char** argv)
{
    uint64_t hits = 1000000;
    if (const char* env = std::getenv("LM_BENCH_HITS"))
        hits = std::strtoull(env, nullptr, 10);

    char pattern[] = "/tmp/lmbench-XXXXXX";
    if (!::mkdtemp(pattern)) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::string folder = pattern;

    std::vector<Sample> samples;
    for (const char* format : {"sdt", "dta", "isa", "ald"}) {
        Sample s;
        s.format = format;
        s.path = folder + "/bench." + format;
        lm::gen::SampleOptions options;
        options.hits = hits;
        options.channels = 8;
        options.seed = 1;
        const auto start = Clock::now();
        lm::gen::GenerateSampleFile(format, options, s.path);
        const double seconds = Since(start);
        s.bytes = std::filesystem::file_size(s.path);
        lm::OpenedDataFile opened = lm::OpenDataFile(s.path);
        s.records = lm::CountRecordSlots(*opened.reader);
        std::printf("generated %s: %llu hits, %u records, %llu bytes in %.2f s\n", format,
                    (unsigned long long)hits, s.records, (unsigned long long)s.bytes, seconds);
        samples.push_back(s);
    }
    std::fflush(stdout);

    for (Sample& s : samples) {
        benchmark::RegisterBenchmark(("PlainRead/" + s.format).c_str(), PlainRead, &s)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("ReaderWalk/" + s.format).c_str(), ReaderWalk, &s)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("PlainFill/" + s.format).c_str(), PlainFill, &s)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("DumpLoader/" + s.format).c_str(), DumpLoader, &s)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(folder);
    return 0;
}
