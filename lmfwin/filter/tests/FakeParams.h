#pragma once

// A small parameter table for the tests, and a reader stand-in that answers GetValue from
// a map (enough for testing one hit).

#include "datafiles/AWDiskFile.h"
#include "datafiles/ParamLookup.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace lm::test {

class FakeParams : public ParamLookup {
public:
    FakeParams()
        : rows_{{"Time", hpTime},           {"Channel", hpChannel}, {"Rise", hpRise},
                {"Counts", hpCounts},       {"Energy", hpEnergy},   {"Duration", hpDuration},
                {"Amplitude", hpAmplitude}, {"Par1", hpPar1},       {"AverFreq", hpFreq}}
    {
    }
    HitParam FindParamId(std::string_view name) const override
    {
        for (const auto& [rowName, id] : rows_)
            if (Lower(rowName) == Lower(std::string(name)))
                return id;
        return 0;
    }
    std::optional<std::string> FindParamName(HitParam id) const override
    {
        for (const auto& [rowName, rowId] : rows_)
            if (rowId == id)
                return rowName;
        return std::nullopt;
    }
    std::string FindShortName(HitParam) const override { return {}; }

private:
    static std::string Lower(std::string s)
    {
        std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
        return s;
    }
    std::vector<std::pair<std::string, HitParam>> rows_;
};

class FakeHit : public AWDiskFile {
public:
    FakeHit() : AWDiskFile(dummy_) {}
    explicit FakeHit(std::map<HitParam, long double> hitValues)
        : AWDiskFile(dummy_), values(std::move(hitValues))
    {
    }
    long double GetValue(HitParam param) override
    {
        const auto it = values.find(param);
        return it == values.end() ? 0.0L : it->second;
    }
    std::map<HitParam, long double> values;

private:
    BinaryFile dummy_;
};

} // namespace lm::test
