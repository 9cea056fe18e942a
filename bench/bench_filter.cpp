// Filtration speed: a generated file of 1 million hits filtered as hits (two active
// windows) and as events, beside a plain record-by-record copy of the same file.

#include "datafiles/DataFileOpen.h"
#include "lmfwin/filter/AFilter.h"
#include "lmfwin/filter/FilterRun.h"
#include "samplegen/SampleGen.h"

#include <benchmark/benchmark.h>
#include <cctype>
#include <filesystem>
#include <map>
#include <string>

namespace fs = std::filesystem;

namespace {

class BenchParams : public lm::ParamLookup {
public:
    lm::HitParam FindParamId(std::string_view name) const override
    {
        static const std::map<std::string, lm::HitParam> ids = {
            {"amplitude", lm::hpAmplitude}, {"counts", lm::hpCounts}, {"energy", lm::hpEnergy}};
        std::string lower;
        for (char c : name)
            lower += char(std::tolower(static_cast<unsigned char>(c)));
        const auto it = ids.find(lower);
        return it == ids.end() ? 0 : it->second;
    }
    std::optional<std::string> FindParamName(lm::HitParam) const override { return std::nullopt; }
    std::string FindShortName(lm::HitParam) const override { return {}; }
};

constexpr uint64_t kHits = 1000000;

const fs::path& Folder()
{
    static const fs::path folder = [] {
        fs::path p = fs::temp_directory_path() / ("lm_bench_filter_" + std::to_string(::getpid()));
        fs::create_directories(p);
        return p;
    }();
    return folder;
}

// The sample file of a format ("sdt" Spartan, "dta" DiSP), generated once per process.
std::string Sample(const std::string& format)
{
    static std::map<std::string, std::string> made;
    auto it = made.find(format);
    if (it != made.end())
        return it->second;
    lm::gen::SampleOptions options;
    options.hits = kHits;
    options.channels = 8;
    const std::string path = (Folder() / ("sample." + format)).string();
    lm::gen::GenerateSampleFile(format, options, path);
    return made[format] = path;
}

void PlainCopy(benchmark::State& state, const std::string& format)
{
    const std::string source = Sample(format);
    const std::string target = (Folder() / ("copy." + format)).string();
    int64_t records = 0;
    for (auto _ : state) {
        lm::BinaryFile in, out;
        in.Open(source, lm::BinaryFile::Mode::Read);
        out.Open(target, lm::BinaryFile::Mode::Write);
        lm::DataCopy copy = lm::OpenDataCopy(in, out);
        copy.reader->SeekFirstRecord();
        copy.writer->SeekFirstRecord();
        while (copy.reader->ReadNext()) {
            copy.writer->AppendRecord(*copy.reader);
            ++records;
        }
        copy.writer->WriteHeader();
        copy = {};
        in.Close();
        out.Close();
    }
    state.SetItemsProcessed(records);
}

void Filter(benchmark::State& state, const std::string& format, int treatment)
{
    const BenchParams params;
    lm::FilterControls c;
    c.EditSourceFile = Sample(format);
    c.EditPostFile = (Folder() / ("post." + format)).string();
    c.GridA = {{"Amplitude", "45", "90"}};
    c.GridB = {{"Counts", "2", "5000"}, {"Energy", "1", "60000"}};
    c.BoxDepB = true;
    c.GridExpressions[0] = "A&B";
    c.RadioGroupEventType = treatment;
    c.EditMPT = "200";
    c.EditLOCK = "1000";
    lm::FilterRunOptions options;
    options.makeReport = false;
    int64_t records = 0;
    uint32_t written = 0;
    for (auto _ : state) {
        lm::AFilter filter(c, params, lm::FilterNumberFormat{'.'});
        const lm::FilterRunResult r = lm::RunFilter(filter, options);
        records += r.total;
        written = r.written;
    }
    state.SetItemsProcessed(records);
    state.counters["kept"] = written;
}

BENCHMARK_CAPTURE(PlainCopy, spartan, std::string("sdt"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Filter, spartan_hits, std::string("sdt"), 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Filter, spartan_events, std::string("sdt"), 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PlainCopy, disp, std::string("dta"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Filter, disp_hits, std::string("dta"), 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Filter, disp_events, std::string("dta"), 1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ec;
    fs::remove_all(Folder(), ec);
    return 0;
}
