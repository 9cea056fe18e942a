#pragma once

// Small fixtures for the graph tests: a page control over a fake graph database, hits made
// in code, and the display list of a painting.

#include "lmqwin2/graphs/DisplayList.h"
#include "lmqwin2/graphs/TLMPageControl.h"

#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace lm::test {

class FakeGraphSource final : public AGraphSource {
public:
    std::vector<GraphSystem> systems;
    std::map<int64_t, std::vector<GraphPage>> pages;
    std::map<int64_t, std::vector<GraphRecord>> graphs;

    std::vector<GraphSystem> Systems() const override { return systems; }
    std::vector<GraphPage> Pages(int64_t id) const override
    {
        auto it = pages.find(id);
        return it == pages.end() ? std::vector<GraphPage>{} : it->second;
    }
    std::vector<GraphRecord> Graphs(int64_t id) const override
    {
        auto it = graphs.find(id);
        return it == graphs.end() ? std::vector<GraphRecord>{} : it->second;
    }
    // One system (id 1) with one page (id 10) holding these graphs.
    static FakeGraphSource OnePage(std::vector<GraphRecord> records)
    {
        FakeGraphSource s;
        s.systems = {GraphSystem{1, "Set", "", 1}};
        s.pages[1] = {GraphPage{10, 1, "Page"}};
        s.graphs[10] = std::move(records);
        return s;
    }
};

class FakeParams final : public ParamLookup {
public:
    uint32_t FindParamId(std::string_view) const override { return 0; }
    std::optional<std::string> FindParamName(uint32_t) const override { return std::nullopt; }
    std::string FindShortName(uint32_t id) const override
    {
        switch (id) {
        case hpTime:
            return "Time";
        case hpAmplitude:
            return "Amp";
        case hpEnergy:
            return "Ener";
        case hpPar1:
            return "Par1";
        case hpRise:
            return "Rise";
        default:
            return "";
        }
    }
};

class RecordingBox final : public AMessageBox {
public:
    std::vector<std::string> warnings;
    bool answer = true;
    void Warning(const std::string& caption, const std::string& text) override
    {
        warnings.push_back(caption + "|" + text);
    }
    bool Confirm(const std::string&) override { return answer; }
};

class FixedAnswer final : public AFrameLimitQuestion {
public:
    explicit FixedAnswer(FrameLimitChoice c) : choice(c) {}
    FrameLimitChoice choice;
    int asked = 0;
    FrameLimitChoice Ask() override
    {
        ++asked;
        return choice;
    }
};

inline GraphRecord PointRecord(std::string name, HitParam x, int64_t xMin, int64_t xMax, HitParam y,
                               int64_t yMin, int64_t yMax, int lx = 0, int ly = 0, int rx = 1, int ry = 1)
{
    GraphRecord r;
    r.graphTypeId = kPointGraph;
    r.name = std::move(name);
    r.xAxisType = x;
    r.yAxisType = y;
    r.xMin = int32_t(xMin);
    r.xMax = int32_t(xMax);
    r.yMin = int32_t(yMin);
    r.yMax = int32_t(yMax);
    r.lx = int16_t(lx);
    r.ly = int16_t(ly);
    r.rx = int16_t(rx);
    r.ry = int16_t(ry);
    return r;
}

inline LMShortHit Hit(double seconds, int channel, int amplitude, int energy = 10, float par1 = 0)
{
    LMShortHit h;
    h.kind = rkHit;
    h.time = TickTime::FromValue(uint64_t(seconds * 4e6 + 0.5));
    h.channel = uint8_t(channel);
    h.amplitude = uint8_t(amplitude);
    h.energy = uint16_t(energy);
    h.Par1 = par1;
    h.rise = 5;
    h.counts = 3;
    h.duration = 100;
    return h;
}

// A page control with one page of graphs over the given hits, laid out at width x height.
struct GraphFixture {
    AOptions options;
    ATestSetup setup;
    AProtocol protocol{[] { return std::string("T"); }};
    FakeGraphSource source;
    FakeParams params;
    RecordingBox box;
    TLMPageControl control{options, setup, protocol};

    GraphFixture(std::vector<GraphRecord> records, std::vector<LMShortHit> hits, int width = 1000,
                 int height = 700)
    {
        options.TimeAxisFromFile = false;
        source = FakeGraphSource::OnePage(std::move(records));
        control.SetGraphSource(&source);
        control.SetParamLookup(&params);
        SetHits(std::move(hits));
        control.Relayout(width, height);
        control.BuildPages(box);
    }
    void SetHits(std::vector<LMShortHit> hits)
    {
        LMDataSet& d = control.Data();
        d.Records = std::move(hits);
        d.RecordCount = uint32_t(d.Records.size());
        d.HitCount = 0;
        for (const auto& h : d.Records)
            d.HitCount += h.kind == rkHit;
        d.FileName = d.Records.empty() ? "" : "fixture.dta";
    }
    TLMGraph& Graph(int slot = 0) { return *control.Graph(0, slot); }
    // The display list of a full painting of page 0.
    std::string Ops(int page = 0)
    {
        RecordingPageSurface surface(page, control.Page(page));
        control.PaintPage(page, surface, true);
        return surface.Text();
    }
};

// The lines of a display list that start with `prefix` (e.g. "dot ").
inline std::vector<std::string> LinesWith(const std::string& ops, const std::string& prefix)
{
    std::vector<std::string> out;
    std::istringstream in(ops);
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(prefix, 0) == 0)
            out.push_back(line);
    return out;
}

inline bool HasLine(const std::string& ops, const std::string& line)
{
    return ops.find(line + "\n") != std::string::npos;
}

} // namespace lm::test
