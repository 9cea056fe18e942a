// Drawing the graphs on generated data: a page of 20 point graphs (5 x 4 cells) in colour
// mode 0 redrawn into its images over 1 and 10 million hits (on one and two threads), the
// repaint of that page from the stored images, and one line graph and one histogram over
// 10 million hits.
//
// Generated files are kept in $LM_BENCH_DIR (default: the system temp folder) between runs.

#include "lmqwin2/graphs/TLMPageControl.h"
#include "lmqwin2/ui/TImageCanvas.h"
#include "samplegen/SampleGen.h"

#include <QGuiApplication>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>

namespace {

namespace fs = std::filesystem;
using namespace lm;

std::string BenchFolder()
{
    const char* folder = std::getenv("LM_BENCH_DIR");
    return folder ? folder : fs::temp_directory_path().string();
}

std::string SampleFile(uint64_t hits)
{
    const std::string path = BenchFolder() + "/lm_bench_dataset_" + std::to_string(hits) + ".sdt";
    if (!fs::exists(path))
        gen::GenerateSampleFile("sdt", {hits, 8, 42}, path);
    return path;
}

class OnePageSource final : public AGraphSource {
public:
    std::vector<GraphRecord> records;
    std::vector<GraphSystem> Systems() const override { return {GraphSystem{1, "Bench", "", 1}}; }
    std::vector<GraphPage> Pages(int64_t) const override { return {GraphPage{1, 1, "Bench"}}; }
    std::vector<GraphRecord> Graphs(int64_t) const override { return records; }
};

GraphRecord Record(int type, int cell, HitParam x, int xMin, int xMax, bool xLog, HitParam y, int yMin,
                   int yMax, bool yLog, int width = 1, int height = 1)
{
    GraphRecord r;
    r.graphTypeId = type;
    r.lx = int16_t(cell % 5);
    r.ly = int16_t(cell / 5);
    r.rx = int16_t(r.lx + width);
    r.ry = int16_t(r.ly + height);
    r.name = "g" + std::to_string(cell);
    r.xAxisType = x;
    r.xMin = xMin;
    r.xMax = xMax;
    r.xLog = xLog;
    r.yAxisType = y;
    r.yMin = yMin;
    r.yMax = yMax;
    r.yLog = yLog;
    return r;
}

// The loaded data sets, kept for the whole run.
LMDataSet& Loaded(uint64_t hits)
{
    static std::map<uint64_t, std::unique_ptr<LMDataSet>> sets;
    auto& set = sets[hits];
    if (!set) {
        set = std::make_unique<LMDataSet>();
        set->Load(SampleFile(hits));
    }
    return *set;
}

struct Bench {
    AOptions options;
    ATestSetup setup;
    AProtocol protocol;
    OnePageSource source;
    TLMPageControl control{options, setup, protocol};
    TRasterPageSurface surface{options};

    struct QuietBox : AMessageBox {
        void Warning(const std::string&, const std::string&) override {}
        bool Confirm(const std::string&) override { return true; }
    } box;

    Bench(std::vector<GraphRecord> records, uint64_t hits, int threads)
    {
        options.ViewType = 0;
        options.TimeAxisFromFile = false;
        source.records = std::move(records);
        control.SetGraphSource(&source);
        control.BuildPages(box);
        control.Relayout(1000, 700);
        control.PaintThreads = threads;
        // The records of the shared loaded set, copied once (the page control owns its set).
        LMDataSet& from = Loaded(hits);
        LMDataSet& to = control.Data();
        to.Records = from.Records;
        to.RecordCount = from.RecordCount;
        to.HitCount = from.HitCount;
        to.FileName = from.FileName;
        to.TimeAxisMax = from.TimeAxisMax;
        control.SetTimeRangeOfAll(0, int64_t(from.TimeAxisMax));
    }
    void Redraw()
    {
        control.RedrawAll();
        surface.Begin(control.Page(0));
        control.PaintPage(0, surface);
        surface.End();
    }
};

std::vector<GraphRecord> TwentyPointGraphs()
{
    std::vector<GraphRecord> r;
    for (int cell = 0; cell < 20; ++cell) {
        switch (cell % 5) {
        case 0:
            r.push_back(Record(1, cell, hpAmplitude, 0, 100, false, hpEnergy, 0, 100000, true));
            break;
        case 1:
            r.push_back(Record(1, cell, hpDuration, 1, 100000, true, hpCounts, 1, 10000, true));
            break;
        case 2:
            r.push_back(Record(1, cell, hpTime, 0, 3600, false, hpAmplitude, 0, 100, false));
            break;
        case 3:
            r.push_back(Record(1, cell, hpRise, 0, 1000, false, hpAmplitude, 0, 100, false));
            break;
        default:
            r.push_back(Record(1, cell, hpChannel, 0, 10, false, hpAmplitude, 0, 100, false));
            break;
        }
    }
    return r;
}

void BM_PointPageRedraw(benchmark::State& state)
{
    const uint64_t hits = uint64_t(state.range(0));
    Bench bench(TwentyPointGraphs(), hits, int(state.range(1)));
    for (auto _ : state)
        bench.Redraw();
    state.counters["hits/s"] =
        benchmark::Counter(double(hits) * 20 * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PointPageRedraw)
    ->Args({1'000'000, 1})
    ->Args({1'000'000, 2})
    ->Args({10'000'000, 1})
    ->Args({10'000'000, 2})
    ->ArgNames({"hits", "threads"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// What the window does on a paint event when nothing needs a redraw: page background and
// the stored graph images copied into the window's buffer.
void BM_PageRepaintFromImages(benchmark::State& state)
{
    Bench bench(TwentyPointGraphs(), 1'000'000, 2);
    bench.Redraw();
    QImage window(1000, 700, QImage::Format_RGB32);
    const TLMTabSheet& page = bench.control.Page(0);
    for (auto _ : state) {
        bench.surface.Begin(page);
        bench.control.PaintPage(0, bench.surface); // no graph needs drawing
        bench.surface.End();
        QPainter p(&window);
        p.drawImage(0, 0, bench.surface.PageImage());
        for (size_t slot = 0; slot < page.Graphs.size(); ++slot)
            if (const TLMGraph* g = page.Graphs[slot].get())
                p.drawImage(g->Left, g->Top, bench.surface.GraphImage(int(slot)));
        p.end();
        benchmark::DoNotOptimize(window.constBits());
    }
}
BENCHMARK(BM_PageRepaintFromImages)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LineGraph(benchmark::State& state)
{
    GraphRecord r = Record(2, 0, hpTime, 0, 3600, false, hpAmplitude, 0, 100, false, 5, 4);
    r.yBinSumTypeId = 2;
    r.yCumTypeId = 1;
    Bench bench({r}, 10'000'000, 1);
    for (auto _ : state)
        bench.Redraw();
    state.counters["hits/s"] =
        benchmark::Counter(1e7 * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_LineGraph)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Histogram(benchmark::State& state)
{
    GraphRecord r = Record(3, 0, hpAmplitude, 0, 100, false, 0, 0, 1000, true, 5, 4);
    r.xBinNum = 100;
    r.yBinSumTypeId = 4;
    r.yCumTypeId = 1;
    Bench bench({r}, 10'000'000, 1);
    for (auto _ : state)
        bench.Redraw();
    state.counters["hits/s"] =
        benchmark::Counter(1e7 * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Histogram)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
