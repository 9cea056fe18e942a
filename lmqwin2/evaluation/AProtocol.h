#pragma once

// The protocol of the correlation program: a time-stamped log of what the user did with
// the data since the start, shown on request and written to "_Protocol.txt" at exit.

#include <bitset>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace lm {

// Comma-separated ascending channel numbers; runs of two or more consecutive channels as
// first-last ("1-3,5,7-8"); empty when no channel is selected.
std::string SelectedChannelsText(const std::bitset<128>& channels);

// Message texts of the protocol.
namespace protocol_text {
inline constexpr const char* kLaunched = "LMQ launched";
inline constexpr const char* kClosed = "LMQ closed";
inline constexpr const char* kSelectionsCleaned = "Existing selections cleaned...";
inline constexpr const char* kAllSelectionsCleaned = "All existing selections cleaned...";
inline constexpr const char* kGroupedCleaned = "Grouped data cleaned...";
inline constexpr const char* kDeletedUndeleted = "Deleted data undeleted...";
std::string DataLoaded(const std::string& fileName);
std::string DataSaved(const std::string& fileName);
std::string GroupedByAnd(uint32_t n);
std::string GroupedByOr(uint32_t n);
std::string GroupedDeleted(uint32_t n);
std::string GroupedInverted(uint32_t n);
std::string DeletedInverted(uint32_t n);
std::string SavingError(const std::string& fileName);
std::string MissingFile(const std::string& path);
} // namespace protocol_text

struct ANewSelection {
    std::string xName;
    double xFrom = 0, xTo = 0;
    std::string yName;
    double yFrom = 0, yTo = 0;
    bool eventsView = false;
    std::bitset<128> channels;
    bool timeFilterOn = false;
    double timeStart = 0, timeEnd = 0;
};

// The text of a "New selection:" line (after the time stamp and tab).
std::string NewSelectionText(const ANewSelection& selection);

class AProtocol {
public:
    // The clock answers the time stamp of a new line; by default the local date and time
    // in the user's locale format.
    explicit AProtocol(std::function<std::string()> clock = {});

    // The caller builds the whole line.
    void AddLine(const std::string& line);
    // Time stamp, tab, text.
    void Add(const std::string& text);
    // Also leaves the selected channels text in SelectedChannels.
    void NewSelection(const ANewSelection& selection);

    // Writes every line to "_Protocol.txt" in folder (through a temporary file and a
    // rename). On failure answers false and sets error to the message of the error box.
    bool WriteReport(const std::string& folder, std::string& error);

    static std::string LocalTimeStamp();

    std::string FileName;
    std::string CurrentLine;
    std::vector<std::string> Lines;
    std::string SelectedChannels;

private:
    std::function<std::string()> clock_;
};

} // namespace lm
