#include "lmqwin2/evaluation/AProtocol.h"

#include "lmqwin2/evaluation/internal/AtomicWrite.h"

#include <charconv>
#include <ctime>

namespace lm {

std::string SelectedChannelsText(const std::bitset<128>& channels)
{
    std::string text;
    int c = 1;
    while (c <= 128) {
        if (!channels.test(size_t(c - 1))) {
            ++c;
            continue;
        }
        int last = c;
        while (last < 128 && channels.test(size_t(last)))
            ++last;
        if (!text.empty())
            text += ',';
        text += std::to_string(c);
        if (last > c) {
            text += '-';
            text += std::to_string(last);
        }
        c = last + 1;
    }
    return text;
}

namespace protocol_text {

std::string DataLoaded(const std::string& fileName)
{
    return "Data loaded\t" + fileName;
}
std::string DataSaved(const std::string& fileName)
{
    return "Data saved\t" + fileName;
}
std::string GroupedByAnd(uint32_t n)
{
    return "Existing selections (" + std::to_string(n) + ") grouped by AND...";
}
std::string GroupedByOr(uint32_t n)
{
    return "Existing selections (" + std::to_string(n) + ") grouped by OR...";
}
std::string GroupedDeleted(uint32_t n)
{
    return "Grouped data (" + std::to_string(n) + ") deleted...";
}
std::string GroupedInverted(uint32_t n)
{
    return "Grouped data (" + std::to_string(n) + ") inverted...";
}
std::string DeletedInverted(uint32_t n)
{
    return "All Deleted data (" + std::to_string(n) + ") inverted...";
}
std::string SavingError(const std::string& fileName)
{
    return "Error of saving '" + fileName + "'.";
}
std::string MissingFile(const std::string& path)
{
    return "Fail '" + path + "' doesn't exist.";
}

} // namespace protocol_text

namespace {

std::string Fixed2(double v)
{
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 2);
    return r.ec == std::errc() ? std::string(buf, r.ptr) : std::string();
}

} // namespace

std::string NewSelectionText(const ANewSelection& s)
{
    std::string text = "New selection:\t" + s.xName + "(" + Fixed2(s.xFrom) + "-" + Fixed2(s.xTo) + ") - " +
                       s.yName + "(" + Fixed2(s.yFrom) + "-" + Fixed2(s.yTo) + "); " +
                       "Events: " + (s.eventsView ? "Yes; " : "No; ") +
                       "Chans: " + SelectedChannelsText(s.channels);
    if (s.timeFilterOn)
        text += "; Time range filter: " + Fixed2(s.timeStart) + " - " + Fixed2(s.timeEnd);
    return text;
}

AProtocol::AProtocol(std::function<std::string()> clock) : clock_(std::move(clock))
{
    if (!clock_)
        clock_ = &AProtocol::LocalTimeStamp;
}

std::string AProtocol::LocalTimeStamp()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char buf[128];
    // The locale's date and time representations.
    const size_t n = std::strftime(buf, sizeof buf, "%x %X", &local);
    return std::string(buf, n);
}

void AProtocol::AddLine(const std::string& line)
{
    CurrentLine = line;
    Lines.push_back(line);
}

void AProtocol::Add(const std::string& text)
{
    AddLine(clock_() + "\t" + text);
}

void AProtocol::NewSelection(const ANewSelection& selection)
{
    SelectedChannels = SelectedChannelsText(selection.channels);
    Add(NewSelectionText(selection));
}

bool AProtocol::WriteReport(const std::string& folder, std::string& error)
{
    std::string dir = folder;
    if (!dir.empty() && dir.back() != '/')
        dir += '/';
    FileName = dir + "_Protocol.txt";
    std::string text;
    for (const auto& line : Lines)
        text += line + "\n";
    if (!WriteFileAtomically(FileName, text)) {
        error = protocol_text::SavingError(FileName);
        return false;
    }
    error.clear();
    return true;
}

} // namespace lm
