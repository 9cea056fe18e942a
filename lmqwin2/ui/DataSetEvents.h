#pragma once

// The event classification of the data set behind the evaluation's classifier interface,
// so that the data view and the statistics classify hits as the graphs do.

#include "lmqwin2/dataset/LMDataSet.h"
#include "lmqwin2/evaluation/ATestSetup.h"
#include "lmqwin2/evaluation/ATestStat.h"

namespace lmq {

class DataSetEvents final : public lm::AEventClassifier {
public:
    DataSetEvents(lm::LMDataSet& data, const lm::ATestSetup& setup) : data_(data), setup_(setup) {}
    void ResetEvents() override { data_.ResetEvents(setup_.MPT, setup_.Lockout); }
    int ClassifyEvent(const lm::LMShortHit& hit) override { return data_.ClassifyEvent(hit); }

private:
    lm::LMDataSet& data_;
    const lm::ATestSetup& setup_;
};

} // namespace lmq
