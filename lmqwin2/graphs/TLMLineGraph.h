#pragma once

// Line graphs and histograms: the hits that pass the filters are sorted into bins along X,
// the Y values of a bin are combined (average, maximum, minimum or sum), optionally
// accumulated, the Y axis is scaled to the result, and one curve or bar series is drawn per
// channel (or one for all).

#include "lmqwin2/graphs/TLMGraph.h"

#include <vector>

namespace lm {

struct ABin {
    float value = 0;
    float count = 0;
};

class TLMLineGraph : public TLMGraph {
public:
    TLMLineGraph(TCommonData& common, int number) : TLMGraph(common, number) {}
    int Type() const override { return kLineGraph; }
    std::vector<std::string> SetParams(const GraphRecord& record) override;

    int XBinNum = 0, YBinNum = 0, XCumTypeID = 0, YCumTypeID = 0, XBinSumTypeID = 0, YBinSumTypeID = 0;

    // Bins of the latest drawing pass: SeriesCount() x BinCountOfPass() cells, series-major.
    const std::vector<ABin>& Bins() const { return bins_; }
    int SeriesCount() const { return seriesCount_; }
    int BinCountOfPass() const { return binCount_; }

protected:
    void DrawData(ACanvas& canvas) override;
    virtual void DrawBins(ACanvas& canvas);
    virtual int BinCount() const;
    // The bin scale of a pass (pixels per unit for a line graph).
    virtual double BinScale() const { return TLMGraph::XScale(); }
    // Pixel height of a bin value; false when the bin is not drawn (0 on a log axis).
    bool BinHeight(double v, int& h) const;
    RGB SeriesColor(int series) const;
    // Whether any hit entered the series in this pass.
    bool SeriesUsed(int series) const;
    void DrawYLabels(ACanvas& canvas);

    std::vector<ABin> bins_;
    int seriesCount_ = 0;
    int binCount_ = 0;
};

class TLMHistgrGraph : public TLMLineGraph {
public:
    TLMHistgrGraph(TCommonData& common, int number) : TLMLineGraph(common, number) { XBinNum = 100; }
    int Type() const override { return kHistogram; }
    double XScale() const override { return BinScale(); }

protected:
    void DrawBins(ACanvas& canvas) override;
    int BinCount() const override;
    double BinScale() const override;
};

} // namespace lm
