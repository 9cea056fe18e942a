#include "lmtool/support_frames.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace lmtool {

namespace {

// Whole text must be a number; no signs, blanks or trailing characters slip through.
bool ParseUnsigned(const std::string& text, unsigned long& value)
{
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    value = std::strtoul(text.c_str(), nullptr, 10);
    return true;
}

bool ParseDecimal(const std::string& text, double& value)
{
    if (text.empty() || text.find_first_of(" \t\n") != std::string::npos)
        return false;
    errno = 0;
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size() && errno == 0 && std::isfinite(value);
}

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        const size_t at = text.find(separator, start);
        parts.push_back(text.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos)
            return parts;
        start = at + 1;
    }
}

struct ParamName {
    lm::HitParam param;
    const char* shortName;
};

// The short names the parameter table of the database is seeded with.
constexpr ParamName kParamNames[] = {
    {lm::hpTime, "Time"},     {lm::hpChannel, "Chan"}, {lm::hpSeq, "Seq"},     {lm::hpRise, "Rise"},
    {lm::hpCntPk, "CntPk"},   {lm::hpCounts, "Cnts"},  {lm::hpEnergy, "Ener"}, {lm::hpDuration, "Durat"},
    {lm::hpAmplitude, "Amp"}, {lm::hpDP, "DP"},        {lm::hpRMS, "RMS"},     {lm::hpPar1, "Par1"},
    {lm::hpGain, "Gn"},       {lm::hpThreshold, "TH"}, {lm::hpFreq, "A-Frq"},
};

lm::HitParam ParseParam(const std::string& text, const std::string& spec)
{
    unsigned long value = 0;
    if (ParseUnsigned(text, value))
        for (const ParamName& name : kParamNames)
            if (name.param == value)
                return name.param;
    throw FrameArgumentError("frame '" + spec + "': '" + text +
                             "' is not a hit parameter (1, 2, 4, 8, ... 8192, 32768)");
}

} // namespace

lm::ChannelMask ParseChannelList(const std::string& text)
{
    lm::ChannelMask channels;
    for (const std::string& item : Split(text, ',')) {
        const size_t dash = item.find('-');
        unsigned long first = 0, last = 0;
        const bool ok = dash == std::string::npos ? ParseUnsigned(item, first) && (last = first, true)
                                                  : ParseUnsigned(item.substr(0, dash), first) &&
                                                        ParseUnsigned(item.substr(dash + 1), last);
        if (!ok || first < 1 || last > lm::kChannelCount || first > last)
            throw FrameArgumentError("channel list '" + text + "': '" + item +
                                     "' is not a channel 1-128 or a range of them");
        for (unsigned long c = first; c <= last; ++c)
            channels.set(c - 1);
    }
    return channels;
}

FrameSpec ParseFrameSpec(const std::string& text)
{
    const std::vector<std::string> parts = Split(text, ':');
    if (parts.size() != 6)
        throw FrameArgumentError("frame '" + text + "': expected XPARAM:XMIN:XMAX:YPARAM:YMIN:YMAX");
    FrameSpec spec;
    spec.xParam = ParseParam(parts[0], text);
    spec.yParam = ParseParam(parts[3], text);
    double* bounds[] = {&spec.xMin, &spec.xMax, nullptr, &spec.yMin, &spec.yMax};
    for (int i : {1, 2, 4, 5})
        if (!ParseDecimal(parts[i], *bounds[i - 1]))
            throw FrameArgumentError("frame '" + text + "': '" + parts[i] + "' is not a decimal number");
    if (spec.xMin > spec.xMax || spec.yMin > spec.yMax)
        throw FrameArgumentError("frame '" + text + "': a minimum is greater than its maximum");
    return spec;
}

lm::TFrameRect MakeFrame(const FrameSpec& spec, const lm::ChannelMask& channels)
{
    lm::TFrameRect frame;
    frame.XParam = int32_t(spec.xParam);
    frame.YParam = int32_t(spec.yParam);
    frame.XMin = spec.xMin;
    frame.XMax = spec.xMax;
    frame.YMin = spec.yMin;
    frame.YMax = spec.yMax;
    frame.Channels = channels;
    return frame;
}

std::string ParamShortName(lm::HitParam param)
{
    for (const ParamName& name : kParamNames)
        if (name.param == param)
            return name.shortName;
    return {};
}

void DrawFrames(lm::FrameSession& session, const std::vector<FrameSpec>& specs,
                const lm::ChannelMask& channels)
{
    if (specs.size() > size_t(lm::kFrameSlots))
        throw FrameArgumentError("at most 8 frames can be given");
    for (size_t i = 0; i < specs.size(); ++i) {
        const lm::TFrameRect frame = MakeFrame(specs[i], channels);
        if (i == 0)
            lm::ReplaceFrames(session, frame);
        else
            lm::AddFrame(session, frame);
    }
}

std::string NotSortedMessage(double seconds)
{
    char number[64];
    std::snprintf(number, sizeof number, "%.2f", seconds);
    return std::string("Data file doesn't sorted (") + number + " s). Event View is impossible.";
}

} // namespace lmtool
