#pragma once

// The correlation graph: one dot per hit at (X value, Y value), drawn in three passes:
// deleted hits (when shown), all hits, and the framed and grouped hits on top.

#include "lmqwin2/graphs/TLMGraph.h"

#include <vector>

namespace lm {

class TLMPointGraph : public TLMGraph {
public:
    using TLMGraph::TLMGraph;
    int Type() const override { return kPointGraph; }

protected:
    void DrawData(ACanvas& canvas) override;

private:
    struct Pass;
    void DeletedPass(ACanvas& canvas, const Pass& pass);
    // Outside event view the all-hits pass also collects the overlay's dots (up to a bound),
    // so the records are walked once; answers false when the overlay must walk them itself.
    bool AllHitsPass(ACanvas& canvas, const Pass& pass, bool collectOverlay);
    void OverlayPass(ACanvas& canvas, const Pass& pass);
    // The framed and grouped hits' dots of the latest all-hits pass (capacity kept).
    std::vector<Dot> overlay_;
    static constexpr size_t kOverlayBound = 1 << 16;
};

} // namespace lm
