#pragma once

// The correlation graph: one dot per hit at (X value, Y value), drawn in three passes:
// deleted hits (when shown), all hits, and the framed and grouped hits on top.

#include "lmqwin2/graphs/TLMGraph.h"

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
    void AllHitsPass(ACanvas& canvas, const Pass& pass);
    void OverlayPass(ACanvas& canvas, const Pass& pass);
};

} // namespace lm
