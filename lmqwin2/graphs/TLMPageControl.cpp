#include "lmqwin2/graphs/TLMPageControl.h"

#include "lmqwin2/graphs/TLMLineGraph.h"
#include "lmqwin2/graphs/TLMPointGraph.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <exception>
#include <stdexcept>
#include <thread>

namespace lm {

std::string NotSortedMessage(double seconds)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", seconds);
    return std::string("Data file doesn't sorted (") + text + " s). Event View is impossible.";
}

// Protocol lines of the frame tool and the commands, with the short names of the graph the
// frame was drawn on.
class TLMPageControl::ProtocolSink final : public FrameProtocolSink {
public:
    ProtocolSink(TLMPageControl& owner) : owner_(owner) {}
    const TLMGraph* graph = nullptr;
    void Message(const std::string& text) override { owner_.protocol_.Add(text); }
    void NewSelection(const TFrameRect& frame) override
    {
        std::string x, y;
        if (graph) {
            x = graph->XShortName;
            y = graph->YShortName;
        } else if (owner_.common_.Params) {
            x = owner_.common_.Params->FindShortName(frame.XParam);
            y = owner_.common_.Params->FindShortName(frame.YParam);
        }
        owner_.protocol_.NewSelection(
            MakeNewSelection(frame, x, y, owner_.options_.EventsView, owner_.common_.TimeFilter()));
    }

private:
    TLMPageControl& owner_;
};

namespace {

int32_t ToSeconds(double v)
{
    if (!(v > -2147483648.0))
        return INT32_MIN;
    if (v >= 2147483647.0)
        return INT32_MAX;
    return int32_t(v); // truncates toward zero
}

// Keeps a coordinate inside [lo, hi].
int Clip(int v, int lo, int hi)
{
    return v < lo ? lo : (v > hi ? hi : v);
}

} // namespace

TLMPageControl::TLMPageControl(AOptions& options, ATestSetup& setup, AProtocol& protocol)
    : options_(options), setup_(setup), protocol_(protocol), sink_(std::make_unique<ProtocolSink>(*this))
{
    common_.Data = &data_;
    common_.Options = &options_;
    common_.Setup = &setup_;
}

TLMPageControl::~TLMPageControl() = default;

TLMGraph* TLMPageControl::Graph(int page, int slot) const
{
    if (page < 0 || page >= int(pages_.size()))
        return nullptr;
    return pages_[size_t(page)]->Graph(slot);
}

int TLMPageControl::SlotAt(int page, int x, int y) const
{
    if (page < 0 || page >= int(pages_.size()))
        return -1;
    const auto& graphs = pages_[size_t(page)]->Graphs;
    // Later graphs are drawn over earlier ones: the last one under the point is seen.
    for (size_t slot = graphs.size(); slot-- > 0;) {
        const TLMGraph* g = graphs[slot].get();
        if (g && x >= g->Left && x < g->Left + g->Width && y >= g->Top && y < g->Top + g->Height)
            return int(slot);
    }
    return -1;
}

FrameSession TLMPageControl::Session()
{
    return FrameSession{data_, common_.Frames, *sink_, common_.TimeFilter(), options_.EventsView};
}

std::array<std::string, 5> TLMPageControl::StatusTexts() const
{
    auto panel = [](const char* name, uint32_t v) {
        char text[32];
        std::snprintf(text, sizeof text, "%s:%-9u", name, v);
        return std::string(text);
    };
    return {panel("HITS", data_.HitCount), options_.EventsView ? panel("EVNT", data_.EventCount) : "EVNT: - ",
            panel("FRMD", data_.FramedCount), panel("GRPD", data_.GroupedCount),
            panel("DLTD", data_.DeletedCount)};
}

bool TLMPageControl::Load(const std::string& fileName, AMessageBox& box)
{
    std::string failure;
    try {
        data_.Load(fileName);
    } catch (const std::runtime_error& e) {
        const std::string text = e.what();
        failure = (text == "Data file doesn't exist" || text == "Unknown data type..") ? text
                                                                                       : kMsgFileLoadingError;
    } catch (...) {
        failure = kMsgFileLoadingError;
    }
    common_.FreshlyLoaded = true;
    if (!failure.empty()) {
        data_.Clear();
        box.Warning("Warning", failure);
        BuildPages(box);
        return false;
    }
    BuildPages(box);
    protocol_.Add(protocol_text::DataLoaded(fileName));
    return true;
}

std::unique_ptr<TLMGraph> TLMPageControl::MakeGraph(const GraphRecord& record, int number,
                                                    std::vector<std::string>& bad)
{
    std::unique_ptr<TLMGraph> graph;
    switch (record.graphTypeId) {
    case kPointGraph:
        graph = std::make_unique<TLMPointGraph>(common_, number);
        break;
    case kLineGraph:
        graph = std::make_unique<TLMLineGraph>(common_, number);
        break;
    case kHistogram:
        graph = std::make_unique<TLMHistgrGraph>(common_, number);
        break;
    default:
        return nullptr;
    }
    for (std::string& token : graph->SetParams(record))
        bad.push_back("\"" + token + "\" in \"" + record.name + "\"");
    return graph;
}

std::string TLMPageControl::BuildPages(AMessageBox& box)
{
    options_.TimeFilterOn = false;
    common_.ZoomStack.clear();
    pages_.clear();
    BuildNote.clear();
    bandDrawing_ = false;
    if (!source_)
        return {};

    std::optional<GraphSystem> chosen;
    if (options_.StartUpGraph == 1 || GraphSetChosen || options_.StartUpGraph == 2) {
        const std::vector<GraphSystem> systems = source_->Systems();
        if (!systems.empty())
            chosen = systems.front();
        if (options_.StartUpGraph == 1 || GraphSetChosen)
            for (const GraphSystem& s : systems)
                if (s.id == options_.LastUsedGraphNo)
                    chosen = s;
    } else {
        return {}; // the default graph set has no pages
    }

    const std::vector<GraphPage> pages = chosen ? source_->Pages(chosen->id) : std::vector<GraphPage>{};
    if (pages.empty()) {
        box.Warning("Error", kMsgNoPages);
        return {};
    }
    const int horiz = options_.HorizGraphNum, vert = options_.VertGraphNum;
    const int slots = std::max(horiz, 0) * std::max(vert, 0);
    std::vector<std::string> bad;
    for (const GraphPage& p : pages) {
        auto sheet = std::make_unique<TLMTabSheet>(common_, p.name, slots);
        const std::vector<GraphRecord> records = source_->Graphs(p.id);
        for (size_t i = 0; i < records.size(); ++i) {
            const GraphRecord& r = records[i];
            // A record outside the grid (or of an unknown type) ends the page.
            if (int(i) >= slots || r.lx < 0 || r.ly < 0 || r.lx > horiz || r.rx > horiz || r.ly > vert ||
                r.ry > vert)
                break;
            std::unique_ptr<TLMGraph> graph = MakeGraph(r, int(i), bad);
            if (!graph)
                break;
            sheet->Graphs[i] = std::move(graph);
            ++sheet->GraphCount;
        }
        pages_.push_back(std::move(sheet));
    }
    if (width_ > 0 || height_ > 0)
        Relayout(width_, height_);
    if (data_.IsLoaded() && options_.TimeAxisFromFile)
        SetTimeRangeOfAll(0, int64_t(std::trunc(data_.TimeAxisMax)));
    if (bad.empty())
        return {};
    BuildNote = "Channels ignored (not a channel 1-128): ";
    for (size_t i = 0; i < bad.size(); ++i)
        BuildNote += (i ? ", " : "") + bad[i];
    return BuildNote;
}

void TLMTabSheet::Relayout(int width, int height, int horiz, int vert)
{
    Geometry = PageGeometry{width, height, horiz, vert};
    for (auto& g : Graphs)
        if (g)
            g->Layout(Geometry);
}

void TLMPageControl::Relayout(int width, int height)
{
    width_ = width;
    height_ = height;
    for (auto& p : pages_)
        p->Relayout(width, height, options_.HorizGraphNum, options_.VertGraphNum);
}

std::string TLMTabSheet::Paint(APageSurface& surface, bool force, int threads)
{
    const AOptions& options = *common_.Options;
    ACanvas& page = surface.PageCanvas();
    page.FillRect(0, 0, Geometry.PageWidth, Geometry.PageHeight, options.Color(2));

    struct Job {
        TLMGraph* graph;
        ACanvas* canvas;
    };
    std::vector<Job> jobs;
    for (size_t slot = 0; slot < Graphs.size(); ++slot) {
        TLMGraph* g = Graphs[slot].get();
        if (!g)
            continue;
        g->Layout(Geometry);
        const bool drawing = force || g->NeedsRedraw || common_.FreshlyLoaded;
        jobs.push_back({g, &surface.GraphCanvas(int(slot), *g, drawing)});
    }

    std::string error;
    auto paintOne = [&](const Job& job) { job.graph->Paint(*job.canvas, Geometry, force); };
    auto errorText = [&] { return NotSortedMessage(common_.Data ? common_.Data->NotSortedTime : 0.0); };
    if (threads > 1 && !options.EventsView && jobs.size() > 1) {
        // Each graph draws into its own canvas; the passes only read the shared data.
        std::vector<std::exception_ptr> failures(jobs.size());
        std::atomic<size_t> next{0};
        auto worker = [&] {
            for (size_t i = next++; i < jobs.size(); i = next++) {
                try {
                    paintOne(jobs[i]);
                } catch (...) {
                    failures[i] = std::current_exception();
                }
            }
        };
        std::vector<std::thread> pool;
        for (int t = 1; t < threads; ++t)
            pool.emplace_back(worker);
        worker();
        for (auto& t : pool)
            t.join();
        for (size_t i = 0; i < jobs.size(); ++i)
            if (failures[i]) {
                error = errorText();
                break;
            }
    } else {
        for (const Job& job : jobs) {
            try {
                paintOne(job);
            } catch (...) {
                error = errorText();
                break;
            }
        }
    }
    if (!error.empty())
        surface.PaintError(error);
    return error;
}

std::string TLMPageControl::PaintPage(int index, APageSurface& surface, bool force)
{
    const std::string error = Page(index).Paint(surface, force, PaintThreads);
    if (error.empty())
        common_.FreshlyLoaded = false;
    return error;
}

void TLMPageControl::RedrawAll()
{
    for (auto& p : pages_)
        for (auto& g : p->Graphs)
            if (g)
                g->Redraw();
}

void TLMPageControl::SetTimeRangeOfAll(int64_t start, int64_t end)
{
    for (auto& p : pages_)
        for (auto& g : p->Graphs)
            if (g)
                g->SetTimeRange(start, end);
}

void TLMPageControl::ResetTimeRanges()
{
    options_.TimeFilterOn = false;
    if (options_.TimeAxisFromFile && data_.IsLoaded()) {
        SetTimeRangeOfAll(0, int64_t(std::trunc(data_.TimeAxisMax)));
        return;
    }
    for (auto& p : pages_)
        for (auto& g : p->Graphs)
            if (g)
                g->RestoreTimeRange();
}

bool TLMPageControl::UnZoom()
{
    auto& stack = common_.ZoomStack;
    if (stack.empty())
        return false;
    stack.pop_back();
    if (!stack.empty()) {
        const ATimeRange top = stack.back();
        options_.TimeFilterOn = true;
        options_.TimeFilterStart = top.Start;
        options_.TimeFilterEnd = top.End;
        SetTimeRangeOfAll(top.Start, top.End);
    } else {
        ResetTimeRanges();
    }
    RedrawAll();
    return true;
}

void TLMPageControl::ZoomTo(int32_t a, int32_t b)
{
    if (a == b && b < INT32_MAX)
        b = a + 1;
    options_.TimeFilterOn = true;
    options_.TimeFilterStart = a;
    options_.TimeFilterEnd = b;
    common_.ZoomStack.push_back({a, b});
    SetTimeRangeOfAll(a, b);
    RedrawAll();
}

bool TLMPageControl::TimeScroll(bool right)
{
    auto& stack = common_.ZoomStack;
    if (stack.empty())
        return false;
    const int64_t a = stack.back().Start, b = stack.back().End;
    int64_t w = b - a;
    if (w == 1 || w == 2)
        w = 3;
    const int64_t step = w / 3;
    int64_t na = right ? a + step : a - step;
    int64_t nb = right ? b + step : b - step;
    if (na < 0) {
        na = 0;
        nb = b - a;
    }
    const ATimeRange range{ToSeconds(double(na)), ToSeconds(double(nb))};
    options_.TimeFilterStart = range.Start;
    options_.TimeFilterEnd = range.End;
    stack.push_back(range);
    SetTimeRangeOfAll(range.Start, range.End);
    RedrawAll();
    return true;
}

bool TLMPageControl::RefreshToStart()
{
    if (!data_.IsLoaded())
        return false;
    ResetTimeRanges();
    RedrawAll();
    return true;
}

// --- Mouse

bool TLMPageControl::StartsBand(const TLMGraph& graph, MouseModifiers mods) const
{
    return graph.IsPointGraph() || (graph.IsTimeGraph() && (!common_.FrameMode || mods.Ctrl));
}

std::string TLMPageControl::CursorText(const TLMGraph& graph, int x, int y)
{
    if (!graph.IsInPlot(x, y))
        return {};
    char text[256];
    std::snprintf(text, sizeof text, " %s = %.2f, %s = %.2f", graph.XShortName.c_str(), graph.XValueAt(x),
                  graph.YShortName.c_str(), graph.YValueAt(y));
    return text;
}

MouseOutcome TLMPageControl::MouseDown(int page, int slot, MouseButton button, MouseModifiers mods, int x,
                                       int y)
{
    MouseOutcome out;
    TLMGraph* g = Graph(page, slot);
    if (!g)
        return out;
    if (button == MouseButton::Left) {
        if (StartsBand(*g, mods)) {
            bandDrawing_ = true;
            bandPage_ = page;
            bandSlot_ = slot;
            anchorX_ = x;
            anchorY_ = y;
            band_ = BandRect{x, y, x, y};
            out.BandVisible = true;
            out.BandChanged = true;
            out.Band = band_;
        }
    } else if (button == MouseButton::Right && mods.Ctrl) {
        out.CopyRequested = true;
    }
    return out;
}

MouseOutcome TLMPageControl::MouseMove(int page, int slot, MouseModifiers, int x, int y)
{
    MouseOutcome out;
    TLMGraph* g = Graph(page, slot);
    if (!g)
        return out;
    out.CursorText = CursorText(*g, x, y);
    if (bandDrawing_ && page == bandPage_ && slot == bandSlot_) {
        const PlotArea& p = g->Plot;
        const int ax = Clip(anchorX_, p.Left, p.Right), ay = Clip(anchorY_, p.Top, p.Bottom);
        const int mx = Clip(x, p.Left, p.Right), my = Clip(y, p.Top, p.Bottom);
        band_ = BandRect{std::min(ax, mx), std::min(ay, my), std::max(ax, mx), std::max(ay, my)};
        out.BandVisible = true;
        out.BandChanged = true;
        out.Band = band_;
    }
    return out;
}

MouseOutcome TLMPageControl::MouseUp(int page, int slot, MouseButton button, MouseModifiers mods, int x,
                                     int y, AFrameLimitQuestion& question)
{
    (void)page;
    (void)slot;
    (void)button;
    (void)x;
    (void)y;
    if (!bandDrawing_)
        return {};
    bandDrawing_ = false;
    TLMGraph* g = Graph(bandPage_, bandSlot_);
    MouseOutcome out;
    if (g)
        out = FinishBand(*g, band_, mods, question);
    out.BandVisible = false;
    out.BandChanged = true;
    return out;
}

MouseOutcome TLMPageControl::FinishBand(TLMGraph& g, const BandRect& band, MouseModifiers mods,
                                        AFrameLimitQuestion& question)
{
    MouseOutcome out;
    if ((common_.FrameMode && !mods.Ctrl) || !g.IsTimeGraph() || band.Right == band.Left) {
        TFrameRect frame;
        frame.Left = band.Left;
        frame.Top = band.Top;
        frame.Right = band.Right;
        frame.Bottom = band.Bottom;
        frame.AnchorX = anchorX_;
        frame.AnchorY = anchorY_;
        frame.Graph = g.Identity();
        frame.XParam = int32_t(g.XParam);
        frame.YParam = int32_t(g.YParam);
        frame.XMin = g.XValueAt(band.Left);
        frame.XMax = g.XValueAt(band.Right);
        frame.YMin = g.YValueAt(band.Bottom);
        frame.YMax = g.YValueAt(band.Top);
        frame.Channels = options_.CheckedChan;
        sink_->graph = &g;
        FrameSession session = Session();
        try {
            if (!mods.Shift) {
                ReplaceFrames(session, frame);
            } else if (AddFrame(session, frame) == AddFrameResult::LimitReached) {
                ResolveFrameLimit(session, frame, question.Ask());
            }
        } catch (const ELMData&) {
            out.Error = NotSortedMessage(data_.NotSortedTime);
        }
        sink_->graph = nullptr;
        RedrawAll();
        out.FrameFinished = true;
        out.Repaint = true;
        return out;
    }
    const int32_t a = ToSeconds(g.XValueAt(band.Left));
    int32_t b = ToSeconds(g.XValueAt(band.Right));
    if (a == b && b < INT32_MAX)
        b = a + 1;
    g.SetTimeRange(a, b);
    if (mods.Alt) {
        g.Redraw();
    } else {
        options_.TimeFilterOn = true;
        options_.TimeFilterStart = a;
        options_.TimeFilterEnd = b;
        SetTimeRangeOfAll(a, b);
        RedrawAll();
    }
    common_.ZoomStack.push_back({a, b});
    out.Zoomed = true;
    out.Repaint = true;
    return out;
}

// --- Commands

std::optional<TLMPageControl::Command> TLMPageControl::CommandNamed(const std::string& name)
{
    static const std::pair<const char*, Command> kNames[] = {
        {"Frames2JointOR", Command::Frames2JointOR},
        {"Frames2JointAND", Command::Frames2JointAND},
        {"FramesDelete", Command::FramesDelete},
        {"JointClear", Command::JointClear},
        {"InvertJoin", Command::InvertJoin},
        {"JointDeleteData", Command::JointDeleteData},
        {"UndeleteData", Command::UndeleteData},
        {"InvertDeleted", Command::InvertDeleted},
        {"EventView", Command::EventView},
        {"UnZoom", Command::UnZoom},
        {"RefreshtoStart1", Command::RefreshtoStart1},
        {"TimeScrollLeft", Command::TimeScrollLeft},
        {"TimeScrollRight", Command::TimeScrollRight},
    };
    for (const auto& [n, c] : kNames)
        if (name == n)
            return c;
    return std::nullopt;
}

void TLMPageControl::Run(Command command, AMessageBox& box)
{
    FrameSession session = Session();
    switch (command) {
    case Command::Frames2JointOR:
    case Command::Frames2JointAND:
        if (GroupFrames(session, command == Command::Frames2JointAND))
            RedrawAll();
        return;
    case Command::FramesDelete:
        if (DeleteAllFrames(session))
            RedrawAll();
        return;
    case Command::JointClear:
        ClearGroupedData(session);
        break;
    case Command::InvertJoin:
        InvertGroupedData(session);
        break;
    case Command::JointDeleteData:
        DeleteGroupedData(session);
        break;
    case Command::UndeleteData: {
        if (common_.Frames.Any())
            common_.Frames.DeleteAll();
        const bool yes = box.Confirm(kMsgUndeleteConfirm);
        UndeleteData(session, yes);
        break;
    }
    case Command::InvertDeleted:
        InvertDeletedData(session);
        break;
    case Command::EventView:
        options_.EventsView = !options_.EventsView;
        common_.Frames.DeleteAll();
        data_.ClearFrameBits();
        break;
    case Command::UnZoom:
        UnZoom();
        return;
    case Command::RefreshtoStart1:
        RefreshToStart();
        return;
    case Command::TimeScrollLeft:
    case Command::TimeScrollRight:
        TimeScroll(command == Command::TimeScrollRight);
        return;
    }
    RedrawAll();
}

} // namespace lm
