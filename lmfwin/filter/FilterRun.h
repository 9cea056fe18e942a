#pragma once

// The filtration run: copies the source data file into the post file record by record,
// leaving out the hits the filter set rejects (as hits, as events, or around mechanical
// noise markers), and optionally the parametric and TR records. The post file is written
// to a temporary file beside the destination and renamed over it only when the run has
// succeeded, so a failed, cancelled or killed run leaves no new file and an existing
// destination untouched. Only a regular file (or a new name) is a destination, and a
// replaced file keeps its permissions.
//
// A run into the source's own name reads the source under its name, holding an exclusive
// lock on it (a second such run of the same file refuses), and only at the end puts the
// backup in place (a hard link, or a copy, under the ".BAK" name) and renames the post file
// over the source: at every moment the recording is under its own name. An existing backup
// is never replaced without its own consent.
//
// Safe to call from a worker thread: it touches no process-wide state (not even the
// current folder). The callbacks below are called on the thread that runs RunFilter.

#include "lmfwin/filter/AFilter.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

namespace lm {

struct FilterRunOptions {
    // Folder that relative file names and the per-folder protocol refer to; empty means
    // the process's current folder.
    std::string workFolder;

    // Report settings of the window: "Make report file", "Common report file" (true) or
    // "Report file in each folder" (false), and the report folder.
    bool makeReport = true;
    bool commonReportFile = false;
    std::string reportFolder;

    // Question 1008 (destination empty or equal to the source): answer true for Yes.
    // Not set means No.
    std::function<bool(const std::string& question)> confirmOverwriteSource;

    // Asked when the backup name of a run into the source is taken (the text names the file):
    // true replaces that file. Not set means No: the run refuses and nothing changes.
    std::function<bool(const std::string& question)> confirmReplaceBackup;

    // Progress of the copy: records handled so far and the total (the progress bar's
    // maximum). Called at regular intervals and once at the end.
    std::function<void(uint64_t done, uint64_t total)> progress;

    // Set from any thread to cancel; the run then fails with message 818 and leaves
    // nothing half-written.
    const std::atomic<bool>* cancel = nullptr;
};

struct FilterRunResult {
    bool endOfDataFound = false;
    uint32_t total = 0;     // "Handling": the reader's record count
    uint32_t written = 0;   // "Accepted": records in the post file
    std::string resultText; // the four lines of the result box (caption 1201)
    std::string sourceName; // the source as the protocol names it (the backup name after a
                            // run into the source)
    std::string destinationName;
    bool protocolWritten = false;
    std::string protocolPath; // the protocol file appended to, when one was chosen
    // Set when a report was asked for but could not be written; shown after the result.
    // The post file stays.
    std::string protocolError;
};

// Runs the filter set. Every fault is thrown as EFilter with its message (a file that is
// not in time order gives message 2001); nothing is written to the protocol then.
FilterRunResult RunFilter(AFilter& filter, const FilterRunOptions& options);

// Whether a run of `filter` would write into its source's own name (destination empty,
// equal to the source, or the same file under another name), so that question 1008 will be
// asked. Lets a window ask on its own thread before it starts the run elsewhere.
bool RunWouldReplaceSource(const AFilter& filter, const std::string& workFolder);

// The four lines of the result text.
std::string FilterResultText(bool endOfDataFound, uint32_t total, uint32_t written);

// The protocol entry of a finished run, dated `date` (UTF-8 text, before any conversion
// to the locale's encoding).
std::string FilterProtocolEntry(const AFilter& filter, const std::string& date,
                                const std::string& resultText);

// Name of the protocol file for the report settings ("" when the common report folder is
// empty); `currentFolder` is the folder of a per-folder report.
std::string FilterProtocolPath(const FilterRunOptions& options, const std::string& currentFolder);

} // namespace lm
