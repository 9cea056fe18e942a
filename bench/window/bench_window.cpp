// The main window of the correlation program, offscreen, on generated files: the time from
// the open command to the painted first page, and one step of a rubber-band drag over a
// point graph (mouse move, band moved, screen updated) for growing hit counts.
//
// Generated files are kept in $LM_BENCH_DIR (default: the system temp folder) between runs;
// LMDATA should name a scratch database (the graph pages come from it).

#include "lmqwin2/ui/TLmqMain.h"
#include "lmqwin2/ui/TPageWidget.h"
#include "lmqwin2/ui/UserDialogs.h"
#include "samplegen/SampleGen.h"

#include <QApplication>
#include <QMouseEvent>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>

namespace {

namespace fs = std::filesystem;

std::string SampleFile(uint64_t hits)
{
    const char* folder = std::getenv("LM_BENCH_DIR");
    const std::string path = (folder ? std::string(folder) : fs::temp_directory_path().string()) +
                             "/lm_bench_window_" + std::to_string(hits) + ".dta";
    if (!fs::exists(path))
        lm::gen::GenerateSampleFile("dta", {hits, 8, 42}, path);
    return path;
}

class Store : public lm::ASettingsStore {
public:
    bool GetBool(const std::string&, bool def) const override { return def; }
    int GetInt(const std::string&, int def) const override { return def; }
    std::string GetString(const std::string&, const std::string& def) const override { return def; }
    void SetBool(const std::string&, bool) override {}
    void SetInt(const std::string&, int) override {}
    void SetString(const std::string&, const std::string&) override {}
};

class Silent : public lmq::UserDialogs {
public:
    void Warning(QWidget*, const QString&, const QString&) override {}
    void Error(QWidget*, const QString&, const QString&) override {}
    void Information(QWidget*, const QString&, const QString&) override {}
    bool Confirm(QWidget*, const QString&, const QString&) override { return false; }
    QString OpenFileName(QWidget*, const QString&, const QString&) override { return {}; }
    QString SaveFileName(QWidget*, const QString&, const QString&) override { return {}; }
    lm::FrameLimitChoice AskFrameLimit(QWidget*) override { return lm::FrameLimitChoice::IgnoreNew; }
};

std::unique_ptr<lmq::TLmqMain> MakeWindow(Store& store, Silent& dialogs)
{
    lmq::QuorvelEnvironment env;
    env.settings = &store;
    env.dialogs = &dialogs;
    env.programPath = QCoreApplication::applicationFilePath();
    env.persistent = false;
    auto w = std::make_unique<lmq::TLmqMain>(env);
    w->resize(1280, 900);
    w->show();
    QApplication::processEvents();
    return w;
}

void Move(QWidget* view, QPoint at, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, QPointF(at), view->mapToGlobal(QPointF(at)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(view, &event);
}

void BM_OpenToPaintedPage(benchmark::State& state)
{
    const QString file = QString::fromStdString(SampleFile(uint64_t(state.range(0))));
    Store store;
    Silent dialogs;
    auto w = MakeWindow(store, dialogs);
    for (auto _ : state) {
        w->LoadDataFile(file);
        w->WaitForLoad(); // ends after the new pages have drawn the page shown
        QApplication::processEvents();
    }
    state.counters["hits"] = double(w->Data().HitCount);
}
BENCHMARK(BM_OpenToPaintedPage)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_BandDragStep(benchmark::State& state)
{
    const QString file = QString::fromStdString(SampleFile(uint64_t(state.range(0))));
    Store store;
    Silent dialogs;
    auto w = MakeWindow(store, dialogs);
    w->LoadDataFile(file);
    w->WaitForLoad();
    QApplication::processEvents();
    lmq::TGraphView* view = w->PageWidget(0)->View(0);
    const lm::PlotArea& plot = view->Graph()->Plot;
    const QPoint from(plot.Left + 5, plot.Top + 5);
    Move(view, from, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton);
    int step = 0;
    for (auto _ : state) {
        step = (step + 1) % 200;
        Move(view, from + QPoint(step, step / 2), QEvent::MouseMove, Qt::NoButton, Qt::LeftButton);
        QApplication::processEvents(); // the band's outlines repainted and flushed
    }
    Move(view, from, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton);
    state.counters["hits"] = double(w->Data().HitCount);
}
BENCHMARK(BM_BandDragStep)
    ->Arg(20'000)
    ->Arg(1'000'000)
    ->Arg(10'000'000)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
