// lmtool filter: batch filtration with a filter file or a filter stored in LMData, and the
// export/import of stored filters as filter files.

#include "lmdata/AFilterDatabase.h"
#include "lmdata/AParamTable.h"
#include "lmdata/LMDatabase.h"
#include "lmfwin/filter/AFilter.h"
#include "lmfwin/filter/ExpressionCheck.h"
#include "lmfwin/filter/FilterFile.h"
#include "lmfwin/filter/FilterMessages.h"
#include "lmfwin/filter/FilterRun.h"
#include "lmfwin/store/StoredFilterControls.h"
#include "lmtool/Command.h"

#include <CLI/CLI.hpp>
#include <atomic>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

using namespace lm;

// Filter files are text shared between machines: their numbers always use '.'.
constexpr FilterNumberFormat kFileNumbers{'.'};

// The controls as a filter to store (the window's "insert"): validated first, as the
// window does, so a filter that would not run is never stored.
StoredFilter StoredOfControls(const FilterControls& c, const ParamLookup& params)
{
    const AFilter validated(c, params, kFileNumbers); // throws EFilter
    return StoredFilterFromControls(c, kFileNumbers);
}

// A stored filter by its FID.
int64_t StoredFilterByFid(AFilterDatabase& filters, int64_t fid)
{
    if (!filters.Header(fid))
        throw std::runtime_error("no stored filter with FID " + std::to_string(fid));
    return fid;
}

// A stored filter by its name, which must be unique.
int64_t StoredFilterByName(AFilterDatabase& filters, const std::string& nameOrFid)
{
    int64_t found = 0;
    for (const FilterHeader& h : filters.Filters()) {
        if (h.name != nameOrFid)
            continue;
        if (found)
            throw std::runtime_error("several stored filters are named '" + nameOrFid + "'; give the FID");
        found = h.fid;
    }
    if (!found)
        throw std::runtime_error("no stored filter named '" + nameOrFid + "'");
    return found;
}

// A stored filter by FID (all digits) or by its unique name.
int64_t ResolveStoredFilter(AFilterDatabase& filters, const std::string& nameOrFid)
{
    int64_t fid = 0;
    const auto [end, ec] = std::from_chars(nameOrFid.data(), nameOrFid.data() + nameOrFid.size(), fid);
    if (ec == std::errc() && end == nameOrFid.data() + nameOrFid.size() && !nameOrFid.empty())
        return StoredFilterByFid(filters, fid);
    return StoredFilterByName(filters, nameOrFid);
}

// Identity of an existing file, or its full name when there is none yet.
struct FileKey {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    std::string name;

    explicit FileKey(const std::string& path)
    {
        struct stat st {};
        if (::stat(path.c_str(), &st) == 0) {
            exists = true;
            device = st.st_dev;
            inode = st.st_ino;
        }
        std::error_code ec;
        name = fs::weakly_canonical(fs::absolute(path, ec), ec).string();
    }
    bool operator==(const FileKey& other) const
    {
        if (exists && other.exists)
            return device == other.device && inode == other.inode;
        return name == other.name;
    }
};

// Checks all pairs of one command before anything is written: two runs into one post file
// would leave only the second result, and a post file over another pair's source would
// replace that recording unasked. Answers the message, or an empty text.
std::string CheckPairs(const std::vector<std::pair<std::string, std::string>>& runs)
{
    std::vector<FileKey> sources;
    for (const auto& run : runs)
        sources.emplace_back(run.first);
    std::vector<FileKey> destinations;
    for (size_t i = 0; i < runs.size(); ++i) {
        // An empty destination is the run's own source (filtered in place).
        const std::string& name = runs[i].second.empty() ? runs[i].first : runs[i].second;
        const FileKey destination(name);
        for (const FileKey& earlier : destinations)
            if (earlier == destination)
                return "two sources would be written to the same post file " + name;
        for (size_t j = 0; j < runs.size(); ++j)
            if (j != i && sources[j] == destination)
                return "the post file " + name + " is the source " + runs[j].first + " of another pair";
        destinations.push_back(destination);
    }
    return {};
}

// Progress on a terminal: a percentage on stderr, erased at the end.
class TerminalProgress {
public:
    explicit TerminalProgress(std::string name) : name_(std::move(name)), enabled_(::isatty(2) == 1) {}
    ~TerminalProgress()
    {
        if (shown_)
            std::fprintf(stderr, "\r\033[K");
    }
    void operator()(uint64_t done, uint64_t total)
    {
        if (!enabled_ || total == 0)
            return;
        const int percent = int(done * 100 / total);
        if (percent == last_)
            return;
        last_ = percent;
        shown_ = true;
        std::fprintf(stderr, "\r%s: %3d%%", name_.c_str(), percent > 100 ? 100 : percent);
        std::fflush(stderr);
    }

private:
    std::string name_;
    bool enabled_;
    bool shown_ = false;
    int last_ = -1;
};

int RunFilterCommand(int argc, char** argv)
{
    CLI::App app{
        "Copies data files into post files, leaving out the hits a filter rejects. The filter comes\n"
        "from a filter file (--filter-file) or from LMData (--filter, --fid, --name). A post file\n"
        "replaces its destination (a regular file) only when the run succeeded. An empty destination,\n"
        "or the source itself, filters into the source's name, keeping the original under its .BAK\n"
        "name: only with --yes, and an existing .BAK file only with --replace-backup."};
    app.name("lmtool filter");
    std::string filterFile, storedFilter, storedName, dbPath, reportDir, outDir, exportFilter, importFile;
    int64_t storedFid = 0;
    bool yes = false, replaceBackup = false;
    bool strict = false;
    std::vector<std::string> files;
    app.add_option("--filter-file", filterFile, "filter file (INI text)");
    app.add_option("--filter", storedFilter, "stored filter: its FID or its name");
    const CLI::Option* fidOption = app.add_option("--fid", storedFid, "stored filter by its FID");
    const CLI::Option* nameOption = app.add_option("--name", storedName, "stored filter by its name");
    app.add_option("--db", dbPath, "LMData database file (default: $LMDATA or the per-user data folder)");
    // Given but empty is still a report asked for: the run then says that none was written.
    const CLI::Option* reportOption =
        app.add_option("--report-dir", reportDir, "append the protocol entry to DIR/Protocol.txt");
    app.add_option("--out-dir", outDir, "write each source's post file into DIR under the source's name");
    app.add_flag("--yes", yes, "answer Yes when the post file would replace its source");
    app.add_flag("--replace-backup", replaceBackup,
                 "let a run into its source replace an existing .BAK file (otherwise refused)");
    app.add_flag("--strict", strict,
                 "refuse a main expression that does not read as typed (ignored characters or operands)");
    app.add_option("--export", exportFilter, "print stored filter FID (or name) as a filter file");
    app.add_option("--import", importFile, "store the filter of a filter file; prints its new FID");
    app.add_option("FILES", files, "SOURCE [DEST] [SOURCE DEST ...], or sources with --out-dir");
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e);
    }

    const int sources = int(!filterFile.empty()) + int(!storedFilter.empty()) + int(fidOption->count() > 0) +
                        int(nameOption->count() > 0);
    const int modes = int(!exportFilter.empty()) + int(!importFile.empty()) + int(sources > 0);
    if (modes != 1 || sources > 1) {
        std::fprintf(stderr, "lmtool filter: give exactly one of --filter-file, --filter, --fid, --name, "
                             "--export, --import\n");
        return 2;
    }

    try {
        // Only --import writes; everything else reads, so a read-only database serves.
        const auto path = LMDatabase::ResolvePath(dbPath);
        LMDatabase db = importFile.empty() ? LMDatabase::OpenForReading(path) : LMDatabase::Open(path);
        AParamTable params(db);
        AFilterDatabase filters(db);

        if (!exportFilter.empty()) {
            const auto stored = filters.Load(ResolveStoredFilter(filters, exportFilter));
            std::cout << WriteFilterFile(ControlsFromStoredFilter(*stored, kFileNumbers));
            return 0;
        }
        if (!importFile.empty()) {
            const StoredFilter stored = StoredOfControls(LoadFilterFile(importFile), params);
            std::cout << filters.Insert(stored) << '\n';
            return 0;
        }

        // The pairs of source and destination.
        std::vector<std::pair<std::string, std::string>> runs;
        if (!outDir.empty()) {
            for (const auto& source : files)
                runs.emplace_back(source, (fs::path(outDir) / fs::path(source).filename()).string());
        } else if (files.size() == 1) {
            runs.emplace_back(files[0], "");
        } else if (files.size() % 2 == 0) {
            for (size_t i = 0; i < files.size(); i += 2)
                runs.emplace_back(files[i], files[i + 1]);
        } else {
            std::fprintf(stderr, "lmtool filter: give SOURCE [DEST], or SOURCE DEST pairs, or --out-dir\n");
            return 2;
        }
        if (runs.empty()) {
            std::fprintf(stderr, "lmtool filter: no source file given\n");
            return 2;
        }
        if (const std::string fault = CheckPairs(runs); !fault.empty()) {
            std::fprintf(stderr, "lmtool filter: %s\n", fault.c_str());
            return 2;
        }

        FilterControls controls;
        if (!filterFile.empty()) {
            controls = LoadFilterFile(filterFile);
        } else {
            const int64_t fid = fidOption->count() > 0    ? StoredFilterByFid(filters, storedFid)
                                : nameOption->count() > 0 ? StoredFilterByName(filters, storedName)
                                                          : ResolveStoredFilter(filters, storedFilter);
            controls = ControlsFromStoredFilter(*filters.Load(fid), kFileNumbers);
        }
        controls.FiltrationPageActive = true;

        // The language skips what it does not know ("A and B" runs as "A"): never silently.
        const std::string& expression = controls.GridExpressions[0];
        if (const ExpressionCheck check = CheckExpression(expression); check.Surprising()) {
            const std::string text = DescribeExpressionCheck(expression, check);
            if (strict) {
                std::fprintf(stderr, "lmtool filter: %s; refused under --strict\n", text.c_str());
                return 1;
            }
            std::fprintf(stderr, "lmtool filter: warning: %s\n", text.c_str());
        }

        int status = 0;
        for (const auto& [source, destination] : runs) {
            try {
                controls.EditSourceFile = source;
                controls.EditPostFile = destination;
                AFilter filter(controls, params, kFileNumbers);
                FilterRunOptions options;
                options.makeReport = reportOption->count() > 0;
                options.commonReportFile = true;
                options.reportFolder = reportDir;
                // --yes answers only the question about the source; an existing backup is
                // replaced only with its own consent.
                options.confirmOverwriteSource = [yes](const std::string&) { return yes; };
                options.confirmReplaceBackup = [replaceBackup](const std::string&) { return replaceBackup; };
                TerminalProgress progress(source);
                options.progress = [&progress](uint64_t done, uint64_t total) { progress(done, total); };
                const FilterRunResult result = RunFilter(filter, options);
                std::cout << result.resultText << std::flush;
                if (!result.protocolError.empty()) {
                    std::fprintf(stderr, "%s\n", result.protocolError.c_str());
                    status = 1;
                }
            } catch (const EFilter& e) {
                std::fprintf(stderr, "%s\n", e.what());
                if (e.MessageId() == kMsgBackupExists)
                    std::fprintf(stderr, "lmtool filter: --replace-backup replaces it\n");
                status = 1;
            } catch (const std::exception& e) {
                std::fprintf(stderr, "%s\n", e.what());
                status = 1;
            }
        }
        return status;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}

} // namespace

LMTOOL_COMMAND(filter, "filter", "filter data files into post files (post-filter)", RunFilterCommand);
